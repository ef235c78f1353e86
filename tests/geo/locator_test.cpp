#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {
namespace {

const std::string kLongText(10'000, 'A');

TEST(CalculateBearing, GivesTheWorkedExamples) {
  struct Example {
    std::string home, other, distance, bearing;
  };
  const std::vector<Example> examples{
      {"JN81GD", "JN61FU", " 349", " 284"},
      {"JN81GD", "KN02AA", " 306", " 70"},
      {"JN81GD", "JN81", " 50", " 43"},  // the subsquare LL
      // The cosine of the bearing just above the threshold, then below it (the angle is pi).
      {"JN81GD", "JM81GD", " 1109", " 180"},
      {"JN81GD", "JL81GD", " 2219", " 180"},
      {"JN81GD", "JO81GD", " 1109", " 360"},  // not folded to 0
      {"JN81GD", "RR09XX", " 5422", " 0"},
      {"JN81GD", "QF22", " 15590", " 102"},  // a negative cosine of the central angle
      {"JN81GD", "FN20LL", " 7291", " 303"},
      {"AA00AA", "RR99XX", " 19966", " 358"},
      // The longitude offset alone makes 0.48 km here and 0.64 km near the equator.
      {"JN81GD", "JN81GD", " 0", "0"},
      {"JJ00AA", "JJ00AA", " 1", "0"},
      {"JJ00AA", "JJ00AB", " 5", " 352"},
      {"jn81gd", "jn61fu", " 349", " 284"},
      {"jn81gd", "jn81gd", " 0", "0"}};
  for (const Example& example : examples) {
    SCOPED_TRACE(example.home + " to " + example.other);
    const auto result = calculateBearing(example.home, example.other);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->distance, example.distance);
    EXPECT_EQ(result->bearing, example.bearing);
    EXPECT_FALSE(result->clearLocators);
    EXPECT_FALSE(result->homeTooLong);
  }
}

TEST(CalculateBearing, GivesNoDistanceForInvalidInput) {
  struct Invalid {
    std::string home, other, bearing;
    bool homeTooLong;
  };
  const std::vector<Invalid> inputs{{"JN81GD", "JNX1GD", "??????", false},
                                    {"JN81GD", "JN8XGD", "??????", false},
                                    {"JN81GD", "", "??????", false},
                                    {"JN81GD", "JN8", "??????", false},
                                    {"JN81GD", "jn81g", "??????", false},
                                    {"JN81GD", "SN81GD", "??????", false},
                                    {"JN81GD", "JN81GY", "??????", false},
                                    {"JN81GD", "JN81GDX", "??????", false},
                                    {"JN81GD", "....", "??????", false},
                                    {"JN81GD", "JN81G😀", "??????", false},
                                    {"JN81GD", kLongText, "??????", false},
                                    {"...", "JN61FU", "??????", false},
                                    // The other text then stands empty like the home text.
                                    {"", "JN61FU", "0", false},
                                    {"", "", "0", false},
                                    {"jn81gdx", "JN61FU", "??????", true},
                                    {"JN81GD😀", "JN61FU", "??????", true},
                                    {kLongText, "JN61FU", "??????", true},
                                    // Six characters in seven bytes are not too long.
                                    {"JN81GÀ", "JN61FU", "??????", false}};
  for (const Invalid& input : inputs) {
    SCOPED_TRACE(input.home.substr(0, 8) + " to " + input.other.substr(0, 8));
    const auto result = calculateBearing(input.home, input.other);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->clearLocators);
    EXPECT_EQ(result->distance, "??????");
    EXPECT_EQ(result->bearing, input.bearing);
    EXPECT_EQ(result->homeTooLong, input.homeTooLong);
  }
}

TEST(CalculateBearing, DoesNothingForThePlaceholderOnly) {
  EXPECT_FALSE(calculateBearing("JN81GD", "...").has_value());
  EXPECT_FALSE(calculateBearing("JN81GDXX", "...").has_value());
  EXPECT_TRUE(calculateBearing("JN81GD", " ...").has_value());
}

TEST(CalculateBearing, GivesTheCoordinatesWestPositiveEvenForInvalidInput) {
  const auto valid = calculateBearing("JN81GD", "JN61FU");
  ASSERT_TRUE(valid.has_value());
  EXPECT_EQ(valid->homeLatitude, "41.1458333333333");
  EXPECT_EQ(valid->homeLongitude, "-16.5416666666667");
  EXPECT_EQ(valid->otherLatitude, "41.8541666666667");
  EXPECT_EQ(valid->otherLongitude, "-12.4583333333333");

  // "JN8" becomes "JN8LL", whose missing sixth code counts as 0; an empty text has no codes.
  const auto partial = calculateBearing("", "JN8");
  ASSERT_TRUE(partial.has_value());
  EXPECT_EQ(partial->homeLatitude, "-790.6875");
  EXPECT_EQ(partial->homeLongitude, "1581.375");
  EXPECT_EQ(partial->otherLatitude, "65.3125");
  EXPECT_EQ(partial->otherLongitude, "-16.9583333333333");
}

