#include "gui/header_window.h"

#include <QTimer>

#include <utility>

#include "app/session.h"
#include "header/header_form.h"
#include "ui_header_window.h"

namespace vantor::gui {

HeaderWindow::HeaderWindow(Session& session, std::function<void()> afterEvent)
    : ScreenWindow(session, session.header(), std::move(afterEvent)),
      m_ui(std::make_unique<Ui::HeaderWindow>()) {
  m_ui->setupUi(this);
  setFixedSize(size());
  binder().bindAll(*this);
}

HeaderWindow::~HeaderWindow() = default;

void HeaderWindow::paintEvent(QPaintEvent* event) {
  ScreenWindow::paintEvent(event);
  if (m_afterFirstPaint) {
    QTimer::singleShot(0, this, std::exchange(m_afterFirstPaint, {}));
  }
}

}  // namespace vantor::gui
