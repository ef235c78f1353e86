#pragma once

#include <numbers>
#include <optional>

#include "geo/locator.h"

namespace vantor {

// A place on the map in kilometres from its centre, east and north positive.
struct MapPoint {
  double east = 0;
  double north = 0;
};

// The distance of a place of the map from its centre in kilometres, and its bearing from there in
// degrees, 0 to below 360: on an azimuthal equidistant map, the great-circle distance and the
// initial bearing from the centre.
[[nodiscard]] double distanceOf(MapPoint point);
[[nodiscard]] double bearingOf(MapPoint point);

// The place at a distance and bearing from the centre.
[[nodiscard]] MapPoint pointAt(double distance, double bearing);

// The azimuthal equidistant projection around a centre on the calculator's Earth: each point
// lies at its great-circle distance from the centre, in the direction of its initial bearing,
// north up. The whole Earth is a disc of radius kMapRim; the antipode, which has no bearing, is
// drawn on the rim due north.
class AzimuthalProjection {
 public:
  static constexpr double kMapRim = kEarthRadiusKm * std::numbers::pi;

  explicit AzimuthalProjection(GeoPoint centre);

  [[nodiscard]] GeoPoint centre() const { return m_centre; }
  [[nodiscard]] MapPoint project(GeoPoint point) const;
  // The point a place of the map shows; nothing beyond the rim.
  [[nodiscard]] std::optional<GeoPoint> pointOf(MapPoint place) const;

 private:
  GeoPoint m_centre;
  double m_sinLatitude = 0;
  double m_cosLatitude = 1;
};

}  // namespace vantor
