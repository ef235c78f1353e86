#include "log/log_form.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "contest/contact_time.h"
#include "contest/serial_number.h"
#include "form/text.h"
#include "geo/locator.h"

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
  for (Field* shown : {&bandField, &qrbField, &qtfField, &odxCallField, &odxLocatorField,
                       &odxDistanceField, &averageField, &totalField, &utcClockField,
                       &frequencyField, &headingField, &tenMinutesField, &sixtyMinutesField,
                       &squaresField, &bandContactsField, &bandPointsField}) {
    shown->setLocked(true);
  }
  sicilyDoublingBox.setVisible(false);
  Toggle::groupOptions({&plusOneOption, &plusTwoOption, &utcOption});

  callsignField.onChange([this] { callChanged(); });
  locatorField.onChange([this] { locatorChanged(); });
  modeList.onPick([this] { modePicked(); });
  autoTimeBox.onClick([this] { autoTimeClicked(); });
  addBand({});
  insertButton.onPress([this] { insert(); });
  // Enter anywhere in the entry row or the statistics rows logs the contact, as "Inserisci" does.
  for (Field* entry :
       {&dateField, &timeField, &rstField, &serialReceivedField, &locatorField, &odxCallField,
        &odxLocatorField, &odxDistanceField, &averageField, &totalField}) {
    entry->onEnter([this] { insertButton.press(); });
  }
  // Enter on a call the operator walked to in the partial check takes it instead.
  callsignField.onEnter([this] {
    if (partialList.current()) {
      partialList.take(*partialList.current());
    } else {
      insertButton.press();
    }
  });
  partialList.onTake([this] { takePartialChoice(); });
  turnButton.onPress([this] { turnAntenna(); });
  stopButton.onPress([this] { m_links.stopAntenna(); });
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
  if (!writeAutomaticTime()) {
    timeField.setText(timeText(m_clock.now()));
  }
  tick();
}

// With "Auto" the date is the clock's, not the contest's first day: a log reopened after
// midnight goes on with the day it is.
void LogForm::proceed(std::string_view date) {
  dateField.setText(date);
  writeAutomaticTime();
  showStatistics();
}

void LogForm::tick() {
  utcClockField.setText(clockText(m_clock.utcNow()));
  if (rateMinute() != m_rateMinute) {
    showRate();
  }
}

void LogForm::offerSicilyDoubling(bool offered) {
  sicilyDoublingBox.setVisible(offered);
  if (!offered) {
    sicilyDoublingBox.setChecked(false);
  }
}

BandLog& LogForm::addBand(std::string band) {
  if (!m_retired.empty()) {
    BandLog& log = *m_bands.emplace_back(std::move(m_retired.back()));
    m_retired.pop_back();
    log.name(std::move(band));
    log.serialSent = serialNumberText(1);
    log.savedLabel.clear();
    log.unsaved = false;
    return log;
  }
  BandLog& log = *m_bands.emplace_back(std::make_unique<BandLog>(std::move(band)));
  log.document().onChange([this, &log] {
    log.unsaved = !log.buffer.text().empty();
    if (&log == &this->band()) {
      showStatistics();
    }
  });
  log.buffer.onOpen([this] { openContact(); });
  return log;
}

void LogForm::logBand(const std::string& band, std::string_view code) {
  if (this->band().band().empty()) {
    this->band().name(band);
  } else {
    showBand(band);
  }
  bandField.setText(code);
}

void LogForm::showBand(const std::string& band) {
  for (std::size_t index = 0; index < m_bands.size(); ++index) {
    if (m_bands[index]->band() == band) {
      switchTo(index);
      return;
    }
  }
  addBand(band);
  switchTo(m_bands.size() - 1);
}

// The band log shown changes: the serial and the label are the new band's, the entry row is
// cleared, and the statistics rows are its own.
void LogForm::switchTo(std::size_t index) {
  if (index == m_current) {
    return;
  }
  band().serialSent = serialSentField.text();
  band().savedLabel = saveMessageLabel.text();
  m_current = index;
  serialSentField.setText(band().serialSent);
  saveMessageLabel.setText(band().savedLabel);
  clearEntryRow();
  showStatistics();
}

void LogForm::stepBand(int step) {
  const std::vector<std::string> bands = m_links.offeredBands();
  if (bands.empty()) {
    return;
  }
  const auto shown = std::find(bands.begin(), bands.end(), band().band());
  std::size_t next = step > 0 ? 0 : bands.size() - 1;
  if (shown != bands.end()) {
    const auto at = static_cast<std::ptrdiff_t>(shown - bands.begin()) + step;
    next = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(at, 0, static_cast<std::ptrdiff_t>(bands.size()) - 1));
  }
  if (bands[next] != band().band()) {
    m_links.pickBand(bands[next]);
  }
}

