#include "header/header_form.h"

#include <cstdio>

#include "app/session.h"
#include "form/text.h"
#include "form/utf8.h"
#include "geo/bearing_form.h"
#include "geo/locator.h"
#include "header/contest_catalogue.h"
#include "header/date_text.h"
#include "log/log_form.h"

namespace vantor {

namespace {

// The last two characters of a UTF-8 text, or the whole text when it is shorter. A byte that
// is not UTF-8 counts as one character, as it does for charCount.
std::string_view lastTwoCharacters(std::string_view text) {
  std::size_t beforeLast = 0;
  std::size_t last = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    beforeLast = last;
    last = pos;
    const auto decoded = decodeUtf8(text, pos);
    pos += decoded ? decoded->length : 1;
  }
  return text.substr(beforeLast);
}

// The header screen's boxes carry the program's full name as their title and an information icon.
Message headerMessage(std::string text) {
  return Message{std::move(text), "Vantor by Karsel", Message::Icon::Information};
}

std::string todayAsText(const LocalDateTime& now) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.day, now.month, now.year);
  return text;
}

void refill(ListField& list, const std::vector<std::string>& items, std::string_view editText) {
  list.clearAll();
  list.setText(editText);
  list.setItems(items);
}

// A hidden box cannot be unticked by the operator, so hiding it also unticks it: otherwise contacts
// of another contest would go on being doubled without anything on screen to show it.
void hideSicilyDoubling(LogForm& log) {
  log.sicilyDoublingBox.setVisible(false);
  log.sicilyDoublingBox.setChecked(false);
}

}  // namespace

std::vector<RequiredField> missingRequiredFields(const StationHeader& header) {
  std::vector<RequiredField> missing;
  if (header.callsign.empty()) {
    missing.push_back(RequiredField::Callsign);
  }
  if (header.locator.empty()) {
    missing.push_back(RequiredField::Locator);
  }
  if (header.contest == "...") {
    missing.push_back(RequiredField::Contest);
  }
  if (header.category == "...") {
    missing.push_back(RequiredField::Category);
  }
  if (header.band == "...") {
    missing.push_back(RequiredField::Band);
  }
  return missing;
}

std::optional<std::string> logDateFromStartDate(std::string_view startDate) {
  const auto parts = splitDate(startDate);
  if (!parts) {
    return std::nullopt;
  }
  return std::string(lastTwoCharacters(parts->year)) + std::string(parts->month) +
         std::string(parts->day);
}

HeaderForm::HeaderForm(Session& session) : m_session(session) {
  upperCaseOnEdit(callsignField, true);
  upperCaseOnEdit(locatorField, true);
  upperCaseOnEdit(nameField, false);
  upperCaseOnEdit(addressField, false);
  upperCaseOnEdit(cityField, false);
  upperCaseOnEdit(countryField, false);

  ediHeaderBuffer.setVisible(false);
  ediHeaderBuffer.setLocked(true);

  contestList.onPick([this] { contestPicked(); });
  categoryList.onPick([this] { categoryList.setBackground(colors::white); });
  bandList.onPick([this] { bandPicked(); });
  proceedButton.onPress([this] { proceed(); });
  closeButton.onPress([this] { m_session.close(); });
}

void HeaderForm::start() {
  contestList.setItems(catalogue::contests());
  categoryList.setItems(catalogue::standardCategories());
  bandList.setItems(catalogue::allBands());
  const std::string today = todayAsText(m_session.clock().now());
  startDateField.setText(today);
  endDateField.setText(today);
  requestFocus(callsignField);
}

StationHeader HeaderForm::stationHeader() const {
  return StationHeader{
      callsignField.text(),      locatorField.text(),  contestList.text(),
      categoryList.text(),       bandList.text(),      startDateField.text(),
      endDateField.text(),       commentsField.text(), nameField.text(),
      addressField.text(),       postcodeField.text(), cityField.text(),
      countryField.text(),       phoneField.text(),    emailField.text(),
      operatorsField.text(),     clubField.text(),     receiverField.text(),
      transmitterField.text(),   antennasField.text(), powerField.text(),
      antennaHeightField.text(), altitudeField.text(),
  };
}

