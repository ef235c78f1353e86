#include "geo/bearing_form.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "form/text.h"
#include "geo/locator.h"

namespace vantor {

namespace {

// A complete locator in the other locator field starts the calculation at once.
constexpr std::size_t kCalculatingLength = 6;

}  // namespace

BearingForm::BearingForm(Dialogs& dialogs, std::function<void()> exit) : m_dialogs(dialogs) {
  for (Field* scratch :
       {&homeLatitudeField, &homeLongitudeField, &otherLatitudeField, &otherLongitudeField}) {
    scratch->setVisible(false);
  }
  homeLocatorField.onChange([this] {
    m_homeTooLongShown = false;
    homeLocatorField.writeUpperCase();
  });
  otherLocatorField.onChange([this] {
    otherLocatorField.writeUpperCase();
    if (charCount(otherLocatorField.text()) == kCalculatingLength) {
      calculateButton.press();
    }
  });
  calculateButton.onPress([this] { calculate(); });
  exitButton.onPress(std::move(exit));
}

std::optional<double> BearingForm::distanceTo(std::string_view locator) {
  otherLocatorField.setText(locator);
  calculateButton.press();
  const std::string& distance = distanceField.text();
  if (distance.find_first_of("0123456789") == std::string::npos) {
    return std::nullopt;
  }
  return numericValue(distance);
}

void BearingForm::calculate() {
  const std::optional<BearingResult> result =
      calculateBearing(homeLocatorField.text(), otherLocatorField.text());
  if (!result) {
    return;
  }
  if (result->homeTooLong && !m_homeTooLongShown) {
    m_homeTooLongShown = true;
    m_dialogs.showMessage(Message{"Locatore troppo lungo (massimo 6 caratteri)"});
  }
  // An invalid input empties only the other locator: the home locator stays for the next contact.
  if (result->clearLocators) {
    otherLocatorField.clear();
    distanceField.setText(kUnknownResult);
  }
  writeScratch(homeLatitudeField, m_homeLatitudeWrite, result->homeLatitude);
  writeScratch(homeLongitudeField, m_homeLongitudeWrite, result->homeLongitude);
  writeScratch(otherLatitudeField, m_otherLatitudeWrite, result->otherLatitude);
  writeScratch(otherLongitudeField, m_otherLongitudeWrite, result->otherLongitude);
  bearingField.setText(result->bearing);
  distanceField.setText(result->distance);
  if (result->clearLocators) {
    otherLocatorField.clear();
  }
  if (homeLocatorField.text() == otherLocatorField.text()) {
    bearingField.setText("0");
  }
}

void BearingForm::writeScratch(Field& field, std::optional<ScratchWrite>& last,
                               ScratchNumber number) {
  if (last && last->number.isSameNumber(number) && field.text() == last->text) {
    return;
  }
  last = ScratchWrite{number, number.text()};
  field.setText(last->text);
}

std::vector<Control*> BearingForm::controls() {
  return {&homeLocatorField,  &otherLocatorField,  &distanceField,      &bearingField,
          &homeLatitudeField, &homeLongitudeField, &otherLatitudeField, &otherLongitudeField,
          &calculateButton,   &exitButton};
}

}  // namespace vantor
