#include "geo/scratch_number.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace vantor {
namespace {

std::string generalFifteenDigits(double value) {
  std::array<char, 32> text{};
  const auto converted =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 15);
  return std::string(text.data(), converted.ptr);
}

TEST(ScratchNumber, ShowsFifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(formatScratchNumber(41 + 7.0 / 48), "41.1458333333333");
  EXPECT_EQ(formatScratchNumber(-(16 + 13.0 / 24)), "-16.5416666666667");
  EXPECT_EQ(formatScratchNumber(-790.6875), "-790.6875");
  EXPECT_EQ(formatScratchNumber(12), "12");
  EXPECT_EQ(formatScratchNumber(1500), "1500");
  EXPECT_EQ(formatScratchNumber(0.0625), "0.0625");
  EXPECT_EQ(formatScratchNumber(0.00125), "0.00125");
  EXPECT_EQ(formatScratchNumber(99999999999999.99), "100000000000000");
  // Exact ties in the sixteenth digit go to the even neighbour.
  EXPECT_EQ(formatScratchNumber(10000000000000.25), "10000000000000.2");
  EXPECT_EQ(formatScratchNumber(10000000000000.75), "10000000000000.8");
  EXPECT_EQ(formatScratchNumber(0.00001), "1e-05");
}

// The fast exact path must agree with the standard library's general conversion everywhere.
TEST(ScratchNumber, AgreesWithTheGeneralConversion) {
  for (int n = -48 * 2000; n <= 48 * 2000; ++n) {
    const double value = n / 48.0;
    ASSERT_EQ(formatScratchNumber(value), generalFifteenDigits(value)) << n;
  }
  std::mt19937_64 random(20260509);
  std::uniform_real_distribution<double> decades(-6, 16);
  for (int i = 0; i < 200'000; ++i) {
    const double value = std::pow(10.0, decades(random)) * (i % 2 == 0 ? 1 : -1);
    ASSERT_EQ(formatScratchNumber(value), generalFifteenDigits(value)) << value;
    const double next = std::nextafter(value, 0.0);
    ASSERT_EQ(formatScratchNumber(next), generalFifteenDigits(next)) << next;
  }
  for (int exponent = -4; exponent <= 15; ++exponent) {
    const double power = std::pow(10.0, exponent);
    for (const double value : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300)}) {
      ASSERT_EQ(formatScratchNumber(value), generalFifteenDigits(value)) << value;
    }
  }
}

}  // namespace
}  // namespace vantor
