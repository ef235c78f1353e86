// The text helpers on any bytes: reading a number, writing one back, upper-casing and counting
// characters.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "check.h"
#include "form/text.h"
#include "form/utf8.h"

namespace {

using namespace vantor;

char asciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A written number: an optional "-", digits, and at most one "." with digits on both sides and
// no trailing zero behind it.
void checkNumberText(std::string_view text) {
  FUZZ_CHECK(!text.empty());
  const std::string_view digits = text.front() == '-' ? text.substr(1) : text;
  FUZZ_CHECK(!digits.empty());
  FUZZ_CHECK(std::all_of(digits.begin(), digits.end(),
                         [](char c) { return (c >= '0' && c <= '9') || c == '.'; }));
  const std::size_t point = digits.find('.');
  if (point != std::string_view::npos) {
    FUZZ_CHECK(digits.find('.', point + 1) == std::string_view::npos);
    FUZZ_CHECK(point > 0 && digits.back() != '.' && digits.back() != '0');
  }
}

void checkNumber(double value) {
  const std::string text = formatNumber(value);
  checkNumberText(text);
  if (std::isfinite(value)) {
    FUZZ_CHECK(numericValue(text) == value);
    // A whole number is written without a decimal point.
    FUZZ_CHECK((text.find('.') == std::string::npos) == (std::trunc(value) == value));
  }
}

void checkUpperCase(std::string_view text) {
  const std::string upper = toUpper(text);
  FUZZ_CHECK(toUpper(upper) == upper);
  FUZZ_CHECK(charCount(upper) == charCount(text));
  if (isAscii(text)) {
    FUZZ_CHECK(upper.size() == text.size());
    FUZZ_CHECK(std::equal(text.begin(), text.end(), upper.begin(),
                          [](char typed, char shown) { return asciiUpper(typed) == shown; }));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double read = numericValue(text);
  FUZZ_CHECK(std::isfinite(read));
  checkNumber(read);

  if (size >= sizeof(double)) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    checkNumber(bits);
  }

  FUZZ_CHECK(charCount(text) <= text.size());
  checkUpperCase(text);
  return 0;
}
