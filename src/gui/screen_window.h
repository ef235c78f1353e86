#pragma once

#include <QWidget>
#include <functional>

#include "gui/field_binder.h"

namespace vantor {
class Form;
class Session;
}  // namespace vantor

namespace vantor::gui {

// What the header and log windows share: the binder of their form, and the frame's close
// control behaving as "Chiudi".
class ScreenWindow : public QWidget {
  Q_OBJECT

 public:
  ScreenWindow(Session& session, Form& form, std::function<void()> afterEvent);

  void sync() { m_binder.sync(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  [[nodiscard]] FieldBinder& binder() { return m_binder; }

 private:
  Session& m_session;
  FieldBinder m_binder;
};

}  // namespace vantor::gui
