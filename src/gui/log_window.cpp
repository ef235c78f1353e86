#include "gui/log_window.h"

#include <QShortcut>

#include <utility>

#include "app/session.h"
#include "log/log_form.h"
#include "ui_log_window.h"

namespace vantor::gui {

LogWindow::LogWindow(Session& session, std::function<void()> afterEvent)
    : ScreenWindow(session, session.log(), std::move(afterEvent)),
      m_ui(std::make_unique<Ui::LogWindow>()) {
  m_ui->setupUi(this);
  setFixedSize(size());
  paintBackdrop();
  binder().bindAll(*this);
  addBandKeys(session.log());
}

// Ctrl+PgDn and Ctrl+PgUp log the next and the previous band of the contest, wherever the focus
// is in the window.
void LogWindow::addBandKeys(LogForm& log) {
  const std::pair<QKeyCombination, int> keys[] = {{Qt::CTRL | Qt::Key_PageDown, 1},
                                                  {Qt::CTRL | Qt::Key_PageUp, -1}};
  for (const auto& [combination, step] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(combination), this);
    connect(shortcut, &QShortcut::activated, this,
            [this, &log, step = step] { binder().userEvent([&] { log.stepBand(step); }); });
  }
}

LogWindow::~LogWindow() = default;

// The red backdrop behind the fields, with white bold captions and white toggle texts on it. Set
// by palette and font, not by style sheet: a style sheet gives each of its widgets a style of its
// own, which made building this window several times slower.
void LogWindow::paintBackdrop() {
  const QColor backdrop(192, 0, 0);
  QPalette palette = m_ui->Picture1->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Window, backdrop);
  palette.setColor(QPalette::Button, backdrop);
  m_ui->Picture1->setPalette(palette);
  m_ui->Picture1->setAutoFillBackground(true);
  for (QLabel* caption :
       {m_ui->heading1, m_ui->heading2, m_ui->heading3, m_ui->heading4, m_ui->heading5,
        m_ui->heading6, m_ui->heading7, m_ui->heading8, m_ui->heading9, m_ui->heading10,
        m_ui->heading11, m_ui->rowLabel1, m_ui->rowLabel2, m_ui->rowLabel3}) {
    QFont font = caption->font();
    font.setBold(true);
    caption->setFont(font);
    caption->setPalette(palette);
  }
  for (QWidget* toggle : {static_cast<QWidget*>(m_ui->Check1), static_cast<QWidget*>(m_ui->Check2),
                          static_cast<QWidget*>(m_ui->Check3), static_cast<QWidget*>(m_ui->Option1),
                          static_cast<QWidget*>(m_ui->Option2)}) {
    toggle->setPalette(palette);
    toggle->setAutoFillBackground(true);
  }
}

}  // namespace vantor::gui
