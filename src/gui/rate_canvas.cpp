#include "gui/rate_canvas.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

#include "contest/contact_time.h"

namespace vantor::gui {

namespace {

const std::array kBandColours{QColor(40, 90, 180),  QColor(230, 120, 20), QColor(40, 150, 60),
                              QColor(190, 40, 40),  QColor(130, 60, 170), QColor(20, 150, 160),
                              QColor(150, 110, 40), QColor(90, 90, 90)};
const QColor kPointsLine(200, 0, 120);
const QColor kAxis(60, 60, 60);

QColor bandColour(std::size_t band) {
  return kBandColours[band % kBandColours.size()];
}

QString twoDigits(int value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString minuteText(std::int64_t minute) {
  const DateTime moment = momentOfMinute(minute);
  return twoDigits(moment.hour) + ':' + twoDigits(moment.minute);
}

std::size_t hourTotal(const RateHour& hour) {
  std::size_t total = 0;
  for (const std::size_t contacts : hour.contacts) {
    total += contacts;
  }
  return total;
}

}  // namespace

RateCanvas::RateCanvas(ContestRate& rate, QWidget* parent) : QWidget(parent), m_rate(rate) {
  setAutoFillBackground(true);
  setPalette(QPalette(Qt::white));
}

void RateCanvas::sync() {
  if (isVisible() && m_rate.refresh()) {
    update();
  }
}

void RateCanvas::showEvent(QShowEvent* event) {
  m_rate.refresh();
  QWidget::showEvent(event);
}

QString RateCanvas::summary() const {
  const auto best = m_rate.bestHour();
  if (!best) {
    return QStringLiteral("Nessun contatto con data e ora");
  }
  return QStringLiteral("Migliori 60 minuti: %1 QSO, dalle %2 alle %3 UTC     Punti: %4")
      .arg(best->contacts)
      .arg(minuteText(best->firstMinute), minuteText(best->firstMinute + 59))
      .arg(QLocale(QLocale::Italian).toString(m_rate.points(), 'f', 0));
}

void RateCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(kAxis);
  painter.setFont(QFont(font().family(), 10, QFont::Bold));
  painter.drawText(QPointF(10, 20), summary());
  const std::vector<RateHour> hours = m_rate.hours();
  const QRectF area(50, 40, std::max(width() - 110, 10), std::max(height() - 90, 10));
  if (hours.empty()) {
    return;
  }
  drawBars(painter, area, hours);
  drawPoints(painter, area, hours);
  drawHours(painter, area, hours);
  drawLegend(painter, area);
}

void RateCanvas::drawBars(QPainter& painter, const QRectF& area,
                          const std::vector<RateHour>& hours) {
  std::size_t most = 1;
  for (const RateHour& hour : hours) {
    most = std::max(most, hourTotal(hour));
  }
  const double slot = area.width() / static_cast<double>(hours.size());
  const double perContact = area.height() / static_cast<double>(most);
  painter.setPen(Qt::NoPen);
  for (std::size_t i = 0; i < hours.size(); ++i) {
    double top = area.bottom();
    for (std::size_t band = 0; band < hours[i].contacts.size(); ++band) {
      const double tall = static_cast<double>(hours[i].contacts[band]) * perContact;
      painter.setBrush(bandColour(band));
      painter.drawRect(QRectF(area.left() + i * slot + slot * 0.1, top - tall, slot * 0.8, tall));
      top -= tall;
    }
  }
  painter.setPen(kAxis);
  painter.setFont(QFont(font().family(), 8));
  painter.drawLine(area.bottomLeft(), area.topLeft());
  painter.drawText(QRectF(0, area.top() - 6, area.left() - 4, 12), Qt::AlignRight,
                   QString::number(most));
  painter.drawText(QRectF(0, area.bottom() - 6, area.left() - 4, 12), Qt::AlignRight, "0");
  painter.save();
  painter.translate(12, area.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-60, -8, 120, 16), Qt::AlignCenter, QStringLiteral("QSO all'ora"));
  painter.restore();
}

void RateCanvas::drawPoints(QPainter& painter, const QRectF& area,
                            const std::vector<RateHour>& hours) {
  const double most = std::max(hours.back().runningPoints, 1.0);
  const double slot = area.width() / static_cast<double>(hours.size());
  QPainterPath path(QPointF(area.left(), area.bottom()));
  for (std::size_t i = 0; i < hours.size(); ++i) {
    path.lineTo(area.left() + (i + 1) * slot,
                area.bottom() - hours[i].runningPoints / most * area.height());
  }
  painter.setPen(QPen(kPointsLine, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.setFont(QFont(font().family(), 8));
  painter.drawLine(area.bottomRight(), area.topRight());
  painter.drawText(QRectF(area.right() + 4, area.top() - 6, 60, 12), Qt::AlignLeft,
                   QLocale(QLocale::Italian).toString(most, 'f', 0));
  painter.drawText(QRectF(area.right() + 4, area.bottom() - 6, 60, 12), Qt::AlignLeft,
                   QStringLiteral("punti"));
}

// Each hour's UTC number under its bar, as many as fit; the day where it changes.
void RateCanvas::drawHours(QPainter& painter, const QRectF& area,
                           const std::vector<RateHour>& hours) {
  const double slot = area.width() / static_cast<double>(hours.size());
  const auto every = static_cast<std::size_t>(std::max(1.0, std::ceil(18 / slot)));
  painter.setPen(kAxis);
  painter.setFont(QFont(font().family(), 8));
  for (std::size_t i = 0; i < hours.size(); ++i) {
    const DateTime moment = momentOfMinute(hours[i].hour * 60);
    if (i % every == 0) {
      painter.drawText(QRectF(area.left() + i * slot, area.bottom() + 2, slot * every, 12),
                       Qt::AlignLeft, twoDigits(moment.hour));
    }
    if (i == 0 || moment.hour == 0) {
      painter.drawText(QPointF(area.left() + i * slot, area.bottom() + 26),
                       twoDigits(moment.day) + '/' + twoDigits(moment.month));
    }
  }
}

void RateCanvas::drawLegend(QPainter& painter, const QRectF& area) {
  double x = area.left();
  const double y = height() - 12;
  painter.setFont(QFont(font().family(), 9));
  const std::vector<std::string> bands = m_rate.bands();
  for (std::size_t band = 0; band < bands.size(); ++band) {
    painter.fillRect(QRectF(x, y - 9, 10, 10), bandColour(band));
    painter.setPen(kAxis);
    const QString name = QString::fromStdString(bands[band]);
    painter.drawText(QPointF(x + 14, y), name);
    x += 40 + painter.fontMetrics().horizontalAdvance(name);
  }
  painter.setPen(QPen(kPointsLine, 2));
  painter.drawLine(QPointF(x, y - 4), QPointF(x + 20, y - 4));
  painter.setPen(kAxis);
  painter.drawText(QPointF(x + 24, y), QStringLiteral("punti"));
}

}  // namespace vantor::gui
