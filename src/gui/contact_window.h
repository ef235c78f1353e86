#pragma once

#include <QDialog>

#include <functional>
#include <memory>

#include "gui/field_binder.h"

namespace Ui {
class ContactWindow;
}

namespace vantor {
class ContactForm;
}

namespace vantor::gui {

// The correction screen's window: a dialog over the log window, which the operator cannot use
// while it is open. Escape and the frame's close control are "Annulla".
class ContactWindow : public QDialog {
  Q_OBJECT

 public:
  ContactWindow(ContactForm& form, std::function<void()> afterEvent, QWidget* parent);
  ~ContactWindow() override;

  void sync() { m_binder.sync(); }

 protected:
  void reject() override;

 private:
  ContactForm& m_form;
  std::function<void()> m_afterEvent;
  FieldBinder m_binder;
  std::unique_ptr<Ui::ContactWindow> m_ui;
};

}  // namespace vantor::gui