// The band log shown has to be the first: the last one goes, emptied.
void LogForm::retireLastBand() {
  m_retired.push_back(std::move(m_bands.back()));
  m_bands.pop_back();
  m_retired.back()->buffer.clear();
}

void LogForm::startNewContest() {
  std::swap(m_bands.front(), m_bands[m_current]);
  m_current = 0;
  while (m_bands.size() > 1) {
    retireLastBand();
  }
  BandLog& kept = band();
  kept.buffer.clear();
  kept.unsaved = false;
  serialSentField.setText(serialNumberText(1));
  saveMessageLabel.clear();
  clearEntryRow();
  showStatistics();
}

bool LogForm::holdsContacts() {
  return std::any_of(m_bands.begin(), m_bands.end(),
                     [](const std::unique_ptr<BandLog>& log) { return log->holdsRecords(); });
}

bool LogForm::hasUnsavedContacts() const {
  return std::any_of(m_bands.begin(), m_bands.end(),
                     [](const std::unique_ptr<BandLog>& log) { return log->unsaved; });
}

// The band logs: which is shown, and of each its band, next serial, label and whether it is
// saved.
void LogForm::saveFormState(ControlState& state) const {
  writeNumber(state, static_cast<std::size_t>(m_mark));
  state.emplace_back(m_modeCode);
  writeNumber(state, m_current);
  writeNumber(state, m_bands.size());
  for (const auto& log : m_bands) {
    state.push_back(log->band());
    state.push_back(log->serialSent);
    state.push_back(log->savedLabel);
    writeFlag(state, log->unsaved);
  }
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
  if (state.format() < 3) {
    band().unsaved = state.flag();
    return;
  }
  restoreBands(state);
}

// Band logs beyond those the state names are let go; those it names take their band and state.
void LogForm::restoreBands(StateReader& state) {
  const std::size_t current = state.number();
  const std::size_t count = state.number();
  if (count == 0 || current >= count || count > kMostBandLogs) {
    throw StateError("no band log shown, or more band logs than bands");
  }
  m_current = 0;
  while (m_bands.size() > count) {
    retireLastBand();
  }
  for (std::size_t index = 0; index < count; ++index) {
    std::string band = state.text();
    BandLog& log = index < m_bands.size() ? *m_bands[index] : addBand({});
    log.name(std::move(band));
    log.serialSent = state.text();
    log.savedLabel = state.text();
    log.unsaved = state.flag();
  }
  m_current = current;
}

void LogForm::takeExport(BandLog& log, std::span<const TextEdit> edits) {
  log.buffer.applyEdits(edits);
  log.unsaved = false;
}

void LogForm::resume(const ResumedLog& log) {
  // Measured from the home they are shown from, the records are read once.
  static_cast<void>(measuredDocument());
  logBuffer().setText(log.text);
  band().unsaved = false;
  serialSentField.setText(log.serialSent);
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
  if (document().calls().holds(callsignField.text())) {
    setMark(DuplicateMark::Duplicate);
  }
  showPartialCheck();
  suggestLocator();
}

void LogForm::locatorChanged() {
  if (locatorField.writeUpperCase()) {
    return;
  }
  if (!m_writingSuggestion && m_locatorSuggested) {
    takeTypedLocator();
    return;
  }
  showNewSquare();
  if (charCount(locatorField.text()) == 6) {
    const std::optional<double> distance = contactDistance(locatorField.text());
    qrbField.setText(distance ? formatNumber(*distance) : std::string());
    const auto course = distance ? measuredDocument().courseTo(locatorField.text()) : std::nullopt;
    qtfField.setText(course ? std::to_string(course->bearing) : std::string());
  }
}

void LogForm::modePicked() {
  if (const Mode* mode = findMode(modeList.text())) {
    rstField.setText(mode->rst);
  }
}

void LogForm::autoTimeClicked() {
  for (Toggle* option : {&plusOneOption, &plusTwoOption, &utcOption}) {
    option->setVisible(true);
  }
}

// The record at the log's caret, when there is one, goes to its correction.
void LogForm::openContact() {
  LogDocument& document = this->document();
  if (const auto contact = document.contactAt(document.lineAt(logBuffer().caret()))) {
    m_links.correctContact(*contact);
  }
}

std::string LogForm::homeLocator() const {
  return m_links.homeLocator();
}

LogDocument& LogForm::measuredDocument() {
  document().setHome(homeLocator());
  return document();
}

