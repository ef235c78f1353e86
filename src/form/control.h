#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "form/control_state.h"

namespace vantor {

// What every control of a screen has: a control name (the view's objectName), visibility, and a
// revision that grows on every change a view shows, so a window can bring only the changed
// widgets in line after a user event.
class Control {
 public:
  explicit Control(std::string name) : m_name(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  [[nodiscard]] const std::string& name() const { return m_name; }
  [[nodiscard]] std::uint64_t revision() const { return m_revision; }

  [[nodiscard]] bool visible() const { return m_visible; }
  void setVisible(bool visible);

  // Writes what the control holds, for the log kept on disk. A field writes its whole text when
  // `whole` is set, else only what changed since its last save.
  virtual void saveState(ControlState& state, bool whole);
  // Restores what saveState wrote, in the same order, without running any behaviour.
  virtual void restoreState(StateReader& state);

 protected:
  void touch() { ++m_revision; }
  // Stores a behaviour in its slot. Each slot takes one: a second registration throws
  // std::logic_error rather than silently dropping the first behaviour.
  void registerBehaviour(std::function<void()>& slot, std::function<void()> behaviour,
                         const char* event) const;

 private:
  std::string m_name;
  std::uint64_t m_revision = 0;
  bool m_visible = true;
};

}  // namespace vantor
