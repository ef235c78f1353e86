#pragma once

#include <QPointer>
#include <QTimer>

class QSettings;

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"

namespace vantor::gui {

class ContactWindow;
class HeaderWindow;
class LogWindow;
class MapWindow;

// The boxes of the running program: before a box opens, every window shows what the screens hold
// at that moment (the missing fields' highlights, say), since the box stops the event loop.
class SyncingDialogs : public Dialogs {
 public:
  SyncingDialogs(Dialogs& boxes, std::function<void()> syncWindows)
      : m_boxes(boxes), m_syncWindows(std::move(syncWindows)) {}
  void showMessage(const Message& message) override;

 protected:
  [[nodiscard]] bool ask(const std::string& question, Answer byDefault) override;

 private:
  Dialogs& m_boxes;
  std::function<void()> m_syncWindows;
};

// The running program: the session and its windows. After every user event in any window all
// windows sync, since one screen's behaviour writes the fields of another.
class Application : public Screens {
 public:
  // Throws LayoutError when the header window's layout does not match its form.
  Application(const Clock& clock, Dialogs& dialogs);
  ~Application() override;

  // Shows the header screen, the start-up window. A log layout that does not match the log form
  // ends the event loop with 1 once that window shows, or throws LayoutError when a resumed log
  // opens at once.
  void start();
  // Opens the logs of EDI files, one band log each (reopenEdi), once the header window shows,
  // with its boxes above it.
  void reopen(std::span<const std::filesystem::path> paths);
  void reopen(const std::filesystem::path& path) { reopen(std::span(&path, 1)); }
  // Opens the files of the command line the same way: a journal (isJournalFile) given alone is
  // resumed by `journal` (Journal::reopen), other files are reopened as EDI files.
  void open(Journal& journal, std::span<const std::filesystem::path> paths);
  void open(Journal& journal, const std::filesystem::path& path) {
    open(journal, std::span(&path, 1));
  }

  // The station's settings are kept in `settings`: those it holds set the rig and the rotator up
  // now, and "Radio e rotore" writes there what the operator sets.
  void keepStationSettings(QSettings& settings);
  // "Radio e rotore": the operator's settings, kept and set up, their first problems told.
  void editStation();
  // The "Rete" settings kept in `settings` (the station's): those it holds start the sharing now.
  void keepNetworkSettings(QSettings& settings);
  // "Rete": the operator's settings, kept and taken.
  void editNetwork();
  // "Importa nominativi": the files the operator picks are imported on the store's thread, with
  // the progress shown and the report told at the end.
  void importStations();
  // "Mappa": the map window, opened or brought forward.
  void showMap();

  [[nodiscard]] Session& session() { return m_session; }
  [[nodiscard]] HeaderWindow& headerWindow() { return *m_headerWindow; }
  // The log window, once the log screen has been shown.
  [[nodiscard]] LogWindow* logWindow() { return m_logWindow.get(); }
  // The correction window, while one is open.
  [[nodiscard]] ContactWindow* contactWindow() { return m_contactWindow; }
  // The map window, while it is open.
  [[nodiscard]] MapWindow* mapWindow();

  void showLog() override;
  void showHeader() override;
  void showContact() override;
  void closeContact() override;
  void syncViews() override { syncAll(); }
  void closeAll() override;

 private:
  void afterUserEvent();
  void syncAll();
  void updateLive();
  void showKnownStations();
  // What came from the other stations, shown; not while a box other than "Rete" is open.
  void pollNetwork();
  void takeNetworkSettings(const NetworkSettings& network);

  // The link's wake-ups come to the windows' thread through this; it goes last, with them.
  QObject m_wakeContext;
  SyncingDialogs m_dialogs;
  Session m_session;
  std::unique_ptr<HeaderWindow> m_headerWindow;
  std::unique_ptr<LogWindow> m_logWindow;
  ContactWindow* m_contactWindow = nullptr;
  // A closed correction window, which goes once the event that closed it is handled, and at the
  // latest before the next one opens: its screen goes after it.
  QPointer<ContactWindow> m_closedContactWindow;
  // Deleted as it closes.
  QPointer<MapWindow> m_mapWindow;
  // Typing that may wait reaches the disk when this runs out.
  QTimer m_journalSync;
  // What the log screen shows live (the UTC clock, the rig and the rotator) follows this, a few
  // times a second.
  QTimer m_liveUpdate;
  QSettings* m_settings = nullptr;
};

}  // namespace vantor::gui
