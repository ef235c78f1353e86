#include "map/coastlines.h"

#include <gtest/gtest.h>
#include <netcdf.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantor {
namespace {

// Two 20-degree bins at the world's top left, from 70 to 90 N: bin 0 from 0 to 20 E holds a coast
// from its south-west corner to its north-east one and a lake, bin 1 from 20 to 40 E the coast
// going on along its southern side.
BinnedShores twoBins() {
  BinnedShores shores;
  shores.binSizeMinutes = 1200;
  shores.binsAcross = 18;
  shores.binsDown = 9;
  shores.firstSegment = {0, 2};
  shores.segmentCount = {2, 1};
  shores.firstPoint = {0, 2, 5};
  shores.pointCount = {2, 3, 2};
  shores.level = {kLandLevel, kLakeLevel, kLandLevel};
  shores.east = {0, 65535, 13107, 26214, 13107, 0, 65535};
  shores.north = {0, 65535, 13107, 13107, 26214, 0, 0};
  return shores;
}

const Polyline kCoast = {{0, 70}, {20, 90}};
const Polyline kLake = {{4, 74}, {8, 74}, {4, 78}};
const Polyline kCoastGoingOn = {{20, 70}, {40, 70}};

bool samePoints(const Polyline& a, const Polyline& b) {
  const auto near = [](const GeoPoint& p, const GeoPoint& q) {
    return std::abs(p.longitude - q.longitude) < 1e-9 && std::abs(p.latitude - q.latitude) < 1e-9;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), near);
}

TEST(Coastlines, DecodeTheSegmentsOfTheLevelsAskedAndSkipWhatTheArraysDoNotAgreeOn) {
  const struct {
    const char* what;
    std::function<void(BinnedShores&)> change;
    int maxLevel;
    std::vector<Polyline> lines;
  } cases[] = {
      {"coast and lake", [](BinnedShores&) {}, kLakeLevel, {kCoast, kLake, kCoastGoingOn}},
      {"coast only", [](BinnedShores&) {}, kLandLevel, {kCoast, kCoastGoingOn}},
      {"a grid short of the world", [](BinnedShores& s) { s.binsAcross = 17; }, kLakeLevel, {}},
      {"no bin size", [](BinnedShores& s) { s.binSizeMinutes = 0; }, kLakeLevel, {}},
      {"a bin's segments past the end",
       [](BinnedShores& s) { s.segmentCount[1] = 2; },
       kLakeLevel,
       {kCoast, kLake}},
      {"a negative first segment",
       [](BinnedShores& s) { s.firstSegment[1] = -1; },
       kLakeLevel,
       {kCoast, kLake}},
      {"a negative segment count",
       [](BinnedShores& s) { s.segmentCount[0] = -2; },
       kLakeLevel,
       {kCoastGoingOn}},
      {"one level short", [](BinnedShores& s) { s.level.pop_back(); }, kLakeLevel, {kCoast, kLake}},
      {"a level below land",
       [](BinnedShores& s) { s.level[0] = 0; },
       kLakeLevel,
       {kLake, kCoastGoingOn}},
      {"points past the end",
       [](BinnedShores& s) { s.pointCount[2] = 3; },
       kLakeLevel,
       {kCoast, kLake}},
      {"one offset short", [](BinnedShores& s) { s.east.pop_back(); }, kLakeLevel, {kCoast, kLake}},
      {"a negative first point",
       [](BinnedShores& s) { s.firstPoint[1] = -1; },
       kLakeLevel,
       {kCoast, kCoastGoingOn}},
      {"points another segment took",
       [](BinnedShores& s) { s.firstPoint[2] = 1; },
       kLakeLevel,
       {kCoast, kLake}},
      {"a single point",
       [](BinnedShores& s) { s.pointCount[0] = 1; },
       kLakeLevel,
       {kLake, kCoastGoingOn}},
      {"a segment two bins name",
       [](BinnedShores& s) { s.firstSegment[1] = 0; },
       kLakeLevel,
       {kCoast, kLake}},
  };
  for (const auto& [what, change, maxLevel, lines] : cases) {
    BinnedShores shores = twoBins();
    change(shores);
    const std::vector<Polyline> decoded = decodeBinned(shores, maxLevel);
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), lines.begin(), lines.end(), samePoints))
        << what;
  }
}

// The bin from 180 to 200 E, the tenth of the top row, reaches past the date line.
TEST(Coastlines, GiveLongitudesFromMinus180To180) {
  BinnedShores shores = twoBins();
  shores.firstSegment.assign(10, 0);
  shores.segmentCount.assign(10, 0);
  shores.firstSegment[9] = 2;
  shores.segmentCount[9] = 1;
  const std::vector<Polyline> decoded = decodeBinned(shores, kLandLevel);
  ASSERT_EQ(decoded.size(), 1U);
  EXPECT_TRUE(samePoints(decoded[0], {{180, 70}, {-160, 70}}));
}

