#include "gui/map_canvas.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>

namespace vantor::gui {

namespace {

const QColor kOutside(200, 200, 200);
const QColor kEarth(232, 240, 247);
const QColor kFieldLine(120, 138, 160);
const QColor kSquareLine(190, 202, 215);
const QColor kRing(150, 160, 175);
const QColor kShore(70, 110, 70);
const QColor kBorder(150, 110, 110);
const QColor kWorked(255, 150, 30, 110);
const QColor kText(50, 60, 75);
const QRgb kSpot = qRgb(20, 50, 140);
const QColor kOdx(200, 0, 0);
const QColor kLast(0, 140, 0);
const QColor kTarget(170, 0, 170);
const QColor kBeam(255, 210, 0, 90);

// A spot is a square of this many pixels; a click farther than this from a spot names none.
constexpr int kSpotSize = 4;
constexpr double kPointerReach = 6;
// A press that moves farther than this is a drag.
constexpr int kDragStart = 4;
// The antenna's beam: its width in degrees.
constexpr double kBeamWidth = 30;
constexpr int kMostTooltipStations = 8;

QString stationLine(const MapStation& station) {
  return QString::fromStdString(station.call + "  " + station.locator + "  ") +
         QStringLiteral("%1 km  %2°  %3 %4")
             .arg(station.qrb)
             .arg(station.qtf)
             .arg(QString::fromStdString(station.date), QString::fromStdString(station.time));
}

}  // namespace

MapCanvas::MapCanvas(MapModel& model, const Coastlines* coast, QWidget* parent)
    : QWidget(parent), m_model(model), m_coast(coast) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 240);
}

QPointF MapCanvas::screenOf(MapPoint point) const {
  const ScreenPoint at = m_view.toScreen(point);
  return {at.x, at.y};
}

void MapCanvas::tell(const QString& text) {
  if (m_tell) {
    m_tell(text);
  }
}

MapCanvas::Marks MapCanvas::marks() {
  Marks now;
  if (const auto target = m_model.typedLocator()) {
    now.typed = target->locator;
  }
  if (const auto heading = m_model.antennaHeading()) {
    now.heading = std::lround(*heading);
  }
  return now;
}

void MapCanvas::sync() {
  const LogStep step = m_model.refresh();
  if (step == LogStep::Whole) {
    m_pictureDrawn = false;
  } else if (step == LogStep::Added && m_pictureDrawn) {
    drawAdded();
  }
  Marks now = marks();
  if (step != LogStep::None || now != m_marks) {
    m_marks = std::move(now);
    update();
  }
}

void MapCanvas::viewChanged() {
  m_pictureDrawn = false;
  m_squaresDrawn = false;
  update();
}

void MapCanvas::zoom(int steps) {
  m_view.zoom(steps);
  viewChanged();
}

void MapCanvas::goHome() {
  m_view.goHome();
  viewChanged();
}

QImage MapCanvas::drawWhole() {
  m_model.readAgain();
  m_model.refresh();
  drawPicture();
  QImage whole = m_picture;
  QPainter painter(&whole);
  drawMarks(painter);
  return whole;
}

void MapCanvas::paintEvent(QPaintEvent* event) {
  if (!m_pictureDrawn) {
    drawPicture();
  }
  QPainter painter(this);
  if (m_dragging) {
    painter.fillRect(rect(), kOutside);
    painter.drawImage(m_dragged, m_picture);
    return;
  }
  painter.drawImage(event->rect(), m_picture, event->rect());
  drawMarks(painter);
}

void MapCanvas::drawPicture() {
  const QSize size = this->size();
  if (m_picture.size() != size) {
    m_picture = QImage(size, QImage::Format_RGB32);
  }
  if (!m_gridCentre || m_gridCentre->latitude != m_model.projection().centre().latitude ||
      m_gridCentre->longitude != m_model.projection().centre().longitude) {
    m_gridCentre = m_model.projection().centre();
    m_fieldLines = projectedLines(m_model.projection(), fieldLines());
    m_squaresDrawn = false;
    m_fieldLabels = fieldLabels(m_model.projection());
    if (m_coast != nullptr) {
      m_shoreLines = projectedLines(m_model.projection(), m_coast->shores);
      m_borderLines = projectedLines(m_model.projection(), m_coast->borders);
    }
  }
  m_picture.fill(kOutside);
  QPainter painter(&m_picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF home = screenOf({});
  const double rim = AzimuthalProjection::kMapRim / m_view.kmPerPixel();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kEarth);
  painter.drawEllipse(home, rim, rim);
  drawCoast(painter);
  drawSquares(painter);
  drawGrid(painter);
  drawRings(painter);
  drawFieldLabels(painter);
  drawBearings(painter);
  painter.end();
  for (const MapSpot& spot : m_model.spots()) {
    stampSpot(spot);
  }
  m_pictureDrawn = true;
}

