#include "header/header_form.h"

#include <cstdio>
#include <utility>

#include "form/text.h"
#include "form/utf8.h"
#include "geo/locator.h"
#include "header/contest_catalogue.h"
#include "header/date_text.h"

namespace vantor {

namespace {

// The last two characters of a UTF-8 text, or the whole text when it is shorter. A byte that
// is not UTF-8 counts as one character, as it does for charCount.
std::string_view lastTwoCharacters(std::string_view text) {
  const std::size_t count = charCount(text);
  return text.substr(count < 2 ? 0 : characterStart(text, count - 2));
}

std::string todayAsText(const DateTime& now) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.day, now.month, now.year);
  return text;
}

// An item of the list is picked, with the list's pick rules; any other text is typed in.
void pickOrType(ListField& list, std::string_view text) {
  if (!list.pickText(text)) {
    list.setText(text);
  }
}

void refill(ListField& list, const std::vector<std::string>& items, std::string_view editText) {
  list.clearAll();
  list.setText(editText);
  list.setItems(items);
}

}  // namespace

Message headerMessage(std::string text) {
  return Message{std::move(text), "Vantor by Karsel", Message::Icon::Information};
}

std::vector<RequiredField> missingRequiredFields(const StationHeader& header) {
  std::vector<RequiredField> missing;
  if (header.callsign.empty()) {
    missing.push_back(RequiredField::Callsign);
  }
  if (header.locator.empty()) {
    missing.push_back(RequiredField::Locator);
  }
  if (header.contest == kPlaceholder) {
    missing.push_back(RequiredField::Contest);
  }
  if (header.category == kPlaceholder) {
    missing.push_back(RequiredField::Category);
  }
  if (header.band == kPlaceholder) {
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

HeaderForm::HeaderForm(const Clock& clock, Dialogs& dialogs, HeaderLinks links)
    : m_clock(clock), m_dialogs(dialogs), m_links(std::move(links)) {
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
  closeButton.onPress([this] { m_links.close(); });
}

void HeaderForm::start() {
  contestList.setItems(catalogue::contests());
  categoryList.setItems(catalogue::standardCategories());
  bandList.setItems(catalogue::allBands());
  const std::string today = todayAsText(m_clock.now());
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

void HeaderForm::resume(const StationHeader& station) {
  pickOrType(contestList, station.contest);
  pickOrType(bandList, station.band);
  pickOrType(categoryList, station.category);
  for (const auto& [field, text] : textFields(station)) {
    field->setText(*text);
  }
}

std::vector<std::pair<Field*, const std::string*>> HeaderForm::textFields(
    const StationHeader& station) {
  return {
      {&callsignField, &station.callsign},
      {&locatorField, &station.locator},
      {&startDateField, &station.startDate},
      {&endDateField, &station.endDate},
      {&commentsField, &station.comments},
      {&nameField, &station.name},
      {&addressField, &station.address},
      {&postcodeField, &station.postcode},
      {&cityField, &station.city},
      {&countryField, &station.country},
      {&phoneField, &station.phone},
      {&emailField, &station.email},
      {&operatorsField, &station.operators},
      {&clubField, &station.club},
      {&receiverField, &station.receiver},
      {&transmitterField, &station.transmitter},
      {&antennasField, &station.antennas},
      {&powerField, &station.power},
      {&antennaHeightField, &station.antennaHeight},
      {&altitudeField, &station.altitude},
  };
}

void HeaderForm::upperCaseOnEdit(Field& field, bool clearsHighlight) {
  field.onChange([&field, clearsHighlight] {
    field.writeUpperCase();
    if (clearsHighlight) {
      field.setBackground(colors::white);
    }
  });
}

const std::string& HeaderForm::writeEdiHeader(const std::array<std::string, 3>& section,
                                              std::string_view scoreLines) {
  ediHeaderBuffer.setText(section[0]);
  ediHeaderBuffer.append(section[1]);
  ediHeaderBuffer.append(section[2]);
  ediHeaderBuffer.append(scoreLines);
  return ediHeaderBuffer.text();
}

// A pick of another contest is asked about with the earlier one still shown, so nothing kept of
// the earlier contest names the new one.
void HeaderForm::contestPicked() {
  const std::string picked = contestList.text();
  if (picked != contestList.textBeforePick()) {
    contestList.setText(contestList.textBeforePick());
    if (!m_links.changeContest()) {
      return;
    }
    contestList.setText(picked);
  }
  const std::string& contest = contestList.text();
  const bool fieldDay = contest == catalogue::fieldDaySicily;
  m_links.offerSicilyDoubling(fieldDay);
  m_links.askReceivedSerial(contest != catalogue::iac);
  const std::string_view editText = fieldDay ? "" : kPlaceholder;
  refill(categoryList, catalogue::categoriesFor(contest, {}), editText);
  refill(bandList, catalogue::bandsFor(contest), editText);
  contestList.setBackground(colors::white);
}

void HeaderForm::bandPicked() {
  bandList.setBackground(colors::white);
  const std::optional<std::string> code = catalogue::bandCode(bandList.text());
  if (!code) {
    return;
  }
  m_links.applyBand(bandList.text(), *code);
  if (bandList.text() == catalogue::band50 && contestList.text() == catalogue::fieldDaySicily) {
    m_links.offerSicilyDoubling(false);
    refill(categoryList, catalogue::categoriesFor(contestList.text(), bandList.text()),
           kPlaceholder);
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
    m_dialogs.showMessage(headerMessage("Inserire campi mancanti"));
    return;
  }
  // A wrong home locator would score every contact of the contest wrongly.
  if (!isValidLocator(locatorField.text())) {
    locatorField.setBackground(colors::yellow);
    m_dialogs.showMessage(headerMessage("Locatore non valido"));
    return;
  }
  const std::optional<std::string> logDate = logDateFromStartDate(startDateField.text());
  if (!logDate) {
    m_dialogs.showMessage(headerMessage("Data inizio non valida: usare il formato gg/mm/aaaa"));
    return;
  }
  m_links.proceed(locatorField.text(), *logDate);
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
