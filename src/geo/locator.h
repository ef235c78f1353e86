#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geo/scratch_number.h"

namespace vantor {

// A Maidenhead locator text: two field letters, two square digits, two subsquare letters
// ("JN81GD"). A locator of one to four characters stands for its subsquare "LL".
using Locator = std::string;

// A point on the Earth in degrees, east and north positive.
struct GeoPoint {
  double longitude = 0.0;
  double latitude = 0.0;
};

// What one calculation gives the bearing screen: the texts of its fields, the scratch fields'
// numbers.
struct BearingResult {
  // Whole kilometres (" 349") or "??????".
  std::string distance;
  // Whole degrees (" 284"), "??????", or "0" when the two locator texts are equal.
  std::string bearing;
  // The coordinates of both locators for the hidden scratch fields; longitudes west positive.
  // They stay numbers until a field takes them.
  ScratchNumber homeLatitude;
  ScratchNumber homeLongitude;
  ScratchNumber otherLatitude;
  ScratchNumber otherLongitude;
  // The input was invalid: the other locator field is to be emptied.
  bool clearLocators = false;
  // The home locator has more than six characters: the operator is to be told.
  bool homeTooLong = false;
};

// The distance and the initial bearing between two points.
struct Course {
  int distance = 0;  // kilometres
  int bearing = 0;   // degrees, 0 to 360
};

// The calculator's Earth: kilometres per radian of central angle.
inline constexpr double kEarthRadiusKm = 6356.775;

// The text of the distance and bearing fields when the input cannot be used.
inline constexpr std::string_view kUnknownResult = "??????";

// The typed text as the calculator uses it: upper case, and a text of one to four characters
// gets "LL" appended. An empty text stays empty.
[[nodiscard]] Locator preparedLocator(std::string_view typed);

// Whether the typed text, once prepared, is a complete locator: field letters A to R, square
// digits, subsquare letters A to X, exactly six characters.
[[nodiscard]] bool isValidLocator(std::string_view typed);

// How many squares there are: 18 by 18 fields of 10 by 10 squares.
inline constexpr std::uint16_t kSquareCount = 18 * 18 * 10 * 10;

// The square of a valid locator (isValidLocator, so of six characters or a square of four alone):
// its first four characters ("JN61" of "jn61fu") as a number below kSquareCount. Nothing for any
// other text.
[[nodiscard]] std::optional<std::uint16_t> squareOf(std::string_view typed);

// The centre of the locator's subsquare. Takes an upper-case locator and uses the Windows-1252
// codes of its first six characters; a character that code page cannot hold counts as "?", a
// missing one as 0.
[[nodiscard]] GeoPoint locatorToPoint(std::string_view locator);

// The great-circle distance and initial bearing from home to other, with the calculator's own
// constants and rounding. A step that cannot be performed (a division by zero, the square root
// of a negative number, a result that is not a finite number or overflows an int) is skipped and
// leaves its result as it was; every working value starts at 0.
[[nodiscard]] Course courseBetween(GeoPoint home, GeoPoint other);

// The calculation behind the bearing screen's "Calculate" button, from the texts of its home and
// other locator fields. Nothing when the other text is the placeholder "...". The bearing is "0"
// when the home text equals the other text as the field then stands (emptied when invalid).
[[nodiscard]] std::optional<BearingResult> calculateBearing(std::string_view home,
                                                            std::string_view other);

}  // namespace vantor
