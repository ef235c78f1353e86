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

  LogForm& form = session.log();
  binder().bind(form.serialSentField, m_ui->Text1);
  binder().bind(form.bandField, m_ui->Text2);
  binder().bind(form.modeList, m_ui->Combo1);
  binder().bind(form.dateField, m_ui->Text4);
  binder().bind(form.timeField, m_ui->Text5);
  binder().bind(form.callsignField, m_ui->Text6);
  binder().bind(form.rstField, m_ui->Text7);
  binder().bind(form.serialReceivedField, m_ui->Text8);
  binder().bind(form.locatorField, m_ui->Text9);
  binder().bind(form.qrbField, m_ui->Text10);
  binder().bind(form.autoTimeBox, m_ui->Check2);
  binder().bind(form.sicilyDoublingBox, m_ui->Check1);
  binder().bind(form.plusOneOption, m_ui->Option1);
  binder().bind(form.plusTwoOption, m_ui->Option2);
  binder().bind(form.odxCallField, m_ui->Text11);
  binder().bind(form.odxLocatorField, m_ui->Text3);
  binder().bind(form.odxDistanceField, m_ui->Text12);
  binder().bind(form.averageField, m_ui->Text13);
  binder().bind(form.inContestBox, m_ui->Check3);
  binder().bind(form.insertButton, m_ui->Command1);
  binder().bind(form.totalField, m_ui->Text14);
  binder().bind(form.logBuffer, m_ui->Text15);
  binder().bind(form.saveMessageLabel, m_ui->Label1);
  binder().bind(form.backButton, m_ui->Command3);
  binder().bind(form.closeButton, m_ui->Command4);
  binder().bind(form.exportButton, m_ui->Command2);
  binder().sync();
}

LogWindow::~LogWindow() = default;

}  // namespace vantor::gui