TEST(Coastlines, UnpackTheShorelineWords) {
  const struct {
    int word;
    int pointCount;
    int level;
  } cases[] = {
      {(12 << 9) | (1 << 6) | (2 << 3) | 3, 12, 1},
      {(5 << 9) | (6 << 6) | 4, 5, 6},
      {0, 0, 0},
      {-1, 0x7FFFFF, 7},
  };
  for (const auto& [word, pointCount, level] : cases) {
    BinnedShores shores;
    unpackSegmentWords({word}, shores);
    EXPECT_EQ(shores.pointCount, std::vector<int>{pointCount}) << word;
    EXPECT_EQ(shores.level, std::vector<int>{level}) << word;
  }
}

double kilometresBetween(const GeoPoint& a, const GeoPoint& b) {
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double halfLatitude = std::sin((b.latitude - a.latitude) * kRadians / 2);
  const double halfLongitude = std::sin((b.longitude - a.longitude) * kRadians / 2);
  const double h = halfLatitude * halfLatitude + std::cos(a.latitude * kRadians) *
                                                     std::cos(b.latitude * kRadians) *
                                                     halfLongitude * halfLongitude;
  return 2 * 6371.0 * std::asin(std::sqrt(h));
}

bool isInRange(const Polyline& line) {
  return line.size() >= 2 && std::all_of(line.begin(), line.end(), [](const GeoPoint& point) {
           return std::abs(point.longitude) <= 180.0 && std::abs(point.latitude) <= 90.0;
         });
}

bool isInSicily(const GeoPoint& point) {
  return point.longitude > 12.0 && point.longitude < 15.8 && point.latitude > 36.5 &&
         point.latitude < 38.5;
}

TEST(Coastlines, ReadDebiansCrudeFiles) {
  const std::optional<Coastlines> coastlines = readCoastlines(kCoastlineFolder, 'c');
  ASSERT_TRUE(coastlines.has_value()) << "gmt-gshhg-low is installed";
  EXPECT_FALSE(coastlines->shores.empty());
  EXPECT_FALSE(coastlines->borders.empty());
  EXPECT_TRUE(std::all_of(coastlines->shores.begin(), coastlines->shores.end(), isInRange));
  EXPECT_TRUE(std::all_of(coastlines->borders.begin(), coastlines->borders.end(), isInRange));

  const GeoPoint leuca{18.36, 39.79};
  double nearest = 1e9;
  for (const Polyline& line : coastlines->shores) {
    for (const GeoPoint& point : line) {
      nearest = std::min(nearest, kilometresBetween(point, leuca));
    }
  }
  EXPECT_LT(nearest, 20.0);
  const auto isSicily = [](const Polyline& line) {
    return line.size() >= 4 && std::all_of(line.begin(), line.end(), isInSicily);
  };
  EXPECT_TRUE(std::any_of(coastlines->shores.begin(), coastlines->shores.end(), isSicily));
}

// A netCDF file that holds the grid's size and nothing else.
void writeBareNetcdf(const std::filesystem::path& path) {
  int file = 0;
  int dimension = 0;
  int variable = 0;
  const int size = 1200;
  ASSERT_EQ(nc_create(path.c_str(), NC_CLOBBER | NC_NETCDF4, &file), NC_NOERR);
  ASSERT_EQ(nc_def_dim(file, "Dimension_of_scalar", 1, &dimension), NC_NOERR);
  ASSERT_EQ(nc_def_var(file, "Bin_size_in_minutes", NC_INT, 1, &dimension, &variable), NC_NOERR);
  ASSERT_EQ(nc_put_var_int(file, variable, &size), NC_NOERR);
  ASSERT_EQ(nc_close(file), NC_NOERR);
}

TEST(Coastlines, ReadNothingWithoutTheFiles) {
  const testing::TempFolder garbled;
  testing::writeBytes(garbled.path() / "binned_GSHHS_c.nc", "CDF\1 not really");
  testing::writeBytes(garbled.path() / "binned_border_c.nc", std::string(4096, '\x89'));
  const testing::TempFolder bare;
  writeBareNetcdf(bare.path() / "binned_GSHHS_c.nc");
  writeBareNetcdf(bare.path() / "binned_border_c.nc");
  const testing::TempFolder shoresOnly;
  std::filesystem::copy_file(kCoastlineFolder / "binned_GSHHS_c.nc",
                             shoresOnly.path() / "binned_GSHHS_c.nc");

  EXPECT_FALSE(readCoastlines(garbled.path() / "missing", 'c'));
  EXPECT_FALSE(readCoastlines(garbled.path(), 'c'));
  EXPECT_FALSE(readCoastlines(bare.path(), 'c'));
  EXPECT_FALSE(readCoastlines(shoresOnly.path(), 'c'));
  EXPECT_FALSE(readCoastlines(kCoastlineFolder, 'x'));
}

}  // namespace
}  // namespace vantor
