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

 private:
  void paintBackdrop();
  void addBandKeys(LogForm& log);

  std::unique_ptr<Ui::LogWindow> m_ui;
};

}  // namespace vantor::gui
