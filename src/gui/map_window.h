#pragma once

#include <QWidget>

#include <memory>
#include <optional>

#include "map/coastlines.h"
#include "map/contest_rate.h"
#include "map/map_model.h"

class QLabel;
class QSettings;
class QTabWidget;

namespace vantor {
class LogForm;
}

namespace vantor::gui {

class MapCanvas;
class RateCanvas;

// "Mappa": the map of the band logged and the contest's rate, each a tab, beside the log window
// and never in its way (no box, no focus taken from it). Its place and size are kept in the
// settings; closing it lets go of everything it drew.
class MapWindow : public QWidget {
  Q_OBJECT

 public:
  MapWindow(LogForm& log, QSettings* settings);
  ~MapWindow() override;

  // The log and the log screen changed: the map and the rate shown follow.
  void sync();

  [[nodiscard]] MapModel& model() { return m_model; }
  [[nodiscard]] MapCanvas& canvas() { return *m_canvas; }
  [[nodiscard]] RateCanvas& rateCanvas() { return *m_rateCanvas; }
  [[nodiscard]] QTabWidget& tabs() { return *m_tabs; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildButtons();

  // Read once as the window opens: nothing when the data set is not installed.
  std::optional<Coastlines> m_coast;
  MapModel m_model;
  ContestRate m_rate;
  QSettings* m_settings;
  MapCanvas* m_canvas;
  RateCanvas* m_rateCanvas;
  QTabWidget* m_tabs;
  QLabel* m_status;
};

}  // namespace vantor::gui
