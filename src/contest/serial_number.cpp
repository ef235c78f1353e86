#include "contest/serial_number.h"

namespace vantor {

std::optional<int> readSerialNumber(std::string_view text) {
  int number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    number = number * 10 + (c - '0');
    if (number > kLastSerialNumber) {
      return std::nullopt;
    }
  }
  // An empty text and a text of zeros leave the number at 0.
  if (number < 1) {
    return std::nullopt;
  }
  return number;
}

std::string serialNumberText(int number) {
  std::string text = std::to_string(number);
  if (text.size() < 3) {
    text.insert(0, 3 - text.size(), '0');
  }
  return text;
}

}  // namespace vantor
