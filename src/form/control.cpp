#include "form/control.h"

namespace vantor {

void Control::setVisible(bool visible) {
  if (m_visible != visible) {
    m_visible = visible;
    touch();
  }
}

}  // namespace vantor
