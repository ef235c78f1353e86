// The locator calculator on any pair of texts, directly and through the hidden bearing screen:
// its distance and bearing texts keep their forms, and two valid locators give a distance on the
// Earth and a bearing on the compass.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "check.h"
#include "form/text.h"
#include "geo/bearing_form.h"
#include "geo/locator.h"
#include "support/fakes.h"

namespace {

using namespace vantor;

// Half the Earth's circumference, rounded up.
constexpr int kFarthestKilometres = 20000;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// " 349": one blank and at least one decimal digit.
bool isBlankAndDigits(std::string_view text) {
  return text.size() >= 2 && text.front() == ' ' &&
         std::all_of(text.begin() + 1, text.end(), isDigit);
}

// A distance or bearing text as a calculation leaves it.
bool isResultText(std::string_view text) {
  return text == kUnknownResult || text == "0" || isBlankAndDigits(text);
}

int wholeNumber(std::string_view blankAndDigits) {
  int value = 0;
  for (const char c : blankAndDigits.substr(1)) {
    value = std::min(value * 10 + (c - '0'), 1'000'000);
  }
  return value;
}

bool sameResult(const BearingResult& a, const BearingResult& b) {
  return a.distance == b.distance && a.bearing == b.bearing && a.homeLatitude == b.homeLatitude &&
         a.homeLongitude == b.homeLongitude && a.otherLatitude == b.otherLatitude &&
         a.otherLongitude == b.otherLongitude && a.clearLocators == b.clearLocators &&
         a.homeTooLong == b.homeTooLong;
}

void checkCalculation(std::string_view home, std::string_view other) {
  const std::optional<BearingResult> result = calculateBearing(home, other);
  const std::optional<BearingResult> again = calculateBearing(home, other);
  FUZZ_CHECK(result.has_value() == again.has_value());
  FUZZ_CHECK(result.has_value() == (other != kPlaceholder));
  if (!result) {
    return;
  }
  FUZZ_CHECK(sameResult(*result, *again));
  // "0" is the bearing between two equal texts, never a distance.
  FUZZ_CHECK(result->distance != "0" && isResultText(result->distance));
  FUZZ_CHECK(isResultText(result->bearing));
  FUZZ_CHECK(result->clearLocators == !(isValidLocator(home) && isValidLocator(other)));
  if (!result->clearLocators) {
    FUZZ_CHECK(isBlankAndDigits(result->distance));
    FUZZ_CHECK(wholeNumber(result->distance) <= kFarthestKilometres);
    FUZZ_CHECK(result->bearing == "0" || wholeNumber(result->bearing) <= 360);
  }
}

// The texts a calculation may leave in the screen's distance and bearing fields, besides the
// placeholder they hold before the first one.
bool isShownResult(const Field& field) {
  return field.text() == "..." || isResultText(field.text());
}

void checkLocatorField(const Field& field) {
  FUZZ_CHECK(!fuzz::holdsLineBreak(field.text()));
  FUZZ_CHECK(field.text() == toUpper(field.text()));
  FUZZ_CHECK(field.caret() <= field.text().size());
}

void checkScreen(std::string_view home, std::string_view other) {
  testing::RecordingDialogs dialogs;
  bool exited = false;
  BearingForm screen(dialogs, [&exited] { exited = true; });
  screen.homeLocatorField.setText(home);
  screen.otherLocatorField.setText(other);
  screen.calculateButton.press();
  checkLocatorField(screen.homeLocatorField);
  checkLocatorField(screen.otherLocatorField);
  FUZZ_CHECK(screen.distanceField.text() != "0" && isShownResult(screen.distanceField));
  FUZZ_CHECK(isShownResult(screen.bearingField));
  FUZZ_CHECK(!exited);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzz::splitInput(data, size);
  const std::string_view home = fuzz::pieceAt(pieces, 0);
  const std::string_view other = fuzz::pieceAt(pieces, 1);
  checkCalculation(home, other);
  checkCalculation(other, home);
  checkScreen(home, other);
  return 0;
}
