#pragma once

#include <QWidget>

#include "platform/clock.h"
#include "platform/dialogs.h"

namespace vantor::gui {

// The computer's clock.
class SystemClock : public Clock {
 public:
  [[nodiscard]] DateTime now() const override;
  [[nodiscard]] DateTime utcNow() const override;
};

// Modal Qt message boxes, parented to whichever window is active.
class MessageBoxDialogs : public Dialogs {
 public:
  void showMessage(const Message& message) override;

 protected:
  [[nodiscard]] bool ask(const std::string& question, Answer byDefault) override;
};

}  // namespace vantor::gui
