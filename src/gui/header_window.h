#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "gui/field_binder.h"

namespace Ui {
class HeaderWindow;
}

namespace vantor {
class HeaderForm;
class Session;
}  // namespace vantor

namespace vantor::gui {

// The header screen's window: the layout of its .ui file bound to the header form.
class HeaderWindow : public QWidget {
  Q_OBJECT

 public:
  HeaderWindow(Session& session, std::function<void()> afterEvent);
  ~HeaderWindow() override;

  void sync() { m_binder.sync(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::HeaderWindow> m_ui;
  Session& m_session;
  FieldBinder m_binder;
};

}  // namespace vantor::gui
