#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contact.h"
#include "contest/contact_rules.h"
#include "contest/contact_time.h"
#include "contest/log_document.h"
#include "form/button.h"
#include "form/choice_list.h"
#include "form/field.h"
#include "form/form.h"
#include "form/label.h"
#include "form/list_field.h"
#include "form/toggle.h"
#include "log/band_log.h"
#include "log/contact_form.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "station/station_link.h"
#include "station/station_settings.h"

namespace vantor {

// The call field's duplicate mark. The call text shows it as its colour: the window-text colour
// before the field was first edited, the button-text colour for a call not found in the log, red
// for a call found there. Insertion writes no line, a normal line or a duplicate line for it.
enum class DuplicateMark { None, NotDuplicate, Duplicate };

// The days a contest runs, YYMMDD.
struct ContestDays {
  std::string first;
  std::string last;
};

// What the log screen asks of the rest of the program.
struct LogLinks {
  // The calculator's distance in km from the home locator to a valid locator; nothing when the
  // calculator gives none.
  std::function<std::optional<double>(const std::string& locator)> distanceTo;
  // The calculator's home locator, which the contacts are measured from.
  std::function<std::string()> homeLocator;
  std::function<void()> back;
  std::function<void()> close;
  std::function<void()> exportLog;
  // Opens the correction of a logged contact.
  std::function<void(const Contact& contact)> correctContact;
  // The bands the contest offers, in the header's order, and the header's pick of one of them.
  std::function<std::vector<std::string>()> offeredBands;
  std::function<void(const std::string& band)> pickBand;
  // Turns the antenna to a bearing in degrees, or stops it.
  std::function<void(int bearing)> turnAntenna;
  std::function<void()> stopAntenna;
  // The contest's first and last day as the header gives them (YYMMDD), each empty when the
  // header does not give it as a date.
  std::function<ContestDays()> contestDays;
  // Up to `limit` known calls that hold a fragment (upper case), those beginning with it first;
  // and the locators a call was heard from, the latest first. Both empty while nothing is known.
  std::function<std::vector<std::string>(const std::string& fragment, std::size_t limit)>
      knownCalls;
  std::function<std::vector<std::string>(const std::string& call)> knownLocators;
};

// What the log screen shows again when a log is resumed from its EDI file.
struct ResumedLog {
  std::string text;
  std::string serialSent;  // the number of the next contact, "001" before the first
  // The mode of the last contact; nothing when its code is none of the mode list's.
  const Mode* mode = nullptr;
};

// The log screen: the entry row of the current contact, the statistics rows (ODX, average,
// total), the log buffer and the buttons. Created hidden the first time another screen touches
// it, when it runs its opening steps.
class LogForm : public Form {
 public:
  LogForm(const Clock& clock, Dialogs& dialogs, LogLinks links);

  // What the header screen's choices set here. A hidden Sicily box is also unticked: otherwise
  // contacts of another contest would go on being doubled with nothing on screen to show it.
  void offerSicilyDoubling(bool offered);
  void askReceivedSerial(bool asked) { serialReceivedField.setVisible(asked); }
  // The header's band pick: the band `band` (its code `code`) is logged from now on, in its own
  // log. A log begun before any band was picked becomes that band's.
  void logBand(const std::string& band, std::string_view code);
  // The band `step` places after (or before) the one logged among the bands the contest offers,
  // picked as on the header screen; the first or the last when the logged one is none of them.
  void stepBand(int step);
  // A new contest: every band log is emptied and only the one logged is kept, with nothing to save.
  void startNewContest();
  // "Avanti -->": the contacts from now on are dated `date` (YYMMDD) and measured from the
  // calculator's home locator.
  void proceed(std::string_view date);
  // The statistics rows show the records' statistics, measured from the calculator's home, and the
  // summary its own.
  void showStatistics();
  void focusCall() { requestFocus(callsignField); }
  // A second went by: the clock shows the time, and the rate is counted again when the minute
  // changed.
  void tick();
  // What the rig and the rotator report, shown: the frequency on the air (the rig's with the
  // logged band's transverter offset, marked when outside the band), the rig's mode picked in the
  // mode list when it changes, the antenna's heading. True when the mode list took a mode.
  bool showStation(const StationReading& reading, const StationSettings& settings);
  // The station was set up anew: the first problem of a device it names is told.
  void expectStation(const StationSettings& settings);
  // The antenna's heading in degrees while the rotator answers.
  [[nodiscard]] std::optional<double> antennaHeading() const;
  // Turns the antenna to `bearing` degrees; false, and nothing turned, while the rotator does not
  // answer.
  bool turnAntennaTo(int bearing);
  static constexpr std::string_view kRotatorAbsent =
      "Il rotore non è collegato: configurarlo in \"Radio e rotore\"";
  // The calculator's home locator, which the contacts are measured from.
  [[nodiscard]] std::string homeLocator() const;

