#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "gui/screen_window.h"

namespace Ui {
class LogWindow;
}

namespace vantor {
class LogForm;
class Session;
}  // namespace vantor

namespace vantor::gui {

// The log screen's window: the layout of its .ui file bound to the log form.
class LogWindow : public ScreenWindow {
  Q_OBJECT

 public:
  LogWindow(Session& session, std::function<void()> afterEvent);
  ~LogWindow() override;

  // What "Radio e rotore" opens: the station's settings, which the view keeps.
  void onEditStation(std::function<void()> edit) { m_editStation = std::move(edit); }
  // What "Rete" opens: the sharing's settings and state, which the view keeps.
  void onEditNetwork(std::function<void()> edit) { m_editNetwork = std::move(edit); }
  // The sharing's state in one line; empty while the program works alone.
  void showNetwork(const QString& summary);
  // What "Importa nominativi" opens: the files of known stations to import, which the view asks.
  void onImportStations(std::function<void()> import) { m_importStations = std::move(import); }
  // What "Mappa" and F9 open: the map window, which the view keeps.
  void onShowMap(std::function<void()> show) { m_showMap = std::move(show); }
  // How far an import of known stations is, in thousandths; the bar is hidden when none runs.
  void showImportProgress(std::optional<int> thousandths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void paintBackdrop();
  void addKeys(LogForm& log);

  LogForm& m_log;
  std::unique_ptr<Ui::LogWindow> m_ui;
  std::function<void()> m_editStation;
  std::function<void()> m_editNetwork;
  std::function<void()> m_importStations;
  std::function<void()> m_showMap;
};

}  // namespace vantor::gui
