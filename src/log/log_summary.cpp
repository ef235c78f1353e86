#include <string>
#include <string_view>

#include "contest/contact_time.h"
#include "form/text.h"
#include "log/log_form.h"

// The log screen's summary of the logged band (the contacts of the last minutes, the squares
// worked, the contacts and their points) and its new-square label.

namespace vantor {

namespace {

constexpr int kShortRateMinutes = 10;
constexpr int kLongRateMinutes = 60;
constexpr std::string_view kNewSquareText = "nuovo quadrato";

}  // namespace

void LogForm::showSummary(const Statistics& statistics) {
  squaresField.setText(std::to_string(statistics.squares));
  bandContactsField.setText(std::to_string(statistics.contacts));
  bandPointsField.setText(formatNumber(statistics.points));
  showRate();
  showNewSquare();
}

// The log counts its contacts by minute: a few lookups at any length of the log.
void LogForm::showRate() {
  m_rateMinute = rateMinute();
  LogDocument& document = this->document();
  tenMinutesField.setText(std::to_string(document.contactsWithin(m_rateMinute, kShortRateMinutes)));
  sixtyMinutesField.setText(
      std::to_string(document.contactsWithin(m_rateMinute, kLongRateMinutes)));
}

// The minute a contact made now would carry, the UTC clock's when no time option is picked.
std::int64_t LogForm::rateMinute() const {
  return minuteOf(referenceMoment(m_clock, timeReference().value_or(TimeReference::Utc)));
}

void LogForm::showNewSquare() {
  newSquareLabel.setText(document().opensSquare(locatorField.text()) ? kNewSquareText : "");
}

}  // namespace vantor
