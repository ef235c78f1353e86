#include "geo/locator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

#include "form/text.h"
#include "form/utf8.h"
#include "form/windows1252.h"

namespace vantor {

namespace {

// The calculator's own constants. Its results depend on them, the six-decimal pi included.
constexpr double kPi = 3.141592;
constexpr double kRadiansPerDegree = kPi / 180;
constexpr double kLongitudeOffset = 0.0001;
constexpr double kLatitudeNudge = 0.00001;
constexpr double kBearingThreshold = -0.9999999;

// The bearing field's text when both locator fields hold the same text.
constexpr std::string_view kSameTexts = "0";

constexpr std::size_t kLocatorLength = 6;
constexpr std::size_t kShortLocatorLength = 4;
constexpr int kUnmappableCode = '?';
constexpr double kCannotPerform = std::numeric_limits<double>::quiet_NaN();

// The single-byte code of a character; "?" for one that Windows-1252 cannot hold and for a byte
// that does not start a UTF-8 character, which counts as a character of its own. An ASCII byte is
// its own code; the decoder is called directly for the rest.
int characterCode(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const auto decoded = decodeUtf8(text, pos);
  if (!decoded) {
    ++pos;
    return kUnmappableCode;
  }
  pos += decoded->length;
  const auto byte = windows1252Byte(decoded->codePoint);
  return byte ? *byte : kUnmappableCode;
}

bool inRange(int code, char first, char last) {
  return code >= first && code <= last;
}

// The first six characters of a prepared locator as the calculation takes them.
struct LocatorCodes {
  // Windows-1252 codes; a missing character counts as 0.
  std::array<int, kLocatorLength> codes{};
  // The prepared text's length in characters.
  std::size_t length = 0;
};

// The codes of the first six characters of an upper-case locator.
std::array<int, kLocatorLength> codesOf(std::string_view locator) {
  std::array<int, kLocatorLength> codes{};
  std::size_t pos = 0;
  for (int& code : codes) {
    if (pos >= locator.size()) {
      break;
    }
    code = characterCode(locator, pos);
  }
  return codes;
}

// A prepared locator that is complete: AA00AA with field letters up to R and subsquare letters
// up to X. A character beyond ASCII has no code in these ranges.
bool isComplete(const LocatorCodes& locator) {
  const auto& c = locator.codes;
  return locator.length == kLocatorLength && inRange(c[0], 'A', 'R') && inRange(c[1], 'A', 'R') &&
         inRange(c[2], '0', '9') && inRange(c[3], '0', '9') && inRange(c[4], 'A', 'X') &&
         inRange(c[5], 'A', 'X');
}

// The centre of the subsquare that the six codes name.
GeoPoint pointOf(const std::array<int, kLocatorLength>& codes) {
  std::array<double, kLocatorLength> c{};
  std::copy(codes.begin(), codes.end(), c.begin());
  return GeoPoint{(c[0] - 65) * 20 - 180 + (c[2] - 48) * 2 + (c[4] - 64.5) / 12,
                  (c[1] - 65) * 10 - 90 + (c[3] - 48) + (c[5] - 64.5) / 24};
}

int sgn(double x) {
  return (x > 0) - (x < 0);
}

// One statement of the calculation: `value` takes the result when the statement could be
// performed. One that could not (its result is no finite number) is skipped and `value` keeps
// what it had.
void perform(double& value, double result) {
  if (std::isfinite(result)) {
    value = result;
  }
}

// A whole number of the result: a step whose result does not fit an int is skipped as well.
void perform(int& value, double result) {
  if (result >= std::numeric_limits<int>::min() && result <= std::numeric_limits<int>::max()) {
    value = static_cast<int>(result);
  }
}

// A division by zero, or one that overflows, cannot be performed. Its NaN carries through the
// rest of the statement, an arctangent included, which would turn an infinite quotient into a
// finite angle.
double divide(double dividend, double divisor) {
  if (divisor == 0.0) {
    return kCannotPerform;
  }
  const double quotient = dividend / divisor;
  return std::isfinite(quotient) ? quotient : kCannotPerform;
}

// The arc cosine as the calculator builds it from arctangent and square root, in 0 to pi.
double arcCosine(double x) {
  return std::atan(divide(std::sqrt(1 - x * x), x)) + (kPi / 2) * (1 - sgn(x));
}

// A whole number as the distance and bearing fields show it: one blank in front of a number of
// zero or more (" 349").
std::string resultText(int value) {
  // Room for the blank or sign and every digit of an int.
  std::array<char, 16> text{' '};
  const auto converted = std::to_chars(text.data() + 1, text.data() + text.size(), value);
  return value < 0 ? std::string(text.data() + 1, converted.ptr)
                   : std::string(text.data(), converted.ptr);
}

char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A typed locator made ready for use, with its length in characters.
struct Prepared {
  Locator text;
  std::size_t length;
};

// Upper case, and "LL" appended to one to four characters.
Prepared prepare(std::string_view typed) {
  const bool ascii = isAscii(typed);
  Prepared prepared{ascii ? Locator(typed) : toUpper(typed), 0};
  if (ascii) {
    std::transform(prepared.text.begin(), prepared.text.end(), prepared.text.begin(), upperAscii);
    prepared.length = prepared.text.size();
  } else {
    prepared.length = charCount(prepared.text);
  }
  if (prepared.length >= 1 && prepared.length <= kShortLocatorLength) {
    prepared.text += "LL";
    prepared.length += 2;
  }
  return prepared;
}

// The codes of the typed text once prepared. Locators are nearly always typed in ASCII, whose
// first six bytes are read in place without building the prepared text.
LocatorCodes preparedCodes(std::string_view typed) {
  if (!isAscii(typed)) {
    const Prepared prepared = prepare(typed);
    return {codesOf(prepared.text), prepared.length};
  }
  LocatorCodes locator{{}, typed.size()};
  std::transform(typed.begin(), typed.begin() + std::min(typed.size(), kLocatorLength),
                 locator.codes.begin(), upperAscii);
  if (locator.length >= 1 && locator.length <= kShortLocatorLength) {
    locator.codes[locator.length] = 'L';
    locator.codes[locator.length + 1] = 'L';
    locator.length += 2;
  }
  return locator;
}

}  // namespace

Locator preparedLocator(std::string_view typed) {
  return prepare(typed).text;
}

bool isValidLocator(std::string_view typed) {
  return isComplete(preparedCodes(typed));
}

std::optional<std::uint16_t> squareOf(std::string_view typed) {
  const LocatorCodes locator = preparedCodes(typed);
  if (!isComplete(locator)) {
    return std::nullopt;
  }
  const auto& c = locator.codes;
  return static_cast<std::uint16_t>(((c[0] - 'A') * 18 + (c[1] - 'A')) * 100 + (c[2] - '0') * 10 +
                                    (c[3] - '0'));
}

GeoPoint locatorToPoint(std::string_view locator) {
  return pointOf(codesOf(locator));
}

Course courseBetween(GeoPoint home, GeoPoint other) {
  // Every working value starts at 0, so a skipped statement leaves 0 or its earlier result.
  double w1 = 0, w2 = 0, t1 = 0, t2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0, d = 0, c = 0, a = 0, b = 0;
  Course course;

  // Longitudes west positive.
  perform(w1, -home.longitude);
  perform(w2, -other.longitude);
  perform(t1, home.latitude);
  perform(t2, other.latitude);

  // Distance.
  if (t1 == 0 && t2 == 0) {
    perform(t1, t1 + kLatitudeNudge);
  }
  // The east longitude brought into 0 to 360 degrees, in radians.
  perform(x1, (180 * (sgn(w1 - kLongitudeOffset) + 1) - w1) * kRadiansPerDegree);
  perform(x2, (180 * (sgn(w2 - kLongitudeOffset) + 1) - w2) * kRadiansPerDegree);
  perform(y1, t1 * kRadiansPerDegree);
  perform(y2, t2 * kRadiansPerDegree);
  perform(d, x1 - x2 + kLongitudeOffset);
  perform(d, d + (1 - sgn(d)) * kPi);
  const double sinY1 = std::sin(y1);
  const double sinY2 = std::sin(y2);
  const double cosY1 = std::cos(y1);
  perform(c, sinY1 * sinY2 + cosY1 * std::cos(y2) * std::cos(d));
  perform(a, arcCosine(c));
  perform(course.distance, std::floor(kEarthRadiusKm * a + 0.5));

  // Bearing: b is first its cosine, then the angle.
  perform(b, divide(divide(sinY2 - c * sinY1, std::sin(a)), cosY1));
  if (b < kBearingThreshold) {
    perform(b, kPi);
  } else {
    perform(b, arcCosine(b));
  }
  perform(b, b * sgn(d - kPi) * sgn(kPi - a));
  perform(b, b + (1 - sgn(b)) * kPi);
  perform(course.bearing, std::floor(b / kRadiansPerDegree + 0.5));
  return course;
}

std::optional<BearingResult> calculateBearing(std::string_view home, std::string_view other) {
  if (other == kPlaceholder) {
    return std::nullopt;
  }
  const LocatorCodes homeLocator = preparedCodes(home);
  const LocatorCodes otherLocator = preparedCodes(other);

  std::optional<BearingResult> calculated(std::in_place);
  BearingResult& result = *calculated;
  result.homeTooLong = homeLocator.length > kLocatorLength;
  result.clearLocators = !isComplete(homeLocator) || !isComplete(otherLocator);

  const GeoPoint homePoint = pointOf(homeLocator.codes);
  const GeoPoint otherPoint = pointOf(otherLocator.codes);
  result.homeLatitude = ScratchNumber(homePoint.latitude);
  result.homeLongitude = ScratchNumber(-homePoint.longitude);
  result.otherLatitude = ScratchNumber(otherPoint.latitude);
  result.otherLongitude = ScratchNumber(-otherPoint.longitude);

  // The bearing "0" rule looks at the two field texts as they stand after this calculation.
  const bool sameTexts = home == (result.clearLocators ? std::string_view{} : other);
  if (result.clearLocators) {
    result.distance = std::string(kUnknownResult);
    result.bearing = std::string(sameTexts ? kSameTexts : kUnknownResult);
  } else {
    const Course course = courseBetween(homePoint, otherPoint);
    result.distance = resultText(course.distance);
    result.bearing = sameTexts ? std::string(kSameTexts) : resultText(course.bearing);
  }
  return calculated;
}

}  // namespace vantor
