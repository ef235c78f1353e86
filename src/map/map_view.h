#pragma once

#include <optional>

#include "geo/map_projection.h"

namespace vantor {

// A place in the window, in pixels from its top left corner, y down.
struct ScreenPoint {
  double x = 0;
  double y = 0;
};

// How the map lies in its window: the place of the map at the window's centre and the kilometres
// a pixel spans. The operator zooms with the wheel and the keys, drags to pan and goes home, the
// home locator at the centre with the contest's usual reach in view.
class MapView {
 public:
  // A step of zoom in or out.
  static constexpr double kZoomStep = 1.25;
  // The closest view: a subsquare (about 5 by 4 km) some pixels wide.
  static constexpr double kClosest = 0.25;
  // What the window shows around home at first: the stations of a VHF contest.
  static constexpr double kHomeReach = 1200;

  MapView() = default;
  MapView(int width, int height) { resize(width, height); }

  // The window's size changed: the centre stays, and so does the scale once the operator zoomed or
  // panned; until then the view stays home, fitted to the window.
  void resize(int width, int height);
  void zoom(int steps, ScreenPoint anchor);
  void zoom(int steps) { zoom(steps, {m_width / 2.0, m_height / 2.0}); }
  void pan(double dx, double dy);
  void goHome();

  [[nodiscard]] int width() const { return m_width; }
  [[nodiscard]] int height() const { return m_height; }
  [[nodiscard]] double kmPerPixel() const { return m_kmPerPixel; }
  [[nodiscard]] ScreenPoint toScreen(MapPoint point) const;
  [[nodiscard]] MapPoint toMap(ScreenPoint point) const;
  // The kilometres between rings of distance: a step at least kRingSpacing pixels wide.
  [[nodiscard]] double ringStep() const;
  // Whether squares are wide enough on the screen to be drawn one by one.
  [[nodiscard]] bool showsSquares() const { return m_kmPerPixel <= kSquaresFrom; }
  // Where the ray from home at `bearing` degrees leaves the window, `inset` pixels inside its
  // edge; nothing when the ray never crosses the window.
  [[nodiscard]] std::optional<ScreenPoint> edgePoint(double bearing, double inset) const;

 private:
  static constexpr double kRingSpacing = 40;
  static constexpr double kSquaresFrom = 8;
  // The whole Earth at most three times across the window.
  [[nodiscard]] double farthest() const;

  int m_width = 1;
  int m_height = 1;
  MapPoint m_centre;
  double m_kmPerPixel = 1;
  // Whether the operator zoomed or panned since the view was last home.
  bool m_moved = false;
};

}  // namespace vantor
