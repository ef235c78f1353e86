#pragma once

#include <functional>
#include <memory>

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

 private:
  void paintBackdrop();
  void addKeys(LogForm& log);

  std::unique_ptr<Ui::LogWindow> m_ui;
  std::function<void()> m_editStation;
};

}  // namespace vantor::gui
