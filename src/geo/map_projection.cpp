#include "geo/map_projection.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// An angle in degrees brought into [0, 360).
double wholeTurn(double degrees) {
  const double turned = std::fmod(degrees, 360.0);
  return turned < 0 ? turned + 360.0 : turned;
}

}  // namespace

double distanceOf(MapPoint point) {
  return std::hypot(point.east, point.north);
}

double bearingOf(MapPoint point) {
  return wholeTurn(std::atan2(point.east, point.north) / kRadiansPerDegree);
}

MapPoint pointAt(double distance, double bearing) {
  const double angle = bearing * kRadiansPerDegree;
  return {distance * std::sin(angle), distance * std::cos(angle)};
}

AzimuthalProjection::AzimuthalProjection(GeoPoint centre)
    : m_centre(centre),
      m_sinLatitude(std::sin(centre.latitude * kRadiansPerDegree)),
      m_cosLatitude(std::cos(centre.latitude * kRadiansPerDegree)) {}

MapPoint AzimuthalProjection::project(GeoPoint point) const {
  const double latitude = point.latitude * kRadiansPerDegree;
  const double east = (point.longitude - m_centre.longitude) * kRadiansPerDegree;
  const double sinLatitude = std::sin(latitude);
  const double cosLatitude = std::cos(latitude);
  const double cosEast = std::cos(east);
  const double cosAngle = m_sinLatitude * sinLatitude + m_cosLatitude * cosLatitude * cosEast;
  const double angle = std::acos(std::clamp(cosAngle, -1.0, 1.0));
  const double x = std::sin(east) * cosLatitude;
  const double y = m_cosLatitude * sinLatitude - m_sinLatitude * cosLatitude * cosEast;
  if (std::hypot(x, y) < 1e-12) {
    // The centre itself, or its antipode, which is put due north on the rim.
    return {0, angle * kEarthRadiusKm};
  }
  const double bearing = std::atan2(x, y);
  const double distance = angle * kEarthRadiusKm;
  return {distance * std::sin(bearing), distance * std::cos(bearing)};
}

std::optional<GeoPoint> AzimuthalProjection::pointOf(MapPoint place) const {
  const double angle = distanceOf(place) / kEarthRadiusKm;
  if (angle > std::numbers::pi) {
    return std::nullopt;
  }
  const double bearing = std::atan2(place.east, place.north);
  const double sinAngle = std::sin(angle);
  const double cosAngle = std::cos(angle);
  const double latitude = std::asin(std::clamp(
      m_sinLatitude * cosAngle + m_cosLatitude * sinAngle * std::cos(bearing), -1.0, 1.0));
  const double east = std::atan2(std::sin(bearing) * sinAngle * m_cosLatitude,
                                 cosAngle - m_sinLatitude * std::sin(latitude));
  const double longitude = wholeTurn(m_centre.longitude + east / kRadiansPerDegree + 180) - 180;
  return GeoPoint{longitude, latitude / kRadiansPerDegree};
}

}  // namespace vantor
