#include "gui/header_window.h"

#include "app/session.h"
#include "header/header_form.h"
#include "ui_header_window.h"

namespace vantor::gui {

HeaderWindow::HeaderWindow(Session& session, std::function<void()> afterEvent)
    : ScreenWindow(session, session.header(), std::move(afterEvent)),
      m_ui(std::make_unique<Ui::HeaderWindow>()) {
  m_ui->setupUi(this);
  setFixedSize(size());

  HeaderForm& form = session.header();
  binder().bind(form.callsignField, m_ui->Text1);
  binder().bind(form.locatorField, m_ui->Text2);
  binder().bind(form.contestList, m_ui->Combo1);
  binder().bind(form.categoryList, m_ui->Combo2);
  binder().bind(form.bandList, m_ui->Combo3);
  binder().bind(form.startDateField, m_ui->Text19);
  binder().bind(form.endDateField, m_ui->Text20);
  binder().bind(form.commentsField, m_ui->Text17);
  binder().bind(form.nameField, m_ui->Text3);
  binder().bind(form.addressField, m_ui->Text4);
  binder().bind(form.postcodeField, m_ui->Text5);
  binder().bind(form.cityField, m_ui->Text6);
  binder().bind(form.countryField, m_ui->Text7);
  binder().bind(form.phoneField, m_ui->Text8);
  binder().bind(form.emailField, m_ui->Text9);
  binder().bind(form.operatorsField, m_ui->Text10);
  binder().bind(form.clubField, m_ui->Text18);
  binder().bind(form.receiverField, m_ui->Text11);
  binder().bind(form.transmitterField, m_ui->Text12);
  binder().bind(form.antennasField, m_ui->Text13);
  binder().bind(form.powerField, m_ui->Text14);
  binder().bind(form.antennaHeightField, m_ui->Text15);
  binder().bind(form.altitudeField, m_ui->Text16);
  binder().bind(form.ediHeaderBuffer, m_ui->Text21);
  binder().bind(form.proceedButton, m_ui->Command1);
  binder().bind(form.closeButton, m_ui->Command2);
  binder().sync();
}

HeaderWindow::~HeaderWindow() = default;

}  // namespace vantor::gui
