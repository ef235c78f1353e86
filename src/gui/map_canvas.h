#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "map/map_grid.h"
#include "map/map_model.h"
#include "map/map_view.h"

namespace vantor::gui {

// The map of the band logged, drawn with QPainter from its model. What changes only with the view
// or the log (the grid, the squares, the spots) is kept as a picture: an insertion adds its spot to
// the picture, and only the marks drawn over it (the ODX, the last contact, the locator typed, the
// antenna's beam) are drawn at each paint. Wheel and + / - zoom, a drag pans, Home goes home, and a
// click turns the antenna to the bearing clicked.
class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  // `coast`: the coasts and borders drawn, when there are any.
  MapCanvas(MapModel& model, const Coastlines* coast, QWidget* parent = nullptr);

  // Follows the log and the log screen: what changed is drawn.
  void sync();
  void zoom(int steps);
  void goHome();
  // What a click or the map has to tell the operator goes there.
  void onTell(std::function<void(const QString&)> tell) { m_tell = std::move(tell); }
  [[nodiscard]] const MapView& view() const { return m_view; }
  // The picture of the map as it would be painted now, the log read and the picture drawn whole.
  [[nodiscard]] QImage drawWhole();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // What is drawn over the picture and changes without the log: the locator typed, the antenna.
  struct Marks {
    std::optional<std::string> typed;
    std::optional<long> heading;
    friend bool operator==(const Marks&, const Marks&) = default;
  };

  void viewChanged();
  void drawPicture();
  void drawAdded();
  void drawSquares(QPainter& painter);
  void shadeSquare(QPainter& painter, std::uint16_t square);
  void drawGrid(QPainter& painter);
  void drawLines(QPainter& painter, const MapLines& lines);
  void drawCoast(QPainter& painter);
  void drawRings(QPainter& painter);
  void drawBearings(QPainter& painter);
  void drawFieldLabels(QPainter& painter);
  void stampSpot(const MapSpot& spot);
  void drawMarks(QPainter& painter);
  void drawBeam(QPainter& painter, double heading);
  void drawStation(QPainter& painter, const MapStation& station, const QColor& colour,
                   const QString& caption);
  void drawTarget(QPainter& painter, const MapTarget& target);
  [[nodiscard]] Marks marks();
  [[nodiscard]] QPointF screenOf(MapPoint point) const;
  [[nodiscard]] QString tooltipAt(QPoint at);
  void tell(const QString& text);

  MapModel& m_model;
  MapView m_view;
  QImage m_picture;
  bool m_pictureDrawn = false;
  // The field lines and labels of the projection they were made for.
  std::optional<GeoPoint> m_gridCentre;
  MapLines m_fieldLines;
  // The squares' lines in view, made again when the view changes.
  MapLines m_squareLines;
  bool m_squaresDrawn = false;
  std::vector<FieldLabel> m_fieldLabels;
  const Coastlines* m_coast;
  MapLines m_shoreLines;
  MapLines m_borderLines;
  Marks m_marks;
  std::optional<QPoint> m_pressedAt;
  QPoint m_dragged;
  bool m_dragging = false;
  std::function<void(const QString&)> m_tell;
};

}  // namespace vantor::gui
