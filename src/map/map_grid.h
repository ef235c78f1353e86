#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geo/map_projection.h"
#include "map/coastlines.h"
#include "map/map_view.h"

namespace vantor {

// A line drawn on the map, place by place.
using MapLine = std::vector<MapPoint>;

// Longitudes and latitudes in degrees, west to east and south to north.
struct GeoBox {
  double west = -180;
  double east = 180;
  double south = -90;
  double north = 90;
};

// The Maidenhead grid: lines of equal longitude and latitude in short steps, to be projected
// (projectedLines cuts them where the projection tears, near the antipode).
// The fields' boundaries: every 20 degrees of longitude and 10 of latitude.
[[nodiscard]] std::vector<Polyline> fieldLines();
// The squares' boundaries (every 2 degrees of longitude and 1 of latitude) inside a box.
[[nodiscard]] std::vector<Polyline> squareLines(const GeoBox& box);
// A box holding every point the view shows (generously: a little more may be in it).
[[nodiscard]] GeoBox visibleBox(const AzimuthalProjection& projection, const MapView& view);

// The outline of a square (a number of squareOf): its corners and the middles of its sides.
[[nodiscard]] std::array<MapPoint, 8> squareOutline(const AzimuthalProjection& projection,
                                                    std::uint16_t square);
// The south-west corner of a square, in degrees.
[[nodiscard]] GeoPoint squareCorner(std::uint16_t square);

// A field's two letters ("JN") and the place of its centre.
struct FieldLabel {
  std::string name;
  MapPoint at;
};
[[nodiscard]] std::vector<FieldLabel> fieldLabels(const AzimuthalProjection& projection);

// A map line cut where one step jumps farther than this (km): only the projection's tear does.
inline constexpr double kLineTear = 1500;

// Lines of the map with the box each lies in, so that those out of view are passed over.
struct MapBox {
  double west = 0;
  double east = 0;
  double south = 0;
  double north = 0;
};
struct MapLines {
  std::vector<MapLine> lines;
  std::vector<MapBox> boxes;
};
// The coasts' or borders' polylines projected, cut at the tears.
[[nodiscard]] MapLines projectedLines(const AzimuthalProjection& projection,
                                      const std::vector<Polyline>& polylines);
// Whether a box of the map shows in the view.
[[nodiscard]] bool inView(const MapView& view, const MapBox& box);

}  // namespace vantor
