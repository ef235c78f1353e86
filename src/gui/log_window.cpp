#include "gui/log_window.h"

#include <QCloseEvent>

#include "app/session.h"
#include "log/log_form.h"
#include "ui_log_window.h"

namespace vantor::gui {

LogWindow::LogWindow(Session& session, std::function<void()> afterEvent)
    : m_ui(std::make_unique<Ui::LogWindow>()),
      m_session(session),
      m_binder(session.log(), std::move(afterEvent), this) {
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

  LogForm& form = session.log();
  m_binder.bind(form.serialSentField, m_ui->Text1);
  m_binder.bind(form.bandField, m_ui->Text2);
  m_binder.bind(form.modeList, m_ui->Combo1);
  m_binder.bind(form.dateField, m_ui->Text4);
  m_binder.bind(form.timeField, m_ui->Text5);
  m_binder.bind(form.callsignField, m_ui->Text6);
  m_binder.bind(form.rstField, m_ui->Text7);
  m_binder.bind(form.serialReceivedField, m_ui->Text8);
  m_binder.bind(form.locatorField, m_ui->Text9);
  m_binder.bind(form.qrbField, m_ui->Text10);
  m_binder.bind(form.autoTimeBox, m_ui->Check2);
  m_binder.bind(form.sicilyDoublingBox, m_ui->Check1);
  m_binder.bind(form.plusOneOption, m_ui->Option1);
  m_binder.bind(form.plusTwoOption, m_ui->Option2);
  m_binder.bind(form.odxCallField, m_ui->Text11);
  m_binder.bind(form.odxLocatorField, m_ui->Text3);
  m_binder.bind(form.odxDistanceField, m_ui->Text12);
  m_binder.bind(form.averageField, m_ui->Text13);
  m_binder.bind(form.inContestBox, m_ui->Check3);
  m_binder.bind(form.insertButton, m_ui->Command1);
  m_binder.bind(form.totalField, m_ui->Text14);
  m_binder.bind(form.logBuffer, m_ui->Text15);
  m_binder.bind(form.saveMessageLabel, m_ui->Label1);
  m_binder.bind(form.backButton, m_ui->Command3);
  m_binder.bind(form.closeButton, m_ui->Command4);
  m_binder.bind(form.exportButton, m_ui->Command2);
  m_binder.sync();
}

LogWindow::~LogWindow() = default;

void LogWindow::closeEvent(QCloseEvent* event) {
  // The frame's close control is "Chiudi".
  if (m_session.ended() || m_session.close()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vantor::gui
