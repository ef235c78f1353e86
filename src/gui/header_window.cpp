#include "gui/header_window.h"

#include <QCloseEvent>

#include "app/session.h"
#include "header/header_form.h"
#include "ui_header_window.h"

namespace vantor::gui {

HeaderWindow::HeaderWindow(Session& session, std::function<void()> afterEvent)
    : m_ui(std::make_unique<Ui::HeaderWindow>()),
      m_session(session),
      m_binder(session.header(), std::move(afterEvent), this) {
  m_ui->setupUi(this);
  setFixedSize(size());

  HeaderForm& form = session.header();
  m_binder.bind(form.callsignField, m_ui->Text1);
  m_binder.bind(form.locatorField, m_ui->Text2);
  m_binder.bind(form.contestList, m_ui->Combo1);
  m_binder.bind(form.categoryList, m_ui->Combo2);
  m_binder.bind(form.bandList, m_ui->Combo3);
  m_binder.bind(form.startDateField, m_ui->Text19);
  m_binder.bind(form.endDateField, m_ui->Text20);
  m_binder.bind(form.commentsField, m_ui->Text17);
  m_binder.bind(form.nameField, m_ui->Text3);
  m_binder.bind(form.addressField, m_ui->Text4);
  m_binder.bind(form.postcodeField, m_ui->Text5);
  m_binder.bind(form.cityField, m_ui->Text6);
  m_binder.bind(form.countryField, m_ui->Text7);
  m_binder.bind(form.phoneField, m_ui->Text8);
  m_binder.bind(form.emailField, m_ui->Text9);
  m_binder.bind(form.operatorsField, m_ui->Text10);
  m_binder.bind(form.clubField, m_ui->Text18);
  m_binder.bind(form.receiverField, m_ui->Text11);
  m_binder.bind(form.transmitterField, m_ui->Text12);
  m_binder.bind(form.antennasField, m_ui->Text13);
  m_binder.bind(form.powerField, m_ui->Text14);
  m_binder.bind(form.antennaHeightField, m_ui->Text15);
  m_binder.bind(form.altitudeField, m_ui->Text16);
  m_binder.bind(form.ediHeaderBuffer, m_ui->Text21);
  m_binder.bind(form.proceedButton, m_ui->Command1);
  m_binder.bind(form.closeButton, m_ui->Command2);
  m_binder.sync();
}

HeaderWindow::~HeaderWindow() = default;

void HeaderWindow::closeEvent(QCloseEvent* event) {
  // The frame's close control is "Chiudi".
  if (m_session.ended() || m_session.close()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vantor::gui