TEST(LocatorToPoint, TakesTheWindows1252CodeOfEachCharacter) {
  const GeoPoint jn81ll = locatorToPoint("JN81LL");
  EXPECT_DOUBLE_EQ(jn81ll.longitude, 16 + 23.0 / 24);
  EXPECT_DOUBLE_EQ(jn81ll.latitude, 41 + 23.0 / 48);
  const std::vector<std::pair<std::string, double>> sixthCharacters{
      {"JN81GD", 'D'},        {"JN81G", 0},    {"JN81GÀ", 0xC0}, {"JN81G€", 0x80},
      {"JN81GŸ", 0x9F},       {"JN81G😀", '?'}, {"JN81G日", '?'}, {"JN81G\xff", '?'},
      {"JN81G\xc2\x81", '?'},  // a control character Windows-1252 has no place for
      {"JN81G\xc2\x80", '?'}};
  for (const auto& [locator, code] : sixthCharacters) {
    EXPECT_DOUBLE_EQ(locatorToPoint(locator).latitude, 41 + (code - 64.5) / 24) << locator;
  }
}

TEST(IsValidLocator, AcceptsOnlyCompleteLocatorsInRange) {
  for (const char* valid : {"JN81GD", "jn81gd", "JN81", "jn81", "AA00AA", "RR99XX"}) {
    EXPECT_TRUE(isValidLocator(valid)) << valid;
  }
  for (const char* invalid :
       {"", "J", "JN", "JN8", "JN81G", "JN81GDX", "...", "SN81GD", "JS81GD", "JN81YD", "JN81GY",
        "JNX1GD", "JN8XGD", "JN81GÐ", "ÀN81GD", "JN81G😀", "JN 1GD"}) {
    EXPECT_FALSE(isValidLocator(invalid)) << invalid;
  }
  EXPECT_FALSE(isValidLocator(kLongText));
  EXPECT_EQ(preparedLocator("àè"), "ÀÈLL");
}

// Each square has a number of its own, the same for its locators of six characters, for the
// square typed alone and in either case; a text that is no valid locator has no square.
TEST(SquareOf, NumbersTheSquareOfAValidLocator) {
  const struct {
    std::string_view locator;
    std::optional<std::uint16_t> square;
  } cases[] = {
      {"AA00AA", 0},     {"AA01XX", 1},     {"AA10AA", 10},    {"AB00AA", 100}, {"BA00AA", 1800},
      {"RR99XX", 32399}, {"JN61FU", 17561}, {"jn61aa", 17561}, {"JN61", 17561}, {"jn61", 17561},
      {"JN6", {}},       {"JN61F", {}},     {"JN61YA", {}},    {"SN61FU", {}},  {"JN61FUX", {}},
      {"", {}},          {"ÀN61FU", {}},    {"JN 1FU", {}},    {kLongText, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(squareOf(c.locator), c.square) << c.locator;
  }
}

TEST(CourseBetween, SkipsTheStepsThatCannotBePerformed) {
  struct Case {
    GeoPoint home, other;
    int distance, bearing;
  };
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Case> cases{
      // The cosine of the central angle is exactly 1: the angle is 0, so the cosine of the
      // bearing (a division by its sine) stays 0, its arctangent (a division by it) is skipped,
      // and 0 turns into pi.
      {{0, 90}, {0, 90}, 0, 180},
      // The cosine of the central angle is exactly 0: the angle stays 0 instead of about a
      // quarter turn (9985 km).
      {{0, 30.5}, {69.70333527414502, -30.5}, 0, 180},
      // The cosine of the bearing comes out just above 1: no square root, so it stays as the
      // angle in radians.
      {{10, -80}, {10.005729579143313, -79}, 111, 303},
      // Both latitudes 0: the nudged home latitude makes the cosine of the bearing slightly
      // negative instead of 0, so its arctangent can be taken.
      {{0, 0}, {10, 0}, 1109, 90},
      // Coordinates that are no numbers are never taken: they stay 0.
      {{kNaN, kNaN}, {10, 0}, 1109, 90}};
  for (const Case& c : cases) {
    const Course course = courseBetween(c.home, c.other);
    EXPECT_EQ(course.distance, c.distance) << c.other.longitude;
    EXPECT_EQ(course.bearing, c.bearing) << c.other.longitude;
  }
}

}  // namespace
}  // namespace vantor
