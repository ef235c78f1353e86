#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// A coordinate as the bearing screen's scratch fields show it: the value rounded to 15
// significant digits (ties to even), trailing zeros dropped, "." as decimal separator, no blanks
// ("41.1458333333333"). A value below 0.0001 or from 10^15 on is written with an exponent
// ("1e-05").
[[nodiscard]] std::string formatScratchNumber(double value);

// A number for a scratch field, formatted only when its text is asked for: the calculation
// gives four of them, which no screen shows.
class ScratchNumber {
 public:
  ScratchNumber() = default;
  explicit ScratchNumber(double value) : m_value(value) {}

  [[nodiscard]] std::string text() const { return formatScratchNumber(m_value); }
  // The same number bit for bit, and so the same text.
  [[nodiscard]] bool isSameNumber(const ScratchNumber& other) const {
    return std::bit_cast<std::uint64_t>(m_value) == std::bit_cast<std::uint64_t>(other.m_value);
  }

  // Equal when the scratch field would show the same text.
  friend bool operator==(const ScratchNumber& a, const ScratchNumber& b) {
    return a.text() == b.text();
  }
  friend bool operator==(const ScratchNumber& number, std::string_view text) {
    return number.text() == text;
  }

 private:
  double m_value = 0.0;
};

}  // namespace vantor
