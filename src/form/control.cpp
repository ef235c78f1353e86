#include "form/control.h"

#include <stdexcept>

namespace vantor {

void Control::setVisible(bool visible) {
  if (m_visible != visible) {
    m_visible = visible;
    touch();
  }
}

void Control::saveState(ControlState& state, bool /*whole*/) {
  writeFlag(state, m_visible);
}

void Control::restoreState(StateReader& state) {
  m_visible = state.flag();
  touch();
}

void Control::registerBehaviour(std::function<void()>& slot, std::function<void()> behaviour,
                                const char* event) const {
  if (slot) {
    throw std::logic_error(m_name + " already has a " + event + " behaviour");
  }
  slot = std::move(behaviour);
}

}  // namespace vantor
