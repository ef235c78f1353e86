#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contact.h"
#include "form/button.h"
#include "form/field.h"
#include "form/form.h"
#include "geo/locator.h"
#include "platform/dialogs.h"

namespace vantor {

// The values of a logged contact the operator may correct.
struct ContactCorrection {
  ContactId id = 0;
  std::string time;
  std::string date;
  std::string call;
  std::string rst;
  std::string serialReceived;
  std::string locator;
};

// What the correction screen asks of the rest of the program.
struct ContactLinks {
  // The course from the home locator to a valid locator, for its QRB and QTF.
  std::function<std::optional<Course>(std::string_view locator)> courseTo;
  // Applies the correction; false when it was refused (the operator was told why).
  std::function<bool(const ContactCorrection& correction)> apply;
  std::function<void(ContactId id)> remove;
  std::function<void()> close;
};

// The correction of one logged contact: its time, date, call, report, received serial and
// locator, with the QRB and QTF of the locator as it is typed. "OK" applies the correction,
// "Elimina contatto" takes the contact out after a question, "Annulla" leaves it as it was.
class ContactForm : public Form {
 public:
  ContactForm(Dialogs& dialogs, const Contact& contact, bool serialReceivedShown,
              ContactLinks links);

  Field timeField{"Text1"};
  Field dateField{"Text2"};
  Field callsignField{"Text3"};
  Field rstField{"Text4"};
  Field serialReceivedField{"Text5"};
  Field locatorField{"Text6"};
  Field qrbField{"Text7"};
  Field qtfField{"Text8"};
  Button okButton{"Command1", "OK"};
  Button cancelButton{"Command2", "Annulla"};
  Button deleteButton{"Command3", "Elimina contatto"};

  [[nodiscard]] std::vector<Control*> controls() override;
  [[nodiscard]] ContactId contactId() const { return m_id; }

 private:
  void showCourse();
  void apply();
  void remove();

  Dialogs& m_dialogs;
  ContactLinks m_links;
  ContactId m_id;
  std::string m_call;
  std::string m_time;
};

}  // namespace vantor