// An insertion's spots, and the squares it worked first, shaded under their spots again.
void MapCanvas::drawAdded() {
  if (!m_model.newSquares().empty()) {
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const std::uint16_t square : m_model.newSquares()) {
      shadeSquare(painter, square);
    }
    painter.end();
    for (const MapSpot& spot : m_model.spots()) {
      if (std::find(m_model.newSquares().begin(), m_model.newSquares().end(), spot.square) !=
          m_model.newSquares().end()) {
        stampSpot(spot);
      }
    }
  }
  for (const std::uint32_t spot : m_model.changedSpots()) {
    stampSpot(m_model.spots()[spot]);
  }
}

void MapCanvas::stampSpot(const MapSpot& spot) {
  const QPointF at = screenOf(spot.at);
  const int left = static_cast<int>(std::lround(at.x())) - kSpotSize / 2;
  const int top = static_cast<int>(std::lround(at.y())) - kSpotSize / 2;
  if (left + kSpotSize <= 0 || top + kSpotSize <= 0 || left >= m_picture.width() ||
      top >= m_picture.height()) {
    return;
  }
  for (int y = std::max(top, 0); y < std::min(top + kSpotSize, m_picture.height()); ++y) {
    auto* row = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
    std::fill(row + std::max(left, 0), row + std::min(left + kSpotSize, m_picture.width()), kSpot);
  }
}

void MapCanvas::drawSquares(QPainter& painter) {
  if (m_model.workedSquares() == 0) {
    return;
  }
  for (std::uint16_t square = 0; square < kSquareCount; ++square) {
    if (m_model.worked(square)) {
      shadeSquare(painter, square);
    }
  }
}

// A square is shaded when its centre is in view or near it.
void MapCanvas::shadeSquare(QPainter& painter, std::uint16_t square) {
  const GeoPoint corner = squareCorner(square);
  const QPointF centre =
      screenOf(m_model.projection().project({corner.longitude + 1, corner.latitude + 0.5}));
  const double margin = 200 / m_view.kmPerPixel();
  if (centre.x() < -margin || centre.y() < -margin || centre.x() > width() + margin ||
      centre.y() > height() + margin) {
    return;
  }
  QPolygonF outline;
  for (const MapPoint& point : squareOutline(m_model.projection(), square)) {
    outline << screenOf(point);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(kWorked);
  painter.drawPolygon(outline);
}

// The lines in view only, drawn without smoothing: a coast has tens of thousands of points, and
// the squares' lines thousands.
void MapCanvas::drawLines(QPainter& painter, const MapLines& lines) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPolygonF polyline;
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    if (!inView(m_view, lines.boxes[i])) {
      continue;
    }
    polyline.clear();
    for (const MapPoint& point : lines.lines[i]) {
      polyline << screenOf(point);
    }
    painter.drawPolyline(polyline);
  }
  painter.setRenderHint(QPainter::Antialiasing);
}

void MapCanvas::drawCoast(QPainter& painter) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kShore, 1));
  drawLines(painter, m_shoreLines);
  painter.setPen(QPen(kBorder, 1, Qt::DashLine));
  drawLines(painter, m_borderLines);
}

void MapCanvas::drawGrid(QPainter& painter) {
  painter.setBrush(Qt::NoBrush);
  if (m_view.showsSquares()) {
    painter.setPen(QPen(kSquareLine, 0));
    if (!m_squaresDrawn) {
      m_squareLines = projectedLines(m_model.projection(),
                                     squareLines(visibleBox(m_model.projection(), m_view)));
      m_squaresDrawn = true;
    }
    drawLines(painter, m_squareLines);
  }
  painter.setPen(QPen(kFieldLine, 1.2));
  drawLines(painter, m_fieldLines);
}