  // The partial check: from the call's third character, the known calls and the calls of the
  // contest's logs that hold it, those beginning with it first; the ones worked on the logged
  // band are marked.
  static constexpr std::size_t kPartialCheckLines = 30;
  // Up and Down in the call field walk the partial check; Enter takes its current call.
  void stepPartialCheck(int step) { partialList.step(step); }
  // Up and Down in the locator field show the call's other known locators.
  void stepSuggestion(int step);
  // Tab in the locator field: a suggested locator becomes the operator's.
  void confirmSuggestion();
  // Whether the locator field shows a locator the program suggested, which the operator has not
  // typed or confirmed; shown grey. The insertion takes it as the field shows it.
  [[nodiscard]] bool locatorSuggested() const { return m_locatorSuggested; }
  static constexpr Color kSuggestionColor = Color::rgb(128, 128, 128);

  Field serialSentField{"Text1", "001"};
  Field bandField{"Text2", "Text2"};
  ListField modeList{"Combo1", "SSB"};
  Field dateField{"Text4"};
  Field timeField{"Text5"};
  Field callsignField{"Text6"};
  Field rstField{"Text7", "59"};
  Field serialReceivedField{"Text8"};
  Field locatorField{"Text9"};
  Field qrbField{"Text10"};
  // The bearing from the home locator, in whole degrees: where to turn the antenna.
  Field qtfField{"Text16"};
  // "Auto" is ticked at start with "UTC", so a new log's contacts carry UTC without a click.
  Toggle autoTimeBox{"Check2", "Auto", Toggle::Kind::CheckBox, true};
  Toggle sicilyDoublingBox{"Check1", "Auto x2 Sicilia", Toggle::Kind::CheckBox};
  Toggle plusOneOption{"Option1", "+1 GMT", Toggle::Kind::OptionButton};
  Toggle plusTwoOption{"Option2", "+2 GMT", Toggle::Kind::OptionButton};
  Toggle utcOption{"Option3", "UTC", Toggle::Kind::OptionButton, true};
  // The current UTC time, ticking: shown only, never kept.
  Field utcClockField{"Text17"};
  // The rig's frequency on the air in MHz and the antenna's heading in degrees, live like the
  // clock: "scollegato" while the device does not answer.
  Field frequencyField{"Text18"};
  Field headingField{"Text19"};
  // Turns the antenna to the QTF of the locator typed, or of the contact at the log's caret.
  Button turnButton{"Command5", "Punta"};
  Button stopButton{"Command6", "Ferma"};
  Field odxCallField{"Text11"};
  Field odxLocatorField{"Text3"};
  Field odxDistanceField{"Text12"};
  Field averageField{"Text13"};
  Toggle inContestBox{"Check3", "In contest", Toggle::Kind::CheckBox, true};
  Button insertButton{"Command1", "Inserisci"};
  Field totalField{"Text14"};
  Label saveMessageLabel{"Label1"};
  Button backButton{"Command3", "<-- Indietro"};
  Button closeButton{"Command4", "Chiudi"};
  Button exportButton{"Command2", "Genera EDI"};
  ChoiceList partialList{"List1"};
  // "nuovo quadrato" while the locator typed is the first of its square in the logged band's log.
  Label newSquareLabel{"Label2"};
  // The logged band's summary: the contacts of the last 10 and 60 minutes, the squares worked, the
  // contacts and their points. Shown only, never kept, like the clock.
  Field tenMinutesField{"Text20"};
  Field sixtyMinutesField{"Text21"};
  Field squaresField{"Text22"};
  Field bandContactsField{"Text23"};
  Field bandPointsField{"Text24"};

  [[nodiscard]] std::vector<Control*> controls() override;
  // Every control but the log buffer, which its band log keeps, and those shown live or worked
  // out from the log: the clock, the station, the new-square label and the summary.
  [[nodiscard]] std::vector<Control*> keptControls() override;

  // No contest has more bands than this; a kept state that names more is no state of this screen.
  static constexpr std::size_t kMostBandLogs = 26;

  // The log buffer of the band logged, "Text15".
  [[nodiscard]] Field& logBuffer() { return band().buffer; }
  // The band log shown and the others, in the order they were first logged.
  [[nodiscard]] BandLog& band() { return *m_bands[m_current]; }
  [[nodiscard]] std::size_t bandCount() const { return m_bands.size(); }
  [[nodiscard]] BandLog& bandAt(std::size_t index) { return *m_bands.at(index); }
  // Brings a band's log on the screen as the header's band pick does, the header left as it is.
  void showBand(const std::string& band);
  // Whether any band log holds a record.
  [[nodiscard]] bool holdsContacts();

  [[nodiscard]] DuplicateMark duplicateMark() const { return m_mark; }

  // Whether a band log holds text not yet written to an EDI file in this run.
  [[nodiscard]] bool hasUnsavedContacts() const;

  void saveFormState(ControlState& state) const override;
  void restoreFormState(StateReader& state) override;

