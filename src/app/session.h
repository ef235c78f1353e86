#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/edi_folder.h"
#include "edi/record_tally.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"
#include "station/station_settings.h"

namespace vantor {

class HeaderForm;
class LogForm;
class StationLink;
class KnownStations;
struct KnownPlaces;
class BearingForm;
class ClubNetwork;
struct NetworkSettings;
class ContactForm;
struct Contact;
class Journal;
class Session;
struct HeaderLinks;
struct LogLinks;
struct ContactLinks;

// The boxes of a session: before one opens, what the operator did so far is on the disk, since
// the box can stay open a long time.
class RecordedDialogs final : public Dialogs {
 public:
  RecordedDialogs(Session& session, Dialogs& boxes) : m_session(session), m_boxes(boxes) {}
  void showMessage(const Message& message) override;

 protected:
  [[nodiscard]] bool ask(const std::string& question, Answer byDefault) override;

 private:
  Session& m_session;
  Dialogs& m_boxes;
};

// Owns the three screens and is the only place where they meet: each screen asks for what it
// needs through its links, which the session connects to the other screens. The header screen
// exists from the start; the log and bearing screens are created, hidden, the first time another
// screen touches them, and the log screen runs its opening steps when it is created.
class Session {
 public:
  Session(const Clock& clock, Dialogs& dialogs, Screens& screens);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  [[nodiscard]] HeaderForm& header();
  [[nodiscard]] LogForm& log();
  [[nodiscard]] BearingForm& bearing();
  [[nodiscard]] bool hasLog() const { return m_log != nullptr; }
  [[nodiscard]] bool hasBearing() const { return m_bearing != nullptr; }
  // The correction screen, while a contact is being corrected; nothing otherwise.
  [[nodiscard]] ContactForm* contact() { return m_contact.get(); }

  [[nodiscard]] const Clock& clock() const { return m_clock; }
  // The boxes the screens open, each after the journal took what came before it.
  [[nodiscard]] Dialogs& dialogs() { return m_dialogs; }
  // The boxes as given, for the journal's own messages and questions.
  [[nodiscard]] Dialogs& unrecordedDialogs() { return m_boxes; }

  // Where the EDI files are written: the Qt program chooses it at start-up (chooseEdiFolder),
  // tests set a temporary one.
  [[nodiscard]] const EdiFolder& ediFolder() const { return m_ediFolder; }
  void setEdiFolder(EdiFolder folder) { m_ediFolder = std::move(folder); }
  // An existing folder, such as the program's own, that is never made by an export.
  void setProgramFolder(std::filesystem::path folder) {
    m_ediFolder = EdiFolder{std::move(folder)};
  }

  // What the exports know of a band log's records, kept from one export to the next.
  [[nodiscard]] RecordTally& recordTally(const std::string& band) { return m_recordTallies[band]; }

  void showLog();
  void showHeader();
  // Opens the correction of a logged contact; one at a time.
  void correctContact(const Contact& contact);
  void closeContact();
  // The one door into the screens for what is not an operator's event on a window: the change
  // runs, the journal takes it at once, and every window shows it.
  void apply(const std::function<void()>& change);
  // Whether the log screen was shown, and so is shown again when a log is resumed.
  [[nodiscard]] bool logShown() const { return m_logShown; }
  void restoreLogShown(bool shown) { m_logShown = shown; }

  // The log kept on disk, once the program has one: every operator action is written to it, and
  // a clean end marks it finished.
  void keepJournal(Journal* journal) { m_journal = journal; }
  // After every operator action; true when some of it waits to reach the disk (at most a second:
  // the view then calls syncRecordedChanges).
  bool recordChanges();
  void syncRecordedChanges();
  // Everything changed so far reaches the disk now: a box is about to open.
  void recordBeforeBox();
  // "Chiudi" on either screen, or closing a window through its frame. When the log holds
  // contacts not yet written to an EDI file the operator is asked first; returns whether the
  // program ends.
  bool close();
  // The bearing screen's "Exit": only that screen closes; touching it again creates it anew.
  void closeBearing();
  [[nodiscard]] bool ended() const { return m_ended; }
  // A contest pick that changes the contest while logs hold contacts asks first; on "Sì" the
  // logs go aside with the journal and the new contest starts with empty ones.
  bool changeContest();

  // The rig and the rotator: set up (a device not configured stays off; none is opened before
  // this), and what they report shown on the log screen. `tell` has the first problem of each
  // device set up told, as after the operator's own settings.
  void configureStation(const StationSettings& settings, bool tell);
  [[nodiscard]] const StationSettings& stationSettings() const { return m_stationSettings; }
  // The view's poll, a few times a second: cheap, never waits on the hardware.
  void pollStation();

  // The known stations, kept at `places`: nothing is opened before startKnownStations, which the
  // view calls once the first window is up; the store then opens on its own thread.
  void keepKnownStations(const KnownPlaces& places);
  void startKnownStations();
  // Nothing when the program keeps no known stations.
  [[nodiscard]] KnownStations* knownStations() { return m_known.get(); }
  // An EDI file written or reopened: its stations become known.
  void learnStations(const std::filesystem::path& file);

  // A contest shared with other PCs (see ClubNetwork), kept in `folder` beside the journal. The
  // settings start it, or stop it when they name no station; `wakeUp` has the view poll at once.
  void keepNetworkFolder(std::filesystem::path folder) { m_networkFolder = std::move(folder); }
  void configureNetwork(const NetworkSettings& settings, std::function<void()> wakeUp);
  // Nothing while the program works alone.
  [[nodiscard]] ClubNetwork* network() { return m_network.get(); }
  // The view's poll, a few times a second and at each wake-up: what arrived is shown.
  void pollNetwork();

 private:
  HeaderLinks headerLinks();
  LogLinks logLinks();
  ContactLinks contactLinks();

  const Clock& m_clock;
  Dialogs& m_boxes;
  RecordedDialogs m_dialogs;
  Screens& m_screens;
  std::unique_ptr<HeaderForm> m_header;
  std::unique_ptr<LogForm> m_log;
  std::unique_ptr<BearingForm> m_bearing;
  std::unique_ptr<ContactForm> m_contact;
  // The correction screen closed last, kept until the next opens: its window may still be
  // handling the event that closed it.
  std::unique_ptr<ContactForm> m_closedContact;
  EdiFolder m_ediFolder{"."};
  std::map<std::string, RecordTally> m_recordTallies;
  bool m_ended = false;
  bool m_logShown = false;
  Journal* m_journal = nullptr;
  StationSettings m_stationSettings;
  // Made when a device is first configured: its worker thread talks to the hardware.
  std::unique_ptr<StationLink> m_station;
  std::unique_ptr<KnownStations> m_known;
  std::filesystem::path m_networkFolder;
  // Last, so it goes first: it works on the screens.
  std::unique_ptr<ClubNetwork> m_network;
};

}  // namespace vantor
