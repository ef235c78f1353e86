#pragma once

#include <cstdint>
#include <vector>

#include "form/control.h"

namespace vantor {

// A screen: its controls, and which of them should hold the input focus. A window moves the
// focus when the request's revision grows.
class Form {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  // Every control of the screen; a window shows each in the widget named after it.
  [[nodiscard]] virtual std::vector<Control*> controls() = 0;
  // The controls the log kept on disk holds under this screen: all of them, unless one is kept
  // elsewhere.
  [[nodiscard]] virtual std::vector<Control*> keptControls() { return controls(); }

  // What the screen keeps beyond its controls, for the log kept on disk; restoring it runs no
  // behaviour.
  virtual void saveFormState(ControlState& /*state*/) const {}
  virtual void restoreFormState(StateReader& /*state*/) {}

  void requestFocus(const Control& control) {
    m_focus = &control;
    ++m_focusRevision;
  }
  [[nodiscard]] const Control* focusRequest() const { return m_focus; }
  [[nodiscard]] std::uint64_t focusRevision() const { return m_focusRevision; }

 private:
  const Control* m_focus = nullptr;
  std::uint64_t m_focusRevision = 0;
};

}  // namespace vantor
