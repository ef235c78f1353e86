#pragma once

#include <functional>
#include <string>
#include <vector>

#include "form/control.h"

namespace vantor {

// A check box or an option button. A click runs the click behaviour: a check box flips, an
// option button is selected and deselects the other options of its group.
class Toggle : public Control {
 public:
  enum class Kind { CheckBox, OptionButton };

  Toggle(std::string name, std::string caption, Kind kind, bool checked = false);

  [[nodiscard]] const std::string& caption() const { return m_caption; }
  [[nodiscard]] Kind kind() const { return m_kind; }
  [[nodiscard]] bool checked() const { return m_checked; }
  // Sets the state without running the click behaviour.
  void setChecked(bool checked);

  void onClick(std::function<void()> behaviour) {
    registerBehaviour(m_onClick, std::move(behaviour), "click");
  }
  void click();

  void saveState(ControlState& state, bool whole) override;
  void restoreState(StateReader& state) override;

  // Option buttons that exclude each other; each one of the group lists the others.
  static void groupOptions(const std::vector<Toggle*>& options);

 private:
  std::string m_caption;
  Kind m_kind;
  bool m_checked;
  std::vector<Toggle*> m_siblings;
  std::function<void()> m_onClick;
};

}  // namespace vantor
