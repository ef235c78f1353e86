#include "map/map_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vantor {

void MapView::resize(int width, int height) {
  m_width = std::max(width, 1);
  m_height = std::max(height, 1);
  if (!m_moved) {
    goHome();
  }
}

void MapView::goHome() {
  m_centre = {};
  m_kmPerPixel = 2 * kHomeReach / std::min(m_width, m_height);
  m_moved = false;
}

double MapView::farthest() const {
  return 6 * AzimuthalProjection::kMapRim / std::min(m_width, m_height);
}

void MapView::zoom(int steps, ScreenPoint anchor) {
  m_moved = true;
  const MapPoint held = toMap(anchor);
  const double scale = std::pow(kZoomStep, -steps);
  m_kmPerPixel = std::clamp(m_kmPerPixel * scale, kClosest, farthest());
  const MapPoint moved = toMap(anchor);
  m_centre.east += held.east - moved.east;
  m_centre.north += held.north - moved.north;
}

void MapView::pan(double dx, double dy) {
  m_moved = true;
  const double rim = AzimuthalProjection::kMapRim;
  m_centre.east = std::clamp(m_centre.east - dx * m_kmPerPixel, -rim, rim);
  m_centre.north = std::clamp(m_centre.north + dy * m_kmPerPixel, -rim, rim);
}

ScreenPoint MapView::toScreen(MapPoint point) const {
  return {m_width / 2.0 + (point.east - m_centre.east) / m_kmPerPixel,
          m_height / 2.0 - (point.north - m_centre.north) / m_kmPerPixel};
}

MapPoint MapView::toMap(ScreenPoint point) const {
  return {m_centre.east + (point.x - m_width / 2.0) * m_kmPerPixel,
          m_centre.north - (point.y - m_height / 2.0) * m_kmPerPixel};
}

double MapView::ringStep() const {
  constexpr std::array kSteps{100.0, 500.0, 1000.0, 5000.0};
  for (const double step : kSteps) {
    if (step / m_kmPerPixel >= kRingSpacing) {
      return step;
    }
  }
  return kSteps.back();
}

std::optional<ScreenPoint> MapView::edgePoint(double bearing, double inset) const {
  const ScreenPoint home = toScreen({});
  const MapPoint unit = pointAt(1, bearing);
  const double dx = unit.east;
  const double dy = -unit.north;
  const double left = inset;
  const double top = inset;
  const double right = m_width - inset;
  const double bottom = m_height - inset;
  if (left >= right || top >= bottom) {
    return std::nullopt;
  }
  // The ray home + t (dx, dy), t >= 0, clipped to the rectangle (Liang-Barsky).
  double enter = 0;
  double leave = std::numeric_limits<double>::infinity();
  const std::array<std::array<double, 2>, 4> sides{
      {{-dx, home.x - left}, {dx, right - home.x}, {-dy, home.y - top}, {dy, bottom - home.y}}};
  for (const auto& [p, q] : sides) {
    if (std::abs(p) < 1e-12) {
      if (q < 0) {
        return std::nullopt;
      }
    } else if (p < 0) {
      enter = std::max(enter, q / p);
    } else {
      leave = std::min(leave, q / p);
    }
  }
  if (enter > leave || !std::isfinite(leave)) {
    return std::nullopt;
  }
  return ScreenPoint{home.x + leave * dx, home.y + leave * dy};
}

}  // namespace vantor