void HeaderForm::upperCaseOnEdit(Field& field, bool clearsHighlight) {
  field.onChange([&field, clearsHighlight] {
    field.setText(toUpper(field.text()));
    field.moveCaretToEnd();
    if (clearsHighlight) {
      field.setBackground(colors::white);
    }
  });
}

void HeaderForm::contestPicked() {
  const std::string& contest = contestList.text();
  LogForm& log = m_session.log();
  if (contest == catalogue::fieldDaySicily) {
    log.sicilyDoublingBox.setVisible(true);
    refill(categoryList, catalogue::fieldDayCategories(), "");
    refill(bandList, catalogue::fieldDayBands(), "");
  }
  log.serialReceivedField.setVisible(contest != catalogue::iac);
  if (contest != catalogue::fieldDaySicily) {
    hideSicilyDoubling(log);
    refill(categoryList, catalogue::standardCategories(), "...");
    refill(bandList, catalogue::allBands(), "...");
  }
  contestList.setBackground(colors::white);
}

void HeaderForm::bandPicked() {
  bandList.setBackground(colors::white);
  const std::optional<std::string> code = catalogue::bandCode(bandList.text());
  if (!code) {
    return;
  }
  LogForm& log = m_session.log();
  log.bandField.setText(*code);
  if (bandList.text() == catalogue::band50 && contestList.text() == catalogue::fieldDaySicily) {
    hideSicilyDoubling(log);
    refill(categoryList, catalogue::fieldDay50Categories(), "...");
  }
}

bool HeaderForm::markMissing() {
  const auto missing = missingRequiredFields(stationHeader());
  for (const RequiredField field : missing) {
    switch (field) {
      case RequiredField::Callsign:
        callsignField.setBackground(colors::yellow);
        break;
      case RequiredField::Locator:
        locatorField.setBackground(colors::yellow);
        break;
      case RequiredField::Contest:
        contestList.setBackground(colors::yellow);
        break;
      case RequiredField::Category:
        categoryList.setBackground(colors::yellow);
        break;
      case RequiredField::Band:
        bandList.setBackground(colors::yellow);
        break;
    }
  }
  return !missing.empty();
}

void HeaderForm::proceed() {
  if (markMissing()) {
    m_session.dialogs().showMessage(headerMessage("Inserire campi mancanti"));
    return;
  }
  // A wrong home locator would score every contact of the contest wrongly.
  if (!isValidLocator(locatorField.text())) {
    locatorField.setBackground(colors::yellow);
    m_session.dialogs().showMessage(headerMessage("Locatore non valido"));
    return;
  }
  const std::optional<std::string> logDate = logDateFromStartDate(startDateField.text());
  if (!logDate) {
    m_session.dialogs().showMessage(
        headerMessage("Data inizio non valida: usare il formato gg/mm/aaaa"));
    return;
  }
  m_session.bearing().homeLocatorField.setText(locatorField.text());
  LogForm& log = m_session.log();
  log.dateField.setText(*logDate);
  m_session.showLog();
  log.requestFocus(log.callsignField);
}

std::vector<Control*> HeaderForm::controls() {
  return {&callsignField,  &locatorField,       &contestList,   &categoryList,     &bandList,
          &startDateField, &endDateField,       &commentsField, &nameField,        &addressField,
          &postcodeField,  &cityField,          &countryField,  &phoneField,       &emailField,
          &operatorsField, &clubField,          &receiverField, &transmitterField, &antennasField,
          &powerField,     &antennaHeightField, &altitudeField, &ediHeaderBuffer,  &proceedButton,
          &closeButton};
}

}  // namespace vantor
