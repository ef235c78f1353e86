#include "geo/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

namespace vantor::testing {
namespace {

// How far apart two bearings are, in degrees, across north.
double bearingGap(double a, double b) {
  const double gap = std::fmod(std::abs(a - b), 360.0);
  return std::min(gap, 360 - gap);
}

// Each locator lies on the map at the calculator's own distance and bearing from home (both
// rounded to whole numbers by the calculator).
TEST(AzimuthalProjection, PlacesEachLocatorAtTheCalculatorsDistanceAndBearing) {
  struct Case {
    std::string_view home;
    std::string_view other;
  };
  const Case cases[] = {
      {"JN81GD", "JN61FU"},  // 349 km west
      {"JN81GD", "KN02AA"},  // across the Adriatic
      {"JN81GD", "IO91WM"},  // London
      {"JN81GD", "FN31PR"},  // across the Atlantic
      {"JN81GD", "QF56OD"},  // Australia, beyond a quarter of the Earth
      {"JN81GD", "RP79XB"},  // just west of the date line
      {"JN81GD", "AP70AB"},  // just east of it
      {"KP20LE", "JN45KM"},  // another home
      {"AP70AB", "RP79XB"},  // across the date line from a home beside it
  };
  for (const Case& c : cases) {
    const GeoPoint home = locatorToPoint(c.home);
    const GeoPoint other = locatorToPoint(c.other);
    const MapPoint at = AzimuthalProjection(home).project(other);
    const Course course = courseBetween(home, other);
    EXPECT_NEAR(distanceOf(at), course.distance, 1.0) << c.home << " to " << c.other;
    EXPECT_LE(bearingGap(bearingOf(at), course.bearing), 1.0) << c.home << " to " << c.other;
  }
}

TEST(AzimuthalProjection, PutsHomeAtTheCentreAndAPlaceDueNorthAboveIt) {
  const GeoPoint home = locatorToPoint("JN81GD");
  const AzimuthalProjection projection(home);
  const MapPoint centre = projection.project(home);
  EXPECT_NEAR(centre.east, 0, 1e-9);
  EXPECT_NEAR(centre.north, 0, 1e-9);

  const auto north = projection.pointOf(pointAt(500, 0));
  ASSERT_TRUE(north);
  EXPECT_NEAR(north->longitude, home.longitude, 1e-9);
  const Course course = courseBetween(home, *north);
  EXPECT_EQ(course.distance, 500);
  EXPECT_EQ(course.bearing % 360, 0);
  const MapPoint back = projection.project(*north);
  EXPECT_NEAR(back.east, 0, 1e-6);
  EXPECT_NEAR(back.north, 500, 1e-6);
}

// The antipode has no bearing: it is drawn on the rim, due north, never as a number that is none.
TEST(AzimuthalProjection, PutsTheAntipodeOnTheRimDueNorth) {
  const GeoPoint home = locatorToPoint("JN81GD");
  const GeoPoint antipode{home.longitude - 180, -home.latitude};
  const MapPoint at = AzimuthalProjection(home).project(antipode);
  ASSERT_TRUE(std::isfinite(at.east) && std::isfinite(at.north));
  EXPECT_NEAR(distanceOf(at), AzimuthalProjection::kMapRim, 1e-6);
  EXPECT_NEAR(at.east, 0, 1e-6);
}

TEST(AzimuthalProjection, FindsThePointOfAPlaceAndNothingBeyondTheRim) {
  const AzimuthalProjection projection(locatorToPoint("JN81GD"));
  for (const std::string_view locator : {"IO91WM", "QF56OD", "RP79XB", "AP70AB", "AA00AA"}) {
    const GeoPoint point = locatorToPoint(locator);
    const auto back = projection.pointOf(projection.project(point));
    ASSERT_TRUE(back) << locator;
    EXPECT_NEAR(back->latitude, point.latitude, 1e-6) << locator;
    EXPECT_LE(bearingGap(back->longitude, point.longitude), 1e-6) << locator;
  }
  EXPECT_FALSE(projection.pointOf({0, AzimuthalProjection::kMapRim + 1}));
}

}  // namespace
}  // namespace vantor::testing
