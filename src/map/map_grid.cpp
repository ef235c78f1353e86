#include "map/map_grid.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr int kFields = 18;
constexpr double kFieldWidth = 20;
constexpr double kFieldHeight = 10;
constexpr double kSquareWidth = 2;
constexpr double kSquareHeight = 1;
// How finely a grid line is drawn, in degrees.
constexpr double kFieldSampling = 1;
constexpr double kSquareSampling = 0.5;

// The points of a meridian between two latitudes, or of a parallel between two longitudes.
std::vector<GeoPoint> meridian(double longitude, double south, double north, double step) {
  std::vector<GeoPoint> points;
  const int count = static_cast<int>(std::ceil((north - south) / step));
  for (int i = 0; i <= count; ++i) {
    points.push_back({longitude, std::min(south + i * step, north)});
  }
  return points;
}

std::vector<GeoPoint> parallel(double latitude, double west, double east, double step) {
  std::vector<GeoPoint> points;
  const int count = static_cast<int>(std::ceil((east - west) / step));
  for (int i = 0; i <= count; ++i) {
    points.push_back({std::min(west + i * step, east), latitude});
  }
  return points;
}

// The grid line values in [low, high] that are multiples of `step` from `origin`.
std::vector<double> gridValues(double low, double high, double origin, double step) {
  std::vector<double> values;
  const double first = origin + std::ceil((low - origin) / step) * step;
  for (double value = first; value <= high + 1e-9; value += step) {
    values.push_back(value);
  }
  return values;
}

// Adds the projected points to `lines` as one or more lines, cut at the tears.
void addProjectedLine(std::vector<MapLine>& lines, const AzimuthalProjection& projection,
                      const std::vector<GeoPoint>& points) {
  MapLine line;
  for (const GeoPoint& point : points) {
    const MapPoint at = projection.project(point);
    if (!line.empty() &&
        distanceOf({at.east - line.back().east, at.north - line.back().north}) > kLineTear) {
      if (line.size() > 1) {
        lines.push_back(std::move(line));
      }
      line.clear();
    }
    line.push_back(at);
  }
  if (line.size() > 1) {
    lines.push_back(std::move(line));
  }
}

}  // namespace

std::vector<Polyline> fieldLines() {
  std::vector<Polyline> lines;
  for (int field = 0; field < kFields; ++field) {
    lines.push_back(meridian(-180 + field * kFieldWidth, -90, 90, kFieldSampling));
  }
  for (int field = 1; field < kFields; ++field) {
    lines.push_back(parallel(-90 + field * kFieldHeight, -180, 180, kFieldSampling));
  }
  return lines;
}

std::vector<Polyline> squareLines(const GeoBox& box) {
  std::vector<Polyline> lines;
  for (const double longitude : gridValues(box.west, box.east, -180, kSquareWidth)) {
    lines.push_back(meridian(longitude, box.south, box.north, kSquareSampling));
  }
  for (const double latitude : gridValues(box.south, box.north, -90, kSquareHeight)) {
    lines.push_back(parallel(latitude, box.west, box.east, kSquareSampling));
  }
  return lines;
}

GeoBox visibleBox(const AzimuthalProjection& projection, const MapView& view) {
  constexpr int kSamples = 12;
  GeoBox box{180, -180, 90, -90};
  for (int i = 0; i <= kSamples; ++i) {
    for (int j = 0; j <= kSamples; ++j) {
      const ScreenPoint at{view.width() * i / double(kSamples),
                           view.height() * j / double(kSamples)};
      const auto point = projection.pointOf(view.toMap(at));
      if (!point) {
        return {};
      }
      box = {std::min(box.west, point->longitude), std::max(box.east, point->longitude),
             std::min(box.south, point->latitude), std::max(box.north, point->latitude)};
    }
  }
  // A pole in view, or the date line crossed: every longitude may show.
  const double pad = kSquareHeight;
  for (const double pole : {90.0, -90.0}) {
    const ScreenPoint at = view.toScreen(projection.project({0, pole}));
    if (at.x >= 0 && at.x <= view.width() && at.y >= 0 && at.y <= view.height()) {
      box.west = -180;
      box.east = 180;
      (pole > 0 ? box.north : box.south) = pole;
    }
  }
  if (box.east - box.west > 180) {
    box.west = -180;
    box.east = 180;
  }
  return {std::max(box.west - kSquareWidth, -180.0), std::min(box.east + kSquareWidth, 180.0),
          std::max(box.south - pad, -90.0), std::min(box.north + pad, 90.0)};
}

GeoPoint squareCorner(std::uint16_t square) {
  const int field = square / 100;
  const int digits = square % 100;
  return {-180 + (field / kFields) * kFieldWidth + (digits / 10) * kSquareWidth,
          -90 + (field % kFields) * kFieldHeight + (digits % 10) * kSquareHeight};
}

std::array<MapPoint, 8> squareOutline(const AzimuthalProjection& projection, std::uint16_t square) {
  const GeoPoint c = squareCorner(square);
  const double w = kSquareWidth;
  const double h = kSquareHeight;
  const std::array<GeoPoint, 8> corners{{{c.longitude, c.latitude},
                                         {c.longitude + w / 2, c.latitude},
                                         {c.longitude + w, c.latitude},
                                         {c.longitude + w, c.latitude + h / 2},
                                         {c.longitude + w, c.latitude + h},
                                         {c.longitude + w / 2, c.latitude + h},
                                         {c.longitude, c.latitude + h},
                                         {c.longitude, c.latitude + h / 2}}};
  std::array<MapPoint, 8> outline;
  std::transform(corners.begin(), corners.end(), outline.begin(),
                 [&projection](GeoPoint point) { return projection.project(point); });
  return outline;
}

std::vector<FieldLabel> fieldLabels(const AzimuthalProjection& projection) {
  std::vector<FieldLabel> labels;
  for (int lon = 0; lon < kFields; ++lon) {
    for (int lat = 0; lat < kFields; ++lat) {
      const GeoPoint centre{-180 + (lon + 0.5) * kFieldWidth, -90 + (lat + 0.5) * kFieldHeight};
      labels.push_back({std::string{char('A' + lon), char('A' + lat)}, projection.project(centre)});
    }
  }
  return labels;
}

MapLines projectedLines(const AzimuthalProjection& projection,
                        const std::vector<Polyline>& polylines) {
  MapLines projected;
  for (const Polyline& polyline : polylines) {
    addProjectedLine(projected.lines, projection, polyline);
  }
  for (const MapLine& line : projected.lines) {
    MapBox box{line[0].east, line[0].east, line[0].north, line[0].north};
    for (const MapPoint& point : line) {
      box = {std::min(box.west, point.east), std::max(box.east, point.east),
             std::min(box.south, point.north), std::max(box.north, point.north)};
    }
    projected.boxes.push_back(box);
  }
  return projected;
}

bool inView(const MapView& view, const MapBox& box) {
  const MapPoint topLeft = view.toMap({0, 0});
  const MapPoint bottomRight = view.toMap({double(view.width()), double(view.height())});
  return box.east >= topLeft.east && box.west <= bottomRight.east &&
         box.north >= bottomRight.north && box.south <= topLeft.north;
}

}  // namespace vantor