void MapCanvas::drawRings(QPainter& painter) {
  const double step = m_view.ringStep();
  const QPointF home = screenOf({});
  const double farthest =
      std::hypot(std::max(home.x(), width() - home.x()), std::max(home.y(), height() - home.y())) *
      m_view.kmPerPixel();
  const int rings = static_cast<int>(std::min(farthest, AzimuthalProjection::kMapRim) / step);
  painter.setBrush(Qt::NoBrush);
  painter.setFont(QFont(font().family(), 8));
  for (int ring = 1; ring <= rings; ++ring) {
    const double radius = ring * step / m_view.kmPerPixel();
    painter.setPen(QPen(kRing, 0, Qt::DashLine));
    painter.drawEllipse(home, radius, radius);
    painter.setPen(kText);
    painter.drawText(home + QPointF(3, -radius - 2), QStringLiteral("%1 km").arg(ring * step));
  }
  painter.setPen(QPen(kText, 1));
  painter.drawLine(home + QPointF(-6, 0), home + QPointF(6, 0));
  painter.drawLine(home + QPointF(0, -6), home + QPointF(0, 6));
}

// The bearings from home around the window's edge: a tick every 10 degrees, a number every 30.
void MapCanvas::drawBearings(QPainter& painter) {
  painter.setFont(QFont(font().family(), 8));
  painter.setPen(QPen(kText, 1));
  for (int bearing = 0; bearing < 360; bearing += 10) {
    const auto outer = m_view.edgePoint(bearing, 1);
    const auto inner = m_view.edgePoint(bearing, bearing % 30 == 0 ? 9 : 5);
    if (!outer || !inner) {
      continue;
    }
    painter.drawLine(QPointF(outer->x, outer->y), QPointF(inner->x, inner->y));
    if (const auto label = m_view.edgePoint(bearing, 18); label && bearing % 30 == 0) {
      const QRectF box(label->x - 15, label->y - 7, 30, 14);
      painter.drawText(box, Qt::AlignCenter, QStringLiteral("%1°").arg(bearing));
    }
  }
}

// The fields' names, while a field is wide enough on the screen to hold one.
void MapCanvas::drawFieldLabels(QPainter& painter) {
  constexpr double kFieldKm = 1100;
  if (kFieldKm / m_view.kmPerPixel() < 40) {
    return;
  }
  QFont font(this->font().family(), 11, QFont::Bold);
  painter.setFont(font);
  painter.setPen(kFieldLine);
  for (const FieldLabel& label : m_fieldLabels) {
    const QPointF at = screenOf(label.at);
    if (rect().contains(at.toPoint())) {
      painter.drawText(QRectF(at.x() - 20, at.y() - 10, 40, 20), Qt::AlignCenter,
                       QString::fromStdString(label.name));
    }
  }
}

void MapCanvas::drawMarks(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  if (const auto heading = m_model.antennaHeading()) {
    drawBeam(painter, *heading);
  }
  if (const auto odx = m_model.odx()) {
    drawStation(painter, *odx, kOdx,
                QStringLiteral("ODX %1").arg(QString::fromStdString(odx->call)));
  }
  if (const auto last = m_model.lastContact()) {
    drawStation(painter, *last, kLast, QString::fromStdString(last->call));
  }
  if (const auto target = m_model.typedLocator()) {
    drawTarget(painter, *target);
  }
  painter.setPen(kText);
  painter.setFont(QFont(font().family(), 10, QFont::Bold));
  const QString band = QString::fromStdString(m_model.band());
  const QString caption =
      m_model.hasHome() ? QStringLiteral("%1   %2 quadrati").arg(band).arg(m_model.workedSquares())
                        : QStringLiteral("Manca il locatore di casa: la mappa non ha centro");
  const QFontMetrics metrics = painter.fontMetrics();
  const QRectF box(4, 4, metrics.horizontalAdvance(caption) + 12, metrics.height() + 6);
  painter.fillRect(box, QColor(255, 255, 255, 220));
  painter.drawText(box, Qt::AlignCenter, caption);
}

