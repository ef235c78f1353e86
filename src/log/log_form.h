#pragma once

#include "form/field.h"
#include "form/form.h"
#include "form/toggle.h"

namespace vantor {

class Session;

// The log screen. Only the fields the header screen touches exist so far.
class LogForm : public Form {
 public:
  explicit LogForm(Session& session);

  Field bandField{"Text2", "Text2"};
  Field dateField{"Text4"};
  Field callsignField{"Text6"};
  Field serialReceivedField{"Text8"};
  Toggle sicilyDoublingBox{"Check1", "Auto x2 Sicilia", Toggle::Kind::CheckBox};

  [[nodiscard]] bool hasUnsavedContacts() const { return false; }

 private:
  Session& m_session;
};

}  // namespace vantor
