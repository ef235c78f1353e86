#include "log/log_form.h"

namespace vantor {

LogForm::LogForm(Session& session) : m_session(session) {
  bandField.setLocked(true);
  sicilyDoublingBox.setVisible(false);
}

}  // namespace vantor
