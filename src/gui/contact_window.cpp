#include "gui/contact_window.h"

#include <utility>

#include "log/contact_form.h"
#include "ui_contact_window.h"

namespace vantor::gui {

ContactWindow::ContactWindow(ContactForm& form, std::function<void()> afterEvent, QWidget* parent)
    : QDialog(parent),
      m_form(form),
      m_afterEvent(afterEvent),
      m_binder(form, std::move(afterEvent), this),
      m_ui(std::make_unique<Ui::ContactWindow>()) {
  m_ui->setupUi(this);
  setWindowModality(Qt::WindowModal);
  m_binder.bindAll(*this);
}

ContactWindow::~ContactWindow() = default;

void ContactWindow::reject() {
  m_form.cancelButton.press();
  m_afterEvent();
}

}  // namespace vantor::gui
