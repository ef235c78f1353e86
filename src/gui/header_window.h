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

  // Runs `work` once, in the event loop's turn after the window is next painted; start-up sets
  // it before the first paint.
  void afterFirstPaint(std::function<void()> work) { m_afterFirstPaint = std::move(work); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<Ui::HeaderWindow> m_ui;
  std::function<void()> m_afterFirstPaint;
};

}  // namespace vantor::gui
