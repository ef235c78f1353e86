#include "gui/log_window.h"

#include "app/session.h"
#include "log/log_form.h"
#include "ui_log_window.h"

namespace vantor::gui {

LogWindow::LogWindow(Session& session, std::function<void()> afterEvent)
    : ScreenWindow(session, session.log(), std::move(afterEvent)),
      m_ui(std::make_unique<Ui::LogWindow>()) {
  m_ui->setupUi(this);
  setFixedSize(size());
  // Check boxes and option buttons stand on the red backdrop: white text on red.
  for (QWidget* toggle : {static_cast<QWidget*>(m_ui->Check1), static_cast<QWidget*>(m_ui->Check2),
                          static_cast<QWidget*>(m_ui->Check3), static_cast<QWidget*>(m_ui->Option1),
                          static_cast<QWidget*>(m_ui->Option2)}) {
    QPalette palette = toggle->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Window, QColor(192, 0, 0));
    palette.setColor(QPalette::Button, QColor(192, 0, 0));
    toggle->setPalette(palette);
    toggle->setAutoFillBackground(true);
  }

  binder().bindAll(*this);
}

LogWindow::~LogWindow() = default;

}  // namespace vantor::gui
