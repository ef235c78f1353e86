#include "gui/screen_window.h"

#include <QCloseEvent>

#include "app/session.h"

namespace vantor::gui {

ScreenWindow::ScreenWindow(Session& session, Form& form, std::function<void()> afterEvent)
    : m_session(session), m_binder(form, std::move(afterEvent), this) {}

void ScreenWindow::closeEvent(QCloseEvent* event) {
  if (m_session.ended() || m_session.close()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vantor::gui
