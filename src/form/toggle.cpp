#include "form/toggle.h"

namespace vantor {

Toggle::Toggle(std::string name, std::string caption, Kind kind, bool checked)
    : Control(std::move(name)), m_caption(std::move(caption)), m_kind(kind), m_checked(checked) {}

void Toggle::setChecked(bool checked) {
  if (m_checked == checked) {
    return;
  }
  m_checked = checked;
  touch();
  if (checked) {
    for (Toggle* sibling : m_siblings) {
      sibling->setChecked(false);
    }
  }
}

void Toggle::click() {
  setChecked(m_kind == Kind::CheckBox ? !m_checked : true);
  if (m_onClick) {
    m_onClick();
  }
}

void Toggle::groupOptions(const std::vector<Toggle*>& options) {
  for (Toggle* option : options) {
    option->m_siblings.clear();
    for (Toggle* other : options) {
      if (other != option) {
        option->m_siblings.push_back(other);
      }
    }
  }
}

void Toggle::saveState(ControlState& state, bool whole) {
  Control::saveState(state, whole);
  writeFlag(state, m_checked);
}

void Toggle::restoreState(StateReader& state) {
  Control::restoreState(state);
  m_checked = state.flag();
}

}  // namespace vantor
