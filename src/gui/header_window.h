#pragma once

#include <functional>
#include <memory>

#include "gui/screen_window.h"

namespace Ui {
class HeaderWindow;
}

namespace vantor {
class HeaderForm;
class Session;
}  // namespace vantor

namespace vantor::gui {

// The header screen's window: the layout of its .ui file bound to the header form.
class HeaderWindow : public ScreenWindow {
  Q_OBJECT

 public:
  HeaderWindow(Session& session, std::function<void()> afterEvent);
  ~HeaderWindow() override;

 private:
  std::unique_ptr<Ui::HeaderWindow> m_ui;
};

}  // namespace vantor::gui
