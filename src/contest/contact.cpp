#include "contest/contact.h"

#include <string_view>

#include "contest/contact_rules.h"
#include "form/text.h"
#include "geo/locator.h"

namespace vantor {

namespace {

using Member = std::string Contact::*;

// The record's fields in their order.
constexpr std::array<Member, kQsoRecordFieldCount> kFields{
    &Contact::date,        &Contact::time,           &Contact::call,
    &Contact::modeCode,    &Contact::rstSent,        &Contact::serialSent,
    &Contact::rstReceived, &Contact::serialReceived, &Contact::exchangeReceived,
    &Contact::locator,     &Contact::points,         &Contact::newExchange,
    &Contact::newSquare,   &Contact::newCountry,     &Contact::duplicateMark,
};

bool isDigits(std::string_view text, std::size_t count) {
  return text.size() == count && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<QsoFields> readQsoRecord(std::string_view line) {
  auto fields = splitQsoRecord(line);
  if (!fields || !isDigits((*fields)[0], 6) || !isDigits((*fields)[1], 4)) {
    return std::nullopt;
  }
  return fields;
}

std::optional<Contact> Contact::read(std::string_view line) {
  const auto fields = readQsoRecord(line);
  if (!fields) {
    return std::nullopt;
  }
  Contact contact;
  for (std::size_t index = 0; index < kFields.size(); ++index) {
    contact.*kFields[index] = (*fields)[index];
  }
  return contact;
}

void Contact::markDuplicate(bool duplicate, std::string_view contactPoints) {
  // New strings moved in: assigning in place trips a false overlap warning of GCC 12 at -O3.
  points = std::string(duplicate ? "0" : contactPoints);
  if (duplicate) {
    newSquare = std::string();
  }
  duplicateMark = std::string(duplicate ? "D" : "");
}

std::string Contact::line() const {
  std::string text;
  text.reserve(64);
  for (std::size_t index = 0; index < kFields.size(); ++index) {
    if (index > 0) {
      text += ';';
    }
    text += this->*kFields[index];
  }
  text += kLineEnd;
  return text;
}

bool isWellFormedRecord(std::string_view line) {
  const auto contact = Contact::read(line);
  if (!contact) {
    return false;
  }
  const std::string_view locator = contact->locator;
  const std::string_view points = contact->points;
  return isRealDate(contact->date) && isRealTime(contact->time) && isCallsign(contact->call) &&
         (locator.size() == 4 || locator.size() == 6) && isValidLocator(locator) &&
         !points.empty() && points.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace vantor