// Whatever changed the log, or the home it is measured from.
void LogForm::showStatistics() {
  const Statistics statistics = measuredDocument().statistics();
  totalField.setText(statistics.total);
  averageField.setText(statistics.average);
  odxCallField.setText(statistics.odxCall);
  odxLocatorField.setText(statistics.odxLocator);
  odxDistanceField.setText(statistics.odxDistance);
  showSummary(statistics);
}

void LogForm::setMark(DuplicateMark mark) {
  m_mark = mark;
  callsignField.setTextColor(markColor(mark));
}

std::optional<TimeReference> LogForm::timeReference() const {
  if (plusOneOption.checked()) {
    return TimeReference::LocalLessOne;
  }
  if (plusTwoOption.checked()) {
    return TimeReference::LocalLessTwo;
  }
  if (utcOption.checked()) {
    return TimeReference::Utc;
  }
  return std::nullopt;
}

// With "Auto" and a reference the contact gets the UTC time of the moment the call was last
// changed, and the date of that same moment: with an offset, just after local midnight that is
// the day before.
bool LogForm::writeAutomaticTime() {
  const std::optional<TimeReference> reference = timeReference();
  if (!autoTimeBox.checked() || !reference) {
    return false;
  }
  const DateTime moment = referenceMoment(m_clock, *reference);
  timeField.setText(timeText(moment));
  dateField.setText(dateText(moment));
  return true;
}

// A contact dated outside the contest is logged, but the operator is told: the clock or the
// header's dates are wrong, and a contest robot would void it.
void LogForm::warnOutsideContestDays(const std::string& date) {
  const ContestDays days = m_links.contestDays();
  const bool early = !days.first.empty() && date < days.first;
  const bool late = !days.last.empty() && date > days.last;
  if (early || late) {
    tell("Attenzione: la data del contatto (" + date +
         ") è fuori dalle date del contest indicate nell'intestazione");
  }
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
  const EntryRow row{
      .time = timeField.text(),
      .date = dateField.text(),
      .serialSent = serialSentField.text(),
      .call = callsignField.text(),
      .rst = rstField.text(),
      .serialReceived = serialReceivedField.text(),
      .serialReceivedShown = serialReceivedField.visible(),
  };
  const std::optional<double> distance = checkedDistance(row, locatorField.text());
  if (!distance) {
    return;
  }
  const std::string date = dateField.text();
  const int serial = readSerialNumber(serialSentField.text()).value_or(kLastSerialNumber);
  const double factor = sicilyDoublingBox.checked() ? sicilianFactor(callsignField.text()) : 1;
  qrbField.setText(formatNumber(*distance * factor));
  if (const Mode* mode = findMode(modeList.text())) {
    m_modeCode = mode->code;
  }
  appendContact(qrbField.text());
  if (serial < kLastSerialNumber) {
    serialSentField.setText(serialNumberText(serial + 1));
  }
  clearEntryRow();
  warnOutsideContestDays(date);
}

// The contact's distance once its row passed every check; each failed check is told. A contact
// is logged with its full locator of six characters only: a square alone is no contest locator.
std::optional<double> LogForm::checkedDistance(const EntryRow& row, const std::string& locator) {
  if (const auto problem = entryRowProblem(row)) {
    tell(*problem);
    return std::nullopt;
  }
  const std::optional<double> distance =
      charCount(locator) == 6 ? contactDistance(locator) : std::nullopt;
  if (!distance) {
    tell("Locatore non valido");
  }
  return distance;
}

bool LogForm::correct(const ContactCorrection& correction) {
  LogDocument& document = this->document();
  const auto line = document.lineOf(correction.id);
  if (!line) {
    tell("Il contatto non è più nel LOG");
    return false;
  }
  Contact contact = *document.contactAt(*line);
  const EntryRow row{
      .time = correction.time,
      .date = correction.date,
      .serialSent = contact.serialSent,
      .call = correction.call,
      .rst = correction.rst,
      .serialReceived = correction.serialReceived,
      .serialReceivedShown = serialReceivedField.visible(),
  };
  const std::optional<double> distance = checkedDistance(row, correction.locator);
  if (!distance) {
    return false;
  }
  const std::string oldCall = contact.call;
  contact.time = correction.time;
  contact.date = correction.date;
  contact.call = correction.call;
  contact.rstSent = contact.rstReceived = correction.rst;
  contact.serialReceived = correction.serialReceived;
  contact.locator = correction.locator;
  if (!contact.isDuplicate()) {
    contact.points = formatNumber(*distance * contact.sicilyFactor);
  }
  document.rewrite(*line, contact);
  markDuplicates(oldCall, contact.call);
  return true;
}

