#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "gui/field_binder.h"

namespace Ui {
class LogWindow;
}

namespace vantor {
class Session;
}

namespace vantor::gui {

// The log screen's window: the layout of its .ui file bound to the log form.
class LogWindow : public QWidget {
  Q_OBJECT

 public:
  LogWindow(Session& session, std::function<void()> afterEvent);
  ~LogWindow() override;

  void sync() { m_binder.sync(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::LogWindow> m_ui;
  Session& m_session;
  FieldBinder m_binder;
};

}  // namespace vantor::gui
