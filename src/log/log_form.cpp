#include "log/log_form.h"

#include <string_view>
#include <utility>

#include "form/text.h"
#include "geo/locator.h"
#include "contest/contact_time.h"
#include "contest/contact_rules.h"
#include "contest/qso_line.h"
#include "contest/serial_number.h"

namespace vantor {

namespace {

Color markColor(DuplicateMark mark) {
  switch (mark) {
    case DuplicateMark::NotDuplicate:
      return Color::buttonText();
    case DuplicateMark::Duplicate:
      return colors::red;
    case DuplicateMark::None:
      break;
  }
  return Color::windowText();
}

}  // namespace

LogForm::LogForm(const Clock& clock, Dialogs& dialogs, LogLinks links)
    : m_clock(clock), m_dialogs(dialogs), m_links(std::move(links)) {
  bandField.setLocked(true);
  qrbField.setLocked(true);
  sicilyDoublingBox.setVisible(false);
  plusOneOption.setVisible(false);
  plusTwoOption.setVisible(false);
  Toggle::groupOptions({&plusOneOption, &plusTwoOption});

  callsignField.onChange([this] { callChanged(); });
  locatorField.onChange([this] { locatorChanged(); });
  modeList.onPick([this] { modePicked(); });
  autoTimeBox.onClick([this] { autoTimeClicked(); });
  logBuffer.onChange([this] {
    m_unsaved = !logBuffer.text().empty();
    followLogBuffer();
  });
  insertButton.onPress([this] { insert(); });
  // Enter anywhere in the entry row logs the contact, as "Inserisci" does.
  for (Field* entry :
       {&dateField, &timeField, &callsignField, &rstField, &serialReceivedField, &locatorField}) {
    entry->onEnter([this] { insertButton.press(); });
  }
  backButton.onPress([this] { m_links.back(); });
  closeButton.onPress([this] { m_links.close(); });
  // Written or refused, the export leaves the operator ready for the next call.
  exportButton.onPress([this] {
    m_links.exportLog();
    focusCall();
  });

  open();
}

void LogForm::open() {
  std::vector<std::string> modeNames;
  for (const Mode& mode : modes) {
    modeNames.emplace_back(mode.name);
  }
  modeList.setItems(modeNames);
  // The local time as it stands: the offset options apply only while a call is typed.
  timeField.setText(timeText(m_clock.now()));
}

void LogForm::offerSicilyDoubling(bool offered) {
  sicilyDoublingBox.setVisible(offered);
  if (!offered) {
    sicilyDoublingBox.setChecked(false);
  }
}

void LogForm::saveFormState(ControlState& state) const {
  writeNumber(state, static_cast<std::size_t>(m_mark));
  state.emplace_back(m_modeCode);
  writeFlag(state, m_unsaved);
}

void LogForm::restoreFormState(StateReader& state) {
  const std::size_t mark = state.number();
  if (mark > static_cast<std::size_t>(DuplicateMark::Duplicate)) {
    throw StateError("not a duplicate mark");
  }
  m_mark = static_cast<DuplicateMark>(mark);
  const std::string& code = state.text();
  m_modeCode = {};
  for (const Mode& mode : modes) {
    if (mode.code == code) {
      m_modeCode = mode.code;
    }
  }
  m_unsaved = state.flag();
}

LogScore LogForm::score() const {
  return LogScore{serialSentField.text(), totalField.text(), odxCallField.text(),
                  odxLocatorField.text(), odxDistanceField.text()};
}

void LogForm::takeExport(std::span<const TextEdit> edits, std::string_view savedLabel) {
  logBuffer.applyEdits(edits);
  markSaved();
  saveMessageLabel.setText(savedLabel);
}

void LogForm::resume(const ResumedLog& log) {
  logBuffer.setText(log.logBuffer);
  indexLog();
  markSaved();
  serialSentField.setText(log.score.serialSent);
  totalField.setText(log.score.total);
  odxCallField.setText(log.score.odxCall);
  odxLocatorField.setText(log.score.odxLocator);
  odxDistanceField.setText(log.score.odxDistance);
  averageField.setText(log.average);
  if (log.mode != nullptr) {
    modeList.pickText(log.mode->name);
    m_modeCode = log.mode->code;
  }
}

void LogForm::callChanged() {
  setMark(DuplicateMark::NotDuplicate);
  // The write-back runs this behaviour again for the upper-case text, which does the rest.
  if (callsignField.writeUpperCase()) {
    return;
  }
  writeAutomaticTime();
  if (loggedCalls().holds(callsignField.text())) {
    setMark(DuplicateMark::Duplicate);
  }
}

void LogForm::locatorChanged() {
  if (locatorField.writeUpperCase()) {
    return;
  }
  if (charCount(locatorField.text()) == 6) {
    const std::optional<double> distance = contactDistance(locatorField.text());
    qrbField.setText(distance ? formatNumber(*distance) : std::string());
  }
}

void LogForm::modePicked() {
  if (const Mode* mode = findMode(modeList.text())) {
    rstField.setText(mode->rst);
  }
}

void LogForm::autoTimeClicked() {
  plusOneOption.setVisible(true);
  plusTwoOption.setVisible(true);
}

// The index follows each change of the buffer while it can; a change it cannot follow (a text
// replaced whole) has it rebuilt at the next duplicate test, not at once.
void LogForm::followLogBuffer() {
  const Field::Change& change = logBuffer.lastChange();
  if (m_indexedRewrites == change.rewritesBefore &&
      m_loggedCalls.follow(logBuffer.text(), change)) {
    m_indexedRewrites = logBuffer.rewrites();
  }
}

CallIndex& LogForm::loggedCalls() {
  if (m_indexedRewrites != logBuffer.rewrites()) {
    m_loggedCalls.rebuild(logBuffer.text());
    m_indexedRewrites = logBuffer.rewrites();
  }
  return m_loggedCalls;
}

void LogForm::setMark(DuplicateMark mark) {
  m_mark = mark;
  callsignField.setTextColor(markColor(mark));
}

// With "Auto" and an offset the contact gets the GMT time of the moment the call was last
// changed, and the date of that same moment: just after local midnight that is the day before.
void LogForm::writeAutomaticTime() {
  if (!autoTimeBox.checked()) {
    return;
  }
  const int offset = plusOneOption.checked() ? 1 : plusTwoOption.checked() ? 2 : 0;
  if (offset == 0) {
    return;
  }
  const LocalDateTime gmt = hoursEarlier(m_clock.now(), offset);
  timeField.setText(timeText(gmt));
  dateField.setText(dateText(gmt));
}

// The QRB of a contact in `locator`; a distance of 0 counts as 1. Nothing when the locator is not
// a valid one or the calculator gives no distance.
std::optional<double> LogForm::contactDistance(const std::string& locator) {
  if (!isValidLocator(locator)) {
    return std::nullopt;
  }
  const std::optional<double> kilometres = m_links.distanceTo(locator);
  if (!kilometres) {
    return std::nullopt;
  }
  return countedDistance(*kilometres);
}

void LogForm::tell(std::string_view message) {
  m_dialogs.showMessage(Message{std::string(message)});
}

void LogForm::insert() {
  const std::optional<double> distance = checkedDistance();
  if (!distance) {
    return;
  }
  const int serial = readSerialNumber(serialSentField.text()).value_or(kLastSerialNumber);
  const double factor = sicilyDoublingBox.checked() ? sicilianFactor(callsignField.text()) : 1;
  qrbField.setText(formatNumber(*distance * factor));
  if (m_mark != DuplicateMark::Duplicate) {
    updateStatistics(*distance);
  }
  if (const Mode* mode = findMode(modeList.text())) {
    m_modeCode = mode->code;
  }
  appendContact();
  if (serial < kLastSerialNumber) {
    serialSentField.setText(serialNumberText(serial + 1));
  }
  clearEntryRow();
}

// The contact's distance once the entry row passed every check; each failed check is told.
std::optional<double> LogForm::checkedDistance() {
  const EntryRow row{
      .time = timeField.text(),
      .date = dateField.text(),
      .serialSent = serialSentField.text(),
      .call = callsignField.text(),
      .rst = rstField.text(),
      .serialReceived = serialReceivedField.text(),
      .serialReceivedShown = serialReceivedField.visible(),
  };
  if (const auto problem = entryRowProblem(row)) {
    tell(*problem);
    return std::nullopt;
  }
  const std::optional<double> distance = contactDistance(locatorField.text());
  if (!distance) {
    tell("Locatore non valido");
  }
  return distance;
}

void LogForm::clearEntryRow() {
  callsignField.clear();
  serialReceivedField.clear();
  locatorField.clear();
  qrbField.clear();
  if (inContestBox.checked()) {
    requestFocus(callsignField);
  } else {
    timeField.clear();
    requestFocus(timeField);
  }
}

// The ODX row keeps the contact's real distance, so a doubled Sicilian contact neither shows
// twice its distance there nor wins the comparison by its doubling; the total counts the points.
void LogForm::updateStatistics(double distance) {
  const ShownStatistics shown{serialSentField.text(), odxDistanceField.text(), totalField.text(),
                              loggedCalls().contacts()};
  const StatisticsStep step = nextStatistics(shown, distance, qrbField.text());
  if (step.replacesOdx) {
    replaceOdx(distance);
  }
  totalField.setText(step.total);
  averageField.setText(step.average);
}

void LogForm::replaceOdx(double distance) {
  odxLocatorField.setText(locatorField.text());
  odxCallField.setText(callsignField.text());
  odxDistanceField.setText(formatNumber(distance));
}

// The line the call field's mark asks for: none before the call was first edited.
void LogForm::appendContact() {
  if (m_mark == DuplicateMark::None) {
    return;
  }
  QsoLine line{
      .kind = m_mark == DuplicateMark::Duplicate ? QsoLine::Kind::Duplicate : QsoLine::Kind::Normal,
      .date = dateField.text(),
      .time = timeField.text(),
      .call = callsignField.text(),
      .modeCode = std::string(m_modeCode),
      .rst = rstField.text(),
      .sentNumber = serialSentField.text(),
      .receivedNumber = serialReceivedField.text(),
      .locator = locatorField.text(),
      .points = qrbField.text(),
  };
  appendQsoLine(logBuffer, line);
  if (line.kind == QsoLine::Kind::Duplicate) {
    tell("Inserito un duplicato");
  }
}

std::vector<Control*> LogForm::controls() {
  return {&serialSentField,  &bandField,     &modeList,         &dateField,
          &timeField,        &callsignField, &rstField,         &serialReceivedField,
          &locatorField,     &qrbField,      &autoTimeBox,      &sicilyDoublingBox,
          &plusOneOption,    &plusTwoOption, &odxCallField,     &odxLocatorField,
          &odxDistanceField, &averageField,  &inContestBox,     &insertButton,
          &totalField,       &logBuffer,     &saveMessageLabel, &backButton,
          &closeButton,      &exportButton};
}

}  // namespace vantor
