#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "geo/locator.h"

namespace vantor {

// A line on the map, point after point, drawn open.
using Polyline = std::vector<GeoPoint>;

// The binned layout of GSHHG's netCDF files (the shorelines and the borders GMT draws), read
// into plain arrays. The world is cut into square bins of binSizeMinutes, numbered row by row
// from longitude 0 and latitude 90 eastwards and southwards: bin b has its south-west corner at
// longitude (b % binsAcross) and latitude 90 - (b / binsAcross + 1) bins. A bin names a run of
// segments (firstSegment, segmentCount), a segment a run of points (firstPoint, pointCount) and
// its level, and a point is its offset east and north of its bin's south-west corner in
// 1/65535 of the bin's side. A line that crosses bins is cut into one segment in each.
struct BinnedShores {
  int binSizeMinutes = 0;
  int binsAcross = 0;  // in 360 degrees of longitude
  int binsDown = 0;    // in 180 degrees of latitude
  // By bin.
  std::vector<int> firstSegment;
  std::vector<int> segmentCount;
  // By segment.
  std::vector<int> firstPoint;
  std::vector<int> pointCount;
  std::vector<int> level;
  // By point.
  std::vector<std::uint16_t> east;
  std::vector<std::uint16_t> north;
};

// The shorelines' levels: 1 land and ocean (Antarctica's ice front included), 2 a lake, 3 an
// island in a lake, 4 a pond on such an island; 6 is Antarctica's grounding line.
inline constexpr int kLandLevel = 1;
inline constexpr int kLakeLevel = 2;
// The borders' levels: 1 between nations, 2 inside a nation of the Americas, 3 at sea.
inline constexpr int kNationalBorderLevel = 1;

// The shoreline file keeps a segment's point count, level and the sides of its bin where it
// enters and leaves in one word; this fills pointCount and level from those words.
void unpackSegmentWords(const std::vector<int>& words, BinnedShores& shores);

// Every segment of a level from 1 to maxLevel as a polyline, bin after bin, longitudes from -180
// to 180. What the arrays do not agree on is skipped: a grid that does not cover the world, runs
// of segments or points past their arrays or negative, points a segment earlier took, segments
// of fewer than two points.
[[nodiscard]] std::vector<Polyline> decodeBinned(const BinnedShores& shores, int maxLevel);

// The coasts and borders the map draws.
struct Coastlines {
  std::vector<Polyline> shores;   // land and ocean, and lakes
  std::vector<Polyline> borders;  // between nations
};

// Where Debian's gmt-gshhg-low and its larger siblings put the files.
inline const std::filesystem::path kCoastlineFolder = "/usr/share/gmt-gshhg";

// binned_GSHHS_<resolution>.nc and binned_border_<resolution>.nc in the folder, resolution 'c'
// (crude), 'l' (low), 'i', 'h' or 'f'. Nothing when a file is missing, is not such a file or is
// too large. Calls from several threads take turns, as the netCDF library wants.
[[nodiscard]] std::optional<Coastlines> readCoastlines(const std::filesystem::path& folder,
                                                       char resolution);

}  // namespace vantor
