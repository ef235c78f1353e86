#pragma once

#include <QWidget>

#include "map/contest_rate.h"

namespace vantor::gui {

// The contest's rate drawn from its model: the contacts of each hour as bars, one colour per band
// stacked, the points as they grew as a line over them, and the best 60 minutes. It reads the
// logs only while it is shown.
class RateCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit RateCanvas(ContestRate& rate, QWidget* parent = nullptr);

  void sync();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawBars(QPainter& painter, const QRectF& area, const std::vector<RateHour>& hours);
  void drawPoints(QPainter& painter, const QRectF& area, const std::vector<RateHour>& hours);
  void drawHours(QPainter& painter, const QRectF& area, const std::vector<RateHour>& hours);
  void drawLegend(QPainter& painter, const QRectF& area);
  [[nodiscard]] QString summary() const;

  ContestRate& m_rate;
};

}  // namespace vantor::gui
