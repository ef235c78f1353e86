#include "log/log_form.h"

#include <cmath>
#include <string_view>

#include "app/session.h"
#include "edi/edi_export.h"
#include "form/text.h"
#include "form/utf8.h"
#include "geo/bearing_form.h"
#include "geo/locator.h"
#include "log/contact_time.h"
#include "log/qso_line.h"
#include "log/serial_number.h"

namespace vantor {

namespace {

// A call of this many characters or more is searched for in the log while it is typed.
constexpr std::size_t kShortestSearchedCall = 4;

// Whether the call's third character (not its third byte) is the digit 9.
bool thirdCharacterIsNine(std::string_view call) {
  std::size_t pos = 0;
  for (int skipped = 0; skipped < 2 && pos < call.size(); ++skipped) {
    const auto decoded = decodeUtf8(call, pos);
    pos += decoded ? decoded->length : 1;
  }
  return pos < call.size() && call[pos] == '9';
}

// "Auto x2 Sicilia": a "9" as the call's third character doubles the QRB, and a "9" as its last
// character doubles it again.
double sicilianFactor(std::string_view call) {
  double factor = 1;
  if (thirdCharacterIsNine(call)) {
    factor *= 2;
  }
  if (!call.empty() && call.back() == '9') {
    factor *= 2;
  }
  return factor;
}

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

bool holdsDigit(std::string_view text) {
  return text.find_first_of("0123456789") != text.npos;
}

// Whether the log's text holds the (upper-case, non-empty) call anywhere. The log is mostly
// digits and separators, and its calls share their first letters, so the search runs to each
// place of the call's last letter, the character that leaves the fewest places to compare.
bool logHolds(std::string_view log, std::string_view call) {
  const std::size_t letter = call.find_last_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const std::size_t anchor = letter == std::string_view::npos ? call.size() - 1 : letter;
  for (std::size_t at = log.find(call[anchor], anchor); at != std::string_view::npos;
       at = log.find(call[anchor], at + 1)) {
    const std::size_t start = at - anchor;
    if (start + call.size() > log.size()) {
      return false;
    }
    if (log.compare(start, call.size(), call) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

LogForm::LogForm(Session& session) : m_session(session) {
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
  logBuffer.onChange([this] { m_unsaved = !logBuffer.text().empty(); });
  insertButton.onPress([this] { insert(); });
  backButton.onPress([this] { m_session.showHeader(); });
  closeButton.onPress([this] { m_session.close(); });
  exportButton.onPress([this] { exportEdi(m_session); });

  open();
}

void LogForm::open() {
  modeList.setItems({"SSB", "CW"});
  // The local time as it stands: the offset options apply only while a call is typed.
  timeField.setText(timeText(m_session.clock().now()));
}

void LogForm::callChanged() {
  setMark(DuplicateMark::NotDuplicate);
  const std::string upper = toUpper(callsignField.text());
  if (upper != callsignField.text()) {
    // The write-back runs this behaviour again for the upper-case text, which does the rest.
    callsignField.setText(upper);
    return;
  }
  callsignField.moveCaretToEnd();
  writeAutomaticTime();
  if (charCount(upper) >= kShortestSearchedCall && logHolds(logBuffer.text(), upper)) {
    setMark(DuplicateMark::Duplicate);
  }
}

void LogForm::locatorChanged() {
  const std::string upper = toUpper(locatorField.text());
  if (upper != locatorField.text()) {
    locatorField.setText(upper);
    return;
  }
  locatorField.moveCaretToEnd();
  if (charCount(upper) == 6) {
    const std::optional<double> distance = contactDistance(upper);
    qrbField.setText(distance ? formatNumber(*distance) : std::string());
  }
}

void LogForm::modePicked() {
  if (modeList.text() == "SSB") {
    rstField.setText("59");
  } else if (modeList.text() == "CW") {
    rstField.setText("599");
  }
}

void LogForm::autoTimeClicked() {
  plusOneOption.setVisible(true);
  plusTwoOption.setVisible(true);
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
  const LocalDateTime gmt = hoursEarlier(m_session.clock().now(), offset);
  timeField.setText(timeText(gmt));
  dateField.setText(dateText(gmt));
}

// The QRB of a contact in `locator`, from the bearing screen's calculator; a distance of 0 counts
// as 1. Nothing when the locator is not a valid one or the calculator gives no distance.
std::optional<double> LogForm::contactDistance(const std::string& locator) {
  if (!isValidLocator(locator)) {
    return std::nullopt;
  }
  BearingForm& bearing = m_session.bearing();
  bearing.otherLocatorField.setText(locator);
  bearing.calculateButton.press();
  const std::string& distance = bearing.distanceField.text();
  if (!holdsDigit(distance)) {
    return std::nullopt;
  }
  const double kilometres = numericValue(distance);
  return kilometres == 0 ? 1 : kilometres;
}

void LogForm::tell(const std::string& message) {
  m_session.dialogs().showMessage(Message{message});
}

void LogForm::insert() {
  if (charCount(timeField.text()) != 4) {
    tell("Inserire orario nel formato hhmm");
    return;
  }
  if (charCount(dateField.text()) != 6) {
    tell("Inserire data nel formato yymmdd");
    return;
  }
  const std::optional<int> serial = readSerialNumber(serialSentField.text());
  if (!serial) {
    tell("Numero progressivo non valido");
    return;
  }
  const std::optional<double> distance = contactDistance(locatorField.text());
  if (!distance) {
    tell("Locatore non valido");
    return;
  }

  if (sicilyDoublingBox.checked()) {
    qrbField.setText(formatNumber(*distance * sicilianFactor(callsignField.text())));
  } else {
    qrbField.setText(formatNumber(*distance));
  }
  updateStatistics(*distance, *serial);

  if (modeList.text() == "SSB") {
    m_modeCode = "1";
  } else if (modeList.text() == "CW") {
    m_modeCode = "2";
  }
  appendContact();

  if (*serial < kLastSerialNumber) {
    serialSentField.setText(serialNumberText(*serial + 1));
  }
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
void LogForm::updateStatistics(double distance, int serial) {
  const std::string& points = qrbField.text();
  if (serialSentField.text() == "001") {
    replaceOdx(distance);
    totalField.setText(points);
  } else {
    if (numericValue(odxDistanceField.text()) < distance) {
      replaceOdx(distance);
    }
    totalField.setText(formatNumber(numericValue(totalField.text()) + numericValue(points)));
  }
  averageField.setText(formatNumber(std::floor(numericValue(totalField.text()) / serial)));
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
