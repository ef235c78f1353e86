#include "log/contact_form.h"

#include <utility>

#include "contest/contact_rules.h"
#include "form/text.h"

namespace vantor {

ContactForm::ContactForm(Dialogs& dialogs, const Contact& contact, bool serialReceivedShown,
                         ContactLinks links)
    : m_dialogs(dialogs),
      m_links(std::move(links)),
      m_id(contact.id),
      m_call(contact.call),
      m_time(contact.time) {
  qrbField.setLocked(true);
  qtfField.setLocked(true);
  serialReceivedField.setVisible(serialReceivedShown || !contact.serialReceived.empty());
  timeField.setText(contact.time);
  dateField.setText(contact.date);
  callsignField.setText(contact.call);
  rstField.setText(contact.rstSent);
  serialReceivedField.setText(contact.serialReceived);
  locatorField.setText(contact.locator);
  showCourse();
  callsignField.onChange([this] { callsignField.writeUpperCase(); });
  locatorField.onChange([this] {
    if (!locatorField.writeUpperCase()) {
      showCourse();
    }
  });
  for (Field* entry :
       {&timeField, &dateField, &callsignField, &rstField, &serialReceivedField, &locatorField}) {
    entry->onEnter([this] { okButton.press(); });
  }
  okButton.onPress([this] { apply(); });
  cancelButton.onPress([this] { m_links.close(); });
  deleteButton.onPress([this] { remove(); });
  requestFocus(callsignField);
}

// The QRB and QTF of a complete locator; both empty for any other text.
void ContactForm::showCourse() {
  const std::string& locator = locatorField.text();
  const auto course =
      charCount(locator) == 6 && isValidLocator(locator) ? m_links.courseTo(locator) : std::nullopt;
  qrbField.setText(course ? formatNumber(countedDistance(course->distance)) : std::string());
  qtfField.setText(course ? std::to_string(course->bearing) : std::string());
}

void ContactForm::apply() {
  const ContactCorrection correction{
      .id = m_id,
      .time = timeField.text(),
      .date = dateField.text(),
      .call = callsignField.text(),
      .rst = rstField.text(),
      .serialReceived = serialReceivedField.text(),
      .locator = locatorField.text(),
  };
  if (m_links.apply(correction)) {
    m_links.close();
  }
}

void ContactForm::remove() {
  if (!m_dialogs.askYesNo("Eliminare dal LOG il contatto con " + messageQuote(m_call) + " delle " +
                          messageQuote(m_time) + "?")) {
    return;
  }
  m_links.remove(m_id);
  m_links.close();
}

std::vector<Control*> ContactForm::controls() {
  return {&timeField,    &dateField, &callsignField, &rstField, &serialReceivedField,
          &locatorField, &qrbField,  &qtfField,      &okButton, &cancelButton,
          &deleteButton};
}

}  // namespace vantor