void LogForm::removeContact(ContactId id) {
  LogDocument& document = this->document();
  const auto line = document.lineOf(id);
  if (!line) {
    return;
  }
  const std::string call = document.contactAt(*line)->call;
  document.remove(*line);
  markDuplicates(call, call);
}

// The duplicates of both calls a correction touched marked again, then the new squares of the
// log.
void LogForm::markDuplicates(const std::string& oldCall, const std::string& newCall) {
  remark(band(), {oldCall, newCall});
}

void LogForm::remark(BandLog& log, const std::vector<std::string>& calls) {
  const auto points = [this](const Contact& contact) {
    const double factor = sicilyDoublingBox.checked() ? sicilianFactor(contact.call) : 1;
    return formatNumber(contactDistance(contact.locator).value_or(0) * factor);
  };
  LogDocument& document = log.document();
  document.setHome(homeLocator());
  std::vector<std::string> done;
  for (const std::string& call : calls) {
    std::string normalized = normalizedCall(call);
    if (std::find(done.begin(), done.end(), normalized) == done.end()) {
      document.markDuplicates(call, points);
      done.push_back(std::move(normalized));
    }
  }
  document.markNewSquares();
}

BandLog& LogForm::bandLog(const std::string& band) {
  for (const auto& log : m_bands) {
    if (log->band() == band) {
      return *log;
    }
  }
  if (this->band().band().empty() && !this->band().holdsRecords()) {
    this->band().name(band);
    return this->band();
  }
  return addBand(band);
}

void LogForm::followSerial(BandLog& log, int serial) {
  const bool shown = &log == &band();
  const std::string& next = shown ? serialSentField.text() : log.serialSent;
  if (serial >= kLastSerialNumber || readSerialNumber(next).value_or(0) > serial) {
    return;
  }
  if (shown) {
    serialSentField.setText(serialNumberText(serial + 1));
  } else {
    log.serialSent = serialNumberText(serial + 1);
  }
}

void LogForm::clearEntryRow() {
  dropSuggestion();
  callsignField.clear();
  serialReceivedField.clear();
  locatorField.clear();
  qrbField.clear();
  qtfField.clear();
  if (inContestBox.checked()) {
    requestFocus(callsignField);
  } else {
    timeField.clear();
    requestFocus(timeField);
  }
}

// The line the call field's mark asks for: none before the call was first edited.
void LogForm::appendContact(const std::string& points) {
  if (m_mark == DuplicateMark::None) {
    return;
  }
  Contact contact;
  contact.date = dateField.text();
  contact.time = timeField.text();
  contact.call = callsignField.text();
  contact.modeCode = m_modeCode;
  contact.rstSent = contact.rstReceived = rstField.text();
  contact.serialSent = serialSentField.text();
  contact.serialReceived = serialReceivedField.text();
  contact.locator = locatorField.text();
  contact.frequencyHz = m_frequencyHz;
  contact.newSquare = std::string(document().opensSquare(contact.locator) ? kNewSquareMark : "");
  contact.markDuplicate(m_mark == DuplicateMark::Duplicate, points);
  document().append(contact);
  if (contact.isDuplicate()) {
    tell("Inserito un duplicato");
  }
}

std::vector<Control*> LogForm::controls() {
  return {&serialSentField,   &bandField,        &modeList,        &dateField,
          &timeField,         &callsignField,    &rstField,        &serialReceivedField,
          &locatorField,      &qrbField,         &qtfField,        &autoTimeBox,
          &sicilyDoublingBox, &plusOneOption,    &plusTwoOption,   &utcOption,
          &utcClockField,     &frequencyField,   &headingField,    &turnButton,
          &stopButton,        &odxCallField,     &odxLocatorField, &odxDistanceField,
          &averageField,      &inContestBox,     &insertButton,    &totalField,
          &logBuffer(),       &saveMessageLabel, &backButton,      &closeButton,
          &exportButton,      &newSquareLabel,   &squaresField,    &sixtyMinutesField,
          &bandContactsField, &bandPointsField,  &tenMinutesField, &partialList};
}

std::vector<Control*> LogForm::keptControls() {
  std::vector<Control*> kept = controls();
  std::erase(kept, &logBuffer());
  const Control* const shownOnly[] = {
      &utcClockField,     &frequencyField, &headingField,      &newSquareLabel,  &tenMinutesField,
      &sixtyMinutesField, &squaresField,   &bandContactsField, &bandPointsField, &partialList};
  for (const Control* live : shownOnly) {
    std::erase(kept, live);
  }
  return kept;
}

}  // namespace vantor