void MapCanvas::drawBeam(QPainter& painter, double heading) {
  const QPointF home = screenOf({});
  const double reach = std::hypot(width(), height()) + std::hypot(home.x(), home.y());
  const QRectF box(home.x() - reach, home.y() - reach, 2 * reach, 2 * reach);
  // Qt's angles run counter-clockwise from three o'clock, in sixteenths of a degree.
  const double start = 90 - heading - kBeamWidth / 2;
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBeam);
  painter.drawPie(box, static_cast<int>(start * 16), static_cast<int>(kBeamWidth * 16));
  const MapPoint ahead = pointAt(reach * m_view.kmPerPixel(), heading);
  painter.setPen(QPen(QColor(200, 150, 0), 1.5));
  painter.drawLine(home, screenOf(ahead));
}

void MapCanvas::drawStation(QPainter& painter, const MapStation& station, const QColor& colour,
                            const QString& caption) {
  const QPointF at = screenOf(station.at);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, 2));
  painter.drawEllipse(at, 7, 7);
  painter.setFont(QFont(font().family(), 9, QFont::Bold));
  painter.drawText(at + QPointF(9, -6), caption);
}

void MapCanvas::drawTarget(QPainter& painter, const MapTarget& target) {
  const QPointF at = screenOf(target.at);
  painter.setPen(QPen(kTarget, 1.5, Qt::DashLine));
  painter.drawLine(screenOf({}), at);
  painter.setPen(QPen(kTarget, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(at, 5, 5);
  painter.setFont(QFont(font().family(), 9, QFont::Bold));
  painter.drawText(at + QPointF(8, 14), QStringLiteral("%1  %2 km  %3°")
                                            .arg(QString::fromStdString(target.locator))
                                            .arg(target.qrb)
                                            .arg(target.qtf));
}

QString MapCanvas::tooltipAt(QPoint at) {
  const auto spot = m_model.spotNear(m_view.toMap({double(at.x()), double(at.y())}),
                                     kPointerReach * m_view.kmPerPixel());
  if (!spot) {
    return {};
  }
  QStringList lines;
  for (const MapStation& station : m_model.stationsAt(*spot, kMostTooltipStations)) {
    lines << stationLine(station);
  }
  const std::uint32_t contacts = m_model.spots()[*spot].contacts;
  if (contacts > kMostTooltipStations) {
    lines << QStringLiteral("… e altri %1").arg(contacts - kMostTooltipStations);
  }
  return lines.join('\n');
}

bool MapCanvas::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltipAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void MapCanvas::resizeEvent(QResizeEvent* event) {
  m_view.resize(width(), height());
  QWidget::resizeEvent(event);
  viewChanged();
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps != 0) {
    m_view.zoom(steps, {event->position().x(), event->position().y()});
    viewChanged();
  }
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const double pan = std::min(width(), height()) / 8.0;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoom(1);
      break;
    case Qt::Key_Minus:
      zoom(-1);
      break;
    case Qt::Key_Home:
      goHome();
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      m_view.pan(event->key() == Qt::Key_Left ? pan : -pan, 0);
      viewChanged();
      break;
    case Qt::Key_Up:
    case Qt::Key_Down:
      m_view.pan(0, event->key() == Qt::Key_Up ? pan : -pan);
      viewChanged();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_pressedAt = event->position().toPoint();
    m_dragging = false;
  }
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!m_pressedAt) {
    return;
  }
  m_dragged = event->position().toPoint() - *m_pressedAt;
  if (m_dragging || m_dragged.manhattanLength() > kDragStart) {
    m_dragging = true;
    update();
  }
}

// A drag pans the map; a click turns the antenna to the bearing clicked.
void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_pressedAt || event->button() != Qt::LeftButton) {
    return;
  }
  const QPoint at = event->position().toPoint();
  if (m_dragging) {
    const QPoint moved = at - *m_pressedAt;
    m_view.pan(moved.x(), moved.y());
    m_dragging = false;
    viewChanged();
  } else {
    tell(QString::fromStdString(
        m_model.turnAntenna(m_view.toMap({double(at.x()), double(at.y())}))));
  }
  m_pressedAt.reset();
}

}  // namespace vantor::gui