  // The logged band's lines, records and score.
  [[nodiscard]] LogDocument& document() { return band().document(); }
  // The same, measured from the calculator's home locator.
  LogDocument& measuredDocument();
  // The export wrote a band log's text with `edits` made to a file: the buffer takes them, and the
  // label says where once the logged band's file is written.
  void takeExport(BandLog& log, std::span<const TextEdit> edits);
  void showSaved(std::string_view savedLabel) { saveMessageLabel.setText(savedLabel); }
  // The log of an EDI file, all of it already saved there: the buffer, the statistics rows, the
  // next serial number, and the mode (picked, with its report) the last contact was made in.
  void resume(const ResumedLog& log);
  // A log set whole by a journal restore, which runs no behaviour: it is read at once, so that the
  // first keystroke in the call field after a resume does not wait for it, and the summary and
  // the new-square label, which the journal does not keep, show it.
  void takeRestoredLog() { showStatistics(); }

  // Applies a correction with the insertion's checks: false, and the operator told why, when one
  // fails or the contact is gone.
  [[nodiscard]] bool correct(const ContactCorrection& correction);
  // Takes a logged contact out of the log.
  void removeContact(ContactId id);

  // The log of `band`, made (not shown) when the contest has none yet; the log begun before any
  // band was picked, while it holds no record, becomes it.
  BandLog& bandLog(const std::string& band);
  // The marks of a log made right after its records changed: the first record of each call of
  // `calls` the contact and every later one a duplicate, then the new squares.
  void remark(BandLog& log, const std::vector<std::string>& calls);
  // A contact numbered `serial` was logged in `log` elsewhere: the log's next serial follows it.
  void followSerial(BandLog& log, int serial);

 private:
  void open();
  void callChanged();
  void locatorChanged();
  void modePicked();
  void autoTimeClicked();
  void insert();

  void openContact();
  BandLog& addBand(std::string band);
  void retireLastBand();
  void switchTo(std::size_t index);
  void restoreBands(StateReader& state);

  void setMark(DuplicateMark mark);
  // The reference the time options pick; nothing when none is picked.
  [[nodiscard]] std::optional<TimeReference> timeReference() const;
  // Whether "Auto" wrote the time and date.
  bool writeAutomaticTime();
  void showSummary(const Statistics& statistics);
  // The contacts of the last 10 and 60 minutes up to rateMinute.
  void showRate();
  [[nodiscard]] std::int64_t rateMinute() const;
  void showNewSquare();
  void warnOutsideContestDays(const std::string& date);
  bool showLinkState(Field& field, LinkState state, const std::string& problem, bool& tellProblem);
  void showRig(const RigReading& rig, const StationSettings& settings);
  bool takeRigMode(const RigReading& rig);
  void showRotator(const RotatorReading& rotator);
  void turnAntenna();
  [[nodiscard]] std::optional<int> antennaTarget();
  [[nodiscard]] std::optional<double> contactDistance(const std::string& locator);
  [[nodiscard]] std::optional<double> checkedDistance(const EntryRow& row,
                                                      const std::string& locator);
  void markDuplicates(const std::string& oldCall, const std::string& newCall);
  void appendContact(const std::string& points);
  void clearEntryRow();
  void tell(std::string_view message);
  void showPartialCheck();
  void takePartialChoice();
  void suggestLocator();
  [[nodiscard]] std::vector<std::string> loggedLocators(const std::string& call);
  void showSuggestion(std::size_t index);
  void dropSuggestion();
  void takeTypedLocator();

  const Clock& m_clock;
  Dialogs& m_dialogs;
  LogLinks m_links;
  DuplicateMark m_mark = DuplicateMark::None;
  // "1" or "2" from the last insertion with "SSB" or "CW", empty before the first: an insertion
  // with another (typed) mode keeps it.
  std::string_view m_modeCode;
  // The minute the rate was last counted at.
  std::int64_t m_rateMinute = 0;
  std::vector<std::unique_ptr<BandLog>> m_bands;
  std::size_t m_current = 0;
  // Band logs a new contest or a restore let go, emptied. A window may still show their buffers,
  // so they live as long as the screen, and the next band log needed is one of them.
  std::vector<std::unique_ptr<BandLog>> m_retired;
  // The rig's frequency on the air while it answers, 0 otherwise; the contacts logged carry it.
  std::int64_t m_frequencyHz = 0;
  // The rig's mode last taken into the mode list: a later pick of the operator stays until the
  // rig's mode changes.
  std::string m_rigMode;
  bool m_rotatorAnswers = false;
  double m_heading = 0;
  // Devices just set up whose first problem is told.
  bool m_tellRigProblem = false;
  bool m_tellRotatorProblem = false;
  // The known locators of the call typed, the latest first, and the one the field suggests.
  std::vector<std::string> m_suggestions;
  std::size_t m_suggestion = 0;
  bool m_locatorSuggested = false;
  // Set while the program writes a suggestion, which is not the operator's typing.
  bool m_writingSuggestion = false;
};

}  // namespace vantor
