#include "form/text.h"

#include "form/utf8.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vantor {

namespace {

char32_t upperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') {
    return c - 32;
  }
  // à..þ map to À..Þ, except ÷ (U+00F7) which is no letter.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
    return c - 32;
  }
  switch (c) {
    case 0xFF:  // ÿ
      return 0x178;
    case 0x161:  // š
      return 0x160;
    case 0x153:  // œ
      return 0x152;
    case 0x17E:  // ž
      return 0x17D;
    default:
      return c;
  }
}

}  // namespace

std::string editedText(std::string_view text, std::span<const TextEdit> edits) {
  std::size_t size = text.size();
  for (const TextEdit& edit : edits) {
    size += edit.inserted.size() - edit.removed;
  }
  std::string result;
  result.reserve(size);
  std::size_t from = 0;
  for (const TextEdit& edit : edits) {
    result.append(text.substr(from, edit.at - from)).append(edit.inserted);
    from = edit.at + edit.removed;
  }
  result.append(text.substr(from));
  return result;
}

std::string toUpper(std::string_view text) {
  std::string upper;
  upper.reserve(text.size());
  forEachCharacter(text, [&upper](std::optional<char32_t> codePoint, std::string_view bytes) {
    const char32_t mapped = codePoint ? upperCodePoint(*codePoint) : 0;
    if (!codePoint || mapped == *codePoint) {
      upper.append(bytes);
    } else {
      appendUtf8(upper, mapped);
    }
  });
  return upper;
}

std::size_t charCount(std::string_view text) {
  std::size_t count = 0;
  forEachCharacter(text, [&count](std::optional<char32_t>, std::string_view) { ++count; });
  return count;
}

namespace {

// The longest leading decimal number of a text, blanks skipped: an optional sign, digits, an
// optional "." and fraction. Empty when it holds no digit.
std::string leadingNumber(std::string_view text) {
  std::string number;
  bool seenDigit = false;
  bool seenPoint = false;
  for (const char c : text) {
    if (c == ' ') {
      continue;
    }
    if ((c == '+' || c == '-') && number.empty()) {
      number += c;
    } else if (c >= '0' && c <= '9') {
      number += c;
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      number += c;
      seenPoint = true;
    } else {
      break;
    }
  }
  return seenDigit ? number : std::string();
}

// A number with too many digits for a double: the largest value of its sign, or 0 for a tiny one,
// which has only zeros before its first significant digit behind the point.
double outOfRangeValue(const std::string& number) {
  const auto point = number.find('.');
  const auto firstNonZero = number.find_first_of("123456789");
  if (point != std::string::npos && firstNonZero != std::string::npos && firstNonZero > point) {
    return 0.0;
  }
  const double limit = std::numeric_limits<double>::max();
  return number.front() == '-' ? -limit : limit;
}

}  // namespace

double numericValue(std::string_view text) {
  const std::string number = leadingNumber(text);
  if (number.empty()) {
    return 0.0;
  }
  const char* first = number.data();
  if (*first == '+') {
    ++first;  // from_chars takes no plus sign
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    return outOfRangeValue(number);
  }
  return value == 0.0 ? 0.0 : value;
}

std::string messageQuote(std::string_view text) {
  const std::size_t characters = charCount(text);
  if (characters <= kLongestQuote) {
    return std::string(text);
  }
  constexpr std::size_t kHead = kLongestQuote / 2;
  const std::size_t tail = characterStart(text, characters - (kLongestQuote - kHead - 1));
  return std::string(text.substr(0, characterStart(text, kHead))) + "…" +
         std::string(text.substr(tail));
}

std::string formatNumber(double value) {
  if (!std::isfinite(value)) {
    value = std::isnan(value) ? 0.0 : std::copysign(std::numeric_limits<double>::max(), value);
  }
  if (value == 0.0) {
    return "0";
  }
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc{}) {
    return "0";
  }
  return std::string(buffer, end);
}

}  // namespace vantor
