#include "geo/scratch_number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vantor {

namespace {

// Every calculation writes four scratch numbers, and the standard library's conversion to 15
// digits takes as long as the rest of the calculation. The usual magnitudes therefore take an
// exact path in integer arithmetic.
__extension__ using Uint128 = unsigned __int128;

constexpr int kDigits = 15;
constexpr std::uint64_t kFifteenDigitsFrom = 100'000'000'000'000;
constexpr std::uint64_t kFifteenDigitsBelow = 1'000'000'000'000'000;
constexpr std::uint64_t kHalfDigits = 100'000'000;
// Over the fast range the decimal exponent, first estimates included, stays within -4 to 14, so
// the scale 10^(14 - exponent) needs the powers of five up to 5^18.
constexpr double kFastFrom = 1e-3;
constexpr double kFastBelow = 1e14;

constexpr std::array<std::uint64_t, 19> kPowersOfFive = [] {
  std::array<std::uint64_t, 19> powers{};
  std::uint64_t power = 1;
  for (auto& entry : powers) {
    entry = power;
    power *= 5;
  }
  return powers;
}();

// A double as mantissa x 2^binaryExponent, the mantissa a 53-bit integer.
struct Binary {
  std::uint64_t mantissa;
  int binaryExponent;
};

Binary binaryOf(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;
  return {(bits & (kHiddenBit - 1)) | kHiddenBit, static_cast<int>(bits >> 52) - 1075};
}

// The 15 significant digits of the number when its decimal exponent is `exponent`, as an integer
// rounded exactly with ties to even. It has 16 digits when the exponent was too low and 14 when
// it was too high.
std::uint64_t roundedDigits(Binary number, int exponent) {
  // number x 10^scale = mantissa x 5^scale x 2^(binaryExponent + scale): at most 95 bits, shifted
  // right by 5 to 46 bits over the fast range.
  const int scale = kDigits - 1 - exponent;
  const Uint128 scaled = Uint128{number.mantissa} * kPowersOfFive[static_cast<std::size_t>(scale)];
  const int shift = -(number.binaryExponent + scale);
  const Uint128 one = 1;
  auto digits = static_cast<std::uint64_t>(scaled >> shift);
  const Uint128 rest = scaled & ((one << shift) - 1);
  const Uint128 half = one << (shift - 1);
  if (rest > half || (rest == half && (digits & 1) != 0)) {
    ++digits;
  }
  return digits;
}

// Writes `count` decimal digits of `value`, leading zeros included, ending before `end`.
void writeDigits(std::uint64_t value, char* end, int count) {
  for (int i = 0; i < count; ++i) {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// The text of significant digits whose first digit stands at decimal `exponent`: "0." and zeros
// before them for a negative exponent, zeros after them or a point among them otherwise.
std::string placedText(bool negative, int exponent, std::string_view significant) {
  // Sign, "0.", two zeros and 15 digits at most.
  std::array<char, 24> text{};
  char* end = text.data();
  if (negative) {
    *end++ = '-';
  }
  const std::size_t used = significant.size();
  if (exponent < 0) {
    *end++ = '0';
    *end++ = '.';
    end = std::fill_n(end, -exponent - 1, '0');
    end = std::copy_n(significant.data(), used, end);
  } else {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (used <= whole) {
      end = std::copy_n(significant.data(), used, end);
      end = std::fill_n(end, whole - used, '0');
    } else {
      end = std::copy_n(significant.data(), whole, end);
      *end++ = '.';
      end = std::copy_n(significant.data() + whole, used - whole, end);
    }
  }
  return std::string(text.data(), end);
}

// The text of a value whose magnitude lies in the fast range.
std::string fixedText(double value) {
  const Binary number = binaryOf(std::fabs(value));
  // floor(log10(2^p)) for the leading power of two: the decimal exponent or one below it.
  int exponent = ((number.binaryExponent + 52) * 1233) >> 12;
  std::uint64_t digits = roundedDigits(number, exponent);
  while (digits < kFifteenDigitsFrom || digits >= kFifteenDigitsBelow) {
    exponent += digits < kFifteenDigitsFrom ? -1 : 1;
    digits = roundedDigits(number, exponent);
  }

  // Two halves convert side by side.
  std::array<char, kDigits> significant{};
  writeDigits(digits / kHalfDigits, significant.data() + 7, 7);
  writeDigits(digits % kHalfDigits, significant.data() + kDigits, 8);
  std::size_t used = significant.size();
  while (significant[used - 1] == '0') {
    --used;
  }

  return placedText(value < 0, exponent, std::string_view(significant.data(), used));
}

}  // namespace

std::string formatScratchNumber(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude >= kFastFrom && magnitude < kFastBelow) {
    return fixedText(value);
  }
  // 15 significant digits, sign, point and exponent fit.
  std::array<char, 32> text{};
  const auto converted = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::general, kDigits);
  return std::string(text.data(), converted.ptr);
}

}  // namespace vantor
