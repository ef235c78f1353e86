#include "map/map_view.h"

#include <gtest/gtest.h>

#include "map/map_grid.h"

namespace vantor::testing {
namespace {

TEST(MapView, ZoomsAroundThePlaceUnderThePointerAndGoesHome) {
  MapView view(800, 600);
  EXPECT_DOUBLE_EQ(view.kmPerPixel(), 2 * MapView::kHomeReach / 600);
  const ScreenPoint pointer{600, 150};
  const MapPoint under = view.toMap(pointer);
  view.zoom(3, pointer);
  const ScreenPoint after = view.toScreen(under);
  EXPECT_NEAR(after.x, pointer.x, 1e-9);
  EXPECT_NEAR(after.y, pointer.y, 1e-9);
  view.pan(-100, 50);
  view.zoom(-200);
  EXPECT_DOUBLE_EQ(view.kmPerPixel(), 6 * AzimuthalProjection::kMapRim / 600);
  view.zoom(500);
  EXPECT_DOUBLE_EQ(view.kmPerPixel(), MapView::kClosest);
  view.goHome();
  const ScreenPoint home = view.toScreen({});
  EXPECT_DOUBLE_EQ(home.x, 400);
  EXPECT_DOUBLE_EQ(home.y, 300);
}

TEST(MapView, SpacesRingsAndShowsSquaresAsTheZoomAllows) {
  struct Case {
    int steps;
    double ringStep;
    bool squares;
  };
  const Case cases[] = {{0, 500, true}, {4, 100, true}, {-6, 1000, false}, {-12, 5000, false}};
  for (const Case& c : cases) {
    MapView view(800, 600);
    view.zoom(c.steps);
    EXPECT_EQ(view.ringStep(), c.ringStep) << c.steps;
    EXPECT_EQ(view.showsSquares(), c.squares) << c.steps;
  }
}

TEST(MapView, FindsWhereABearingLeavesTheWindow) {
  struct Case {
    double bearing;
    double x;
    double y;
  };
  const Case cases[] = {{0, 400, 10}, {90, 790, 300}, {180, 400, 590}, {270, 10, 300}};
  MapView view(800, 600);
  for (const Case& c : cases) {
    const auto at = view.edgePoint(c.bearing, 10);
    ASSERT_TRUE(at) << c.bearing;
    EXPECT_NEAR(at->x, c.x, 1e-9) << c.bearing;
    EXPECT_NEAR(at->y, c.y, 1e-9) << c.bearing;
  }
  view.pan(-2000, 0);  // home far to the left of the window
  EXPECT_FALSE(view.edgePoint(270, 10));
  EXPECT_TRUE(view.edgePoint(90, 10));
}

TEST(MapGrid, DrawsTheFieldsAndTheSquaresInView) {
  const AzimuthalProjection projection(locatorToPoint("JN81GD"));
  const auto fields = projectedLines(projection, fieldLines()).lines;
  EXPECT_GE(fields.size(), 18u + 17u);
  for (const MapLine& line : fields) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      ASSERT_LE(distanceOf({line[i].east - line[i - 1].east, line[i].north - line[i - 1].north}),
                kLineTear);
    }
  }
  MapView view(800, 600);
  view.zoom(8);
  const GeoBox box = visibleBox(projection, view);
  const GeoPoint home = projection.centre();
  EXPECT_LT(box.west, home.longitude);
  EXPECT_GT(box.east, home.longitude);
  EXPECT_LT(box.east - box.west, 20);
  EXPECT_FALSE(squareLines(box).empty());
  // JN81: its south-west corner and its outline's first point.
  const std::uint16_t square = *squareOf("JN81GD");
  EXPECT_DOUBLE_EQ(squareCorner(square).longitude, 16);
  EXPECT_DOUBLE_EQ(squareCorner(square).latitude, 41);
  const MapPoint corner = squareOutline(projection, square)[0];
  const MapPoint expected = projection.project({16, 41});
  EXPECT_DOUBLE_EQ(corner.east, expected.east);
  EXPECT_DOUBLE_EQ(corner.north, expected.north);
}

}  // namespace
}  // namespace vantor::testing
