#include "contest/contact_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "contest/contact_time.h"
#include "contest/serial_number.h"
#include "form/text.h"
#include "form/utf8.h"

namespace vantor {

namespace {

bool isAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether the text is `count` ASCII digits.
bool isDigits(std::string_view text, std::size_t count) {
  return text.size() == count && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

int twoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// Empty, or one to four digits.
bool isReceivedSerial(std::string_view text) {
  return text.size() <= 4 && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// A text a record can carry without gaining a field or breaking its line.
bool fitsARecord(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == ';' || byte < 0x20 || byte == 0x7f;
  });
}

}  // namespace

std::string normalizedCall(std::string_view call) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = call.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return toUpper(call.substr(first, call.find_last_not_of(kBlanks) - first + 1));
}

bool isCallsign(std::string_view text) {
  return text.size() >= 3 && text.size() <= 14 && std::all_of(text.begin(), text.end(), [](char c) {
           return isAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
         });
}

bool isRealTime(std::string_view text) {
  return isDigits(text, 4) && twoDigits(text, 0) <= 23 && twoDigits(text, 2) <= 59;
}

bool isRealDate(std::string_view text) {
  if (!isDigits(text, 6)) {
    return false;
  }
  const int month = twoDigits(text, 2);
  const int day = twoDigits(text, 4);
  return month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(2000 + twoDigits(text, 0), month);
}

double sicilianFactor(std::string_view call) {
  const std::size_t third = characterStart(call, 2);
  double factor = 1;
  if (third < call.size() && call[third] == '9') {
    factor *= 2;
  }
  if (call.ends_with('9')) {
    factor *= 2;
  }
  return factor;
}

const Mode* findMode(std::string_view name) {
  for (const Mode& mode : modes) {
    if (mode.name == name) {
      return &mode;
    }
  }
  return nullptr;
}

const Mode* findModeByCode(std::string_view code) {
  for (const Mode& mode : modes) {
    if (mode.code == code) {
      return &mode;
    }
  }
  return nullptr;
}

std::optional<std::string_view> entryRowProblem(const EntryRow& row) {
  if (!isRealTime(row.time)) {
    return "Inserire orario nel formato hhmm";
  }
  if (!isRealDate(row.date)) {
    return "Inserire data nel formato yymmdd";
  }
  if (!readSerialNumber(row.serialSent)) {
    return "Numero progressivo non valido";
  }
  if (!isCallsign(row.call)) {
    return "Nominativo non valido";
  }
  if (!isDigits(row.rst, 2) && !isDigits(row.rst, 3)) {
    return "RST non valido";
  }
  // A hidden field's text still goes into the record.
  if (row.serialReceivedShown ? !isReceivedSerial(row.serialReceived)
                              : !fitsARecord(row.serialReceived)) {
    return "Numero ricevuto non valido";
  }
  return std::nullopt;
}

}  // namespace vantor
