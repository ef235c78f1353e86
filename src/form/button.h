#pragma once

#include <functional>
#include <string>

#include "form/control.h"

namespace vantor {

// A command button. press() is its behaviour, whether the operator clicks or the program presses.
class Button : public Control {
 public:
  Button(std::string name, std::string caption)
      : Control(std::move(name)), m_caption(std::move(caption)) {}

  [[nodiscard]] const std::string& caption() const { return m_caption; }
  void onPress(std::function<void()> behaviour) {
    registerBehaviour(m_onPress, std::move(behaviour), "press");
  }

  // The behaviour may close the screen that owns this button, so nothing of the button is
  // touched once it has started.
  void press() const {
    if (m_onPress) {
      const std::function<void()> behaviour = m_onPress;
      behaviour();
    }
  }

 private:
  std::string m_caption;
  std::function<void()> m_onPress;
};

}  // namespace vantor
