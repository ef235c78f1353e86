#include "form/text.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor {
namespace {

struct UpperCase {
  std::string input;
  std::string expected;
};

class UpperCasing : public ::testing::TestWithParam<UpperCase> {};

TEST_P(UpperCasing, MapsAsciiAndWesternLettersOnly) {
  EXPECT_EQ(toUpper(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Letters, UpperCasing,
                         ::testing::Values(UpperCase{"iw0abc/p", "IW0ABC/P"}, UpperCase{"", ""},
                                           UpperCase{"à è é ì ò ù", "À È É Ì Ò Ù"},
                                           UpperCase{"ö ü ñ ç ø å", "Ö Ü Ñ Ç Ø Å"},
                                           UpperCase{"ÿ š œ ž", "Ÿ Š Œ Ž"},
                                           UpperCase{"ß µ ÷ 1;2=3", "ß µ ÷ 1;2=3"},
                                           UpperCase{"città", "CITTÀ"},
                                           UpperCase{"日本 😀 a", "日本 😀 A"},
                                           // Bytes that are not UTF-8 pass through unchanged.
                                           UpperCase{std::string("a\xff"
                                                                 "b\xc3",
                                                                 4),
                                                     std::string("A\xff"
                                                                 "B\xc3",
                                                                 4)}));

TEST(CharCount, CountsCodePointsAndStrayBytes) {
  EXPECT_EQ(charCount(""), 0U);
  EXPECT_EQ(charCount("JN81GD"), 6U);
  EXPECT_EQ(charCount("città"), 5U);
  EXPECT_EQ(charCount("😀"), 1U);
  EXPECT_EQ(charCount(std::string("\xff\xfe", 2)), 2U);
}

struct NumberReading {
  std::string text;
  double value;
};

class NumericValue : public ::testing::TestWithParam<NumberReading> {};

TEST_P(NumericValue, ReadsTheLeadingNumberIgnoringBlanks) {
  EXPECT_DOUBLE_EQ(numericValue(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumericValue,
                         ::testing::Values(NumberReading{"123", 123}, NumberReading{"   123", 123},
                                           NumberReading{" 349", 349}, NumberReading{"1 2 3", 123},
                                           NumberReading{"123abc", 123}, NumberReading{"??????", 0},
                                           NumberReading{"", 0}, NumberReading{"-12.5", -12.5},
                                           NumberReading{"+7", 7}, NumberReading{"007", 7},
                                           NumberReading{".5", 0.5}, NumberReading{"5.", 5},
                                           NumberReading{"1.2.3", 1.2}, NumberReading{"-", 0},
                                           NumberReading{"+-5", 0}, NumberReading{"12-3", 12},
                                           NumberReading{"1e3", 1}, NumberReading{"abc123", 0}));

TEST(NumericValue, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(numericValue(std::string(10000, '9')), std::numeric_limits<double>::max());
  EXPECT_EQ(numericValue("-" + std::string(10000, '9')), -std::numeric_limits<double>::max());
  EXPECT_EQ(numericValue("0." + std::string(10000, '0') + "1"), 0.0);
}

struct NumberWriting {
  double value;
  std::string text;
};

class FormatNumber : public ::testing::TestWithParam<NumberWriting> {};

TEST_P(FormatNumber, WritesTheShortestDecimalForm) {
  EXPECT_EQ(formatNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumber,
                         ::testing::Values(NumberWriting{123, "123"}, NumberWriting{0, "0"},
                                           NumberWriting{-0.0, "0"}, NumberWriting{-12, "-12"},
                                           NumberWriting{2.5, "2.5"}, NumberWriting{0.1, "0.1"},
                                           NumberWriting{233.0, "233"},
                                           NumberWriting{1e20, "100000000000000000000"}));

TEST(FormatNumber, RoundTripsThroughNumericValue) {
  for (const double value : {0.0, 1.0, 150.5, 19970.0, -3.25, 1e15, 0.001}) {
    EXPECT_EQ(numericValue(formatNumber(value)), value) << value;
  }
}

// A message quotes a long path or value by its first and last characters, 200 characters in all,
// however many bytes each takes.
TEST(MessageQuote, KeepsTheEndsOfALongTextWithinTheLongestQuote) {
  const std::string e = "\xC3\xA8";  // è
  std::string longAccents;
  for (int i = 0; i < 300; ++i) {
    longAccents += e;
  }
  std::string quotedAccents;
  for (int i = 0; i < 199; ++i) {
    quotedAccents += e;
  }
  quotedAccents.insert(100 * e.size(), "…");
  const struct {
    std::string text;
    std::string quote;
  } cases[] = {
      {"", ""},
      {std::string(200, 'a'), std::string(200, 'a')},
      {std::string(100, 'a') + std::string(101, 'b'),
       std::string(100, 'a') + "…" + std::string(99, 'b')},
      {longAccents, quotedAccents},
      {std::string(150, '\xFF') + std::string(150, 'z'),
       std::string(100, '\xFF') + "…" + std::string(99, 'z')},
  };
  for (const auto& [text, quote] : cases) {
    EXPECT_EQ(messageQuote(text), quote) << text.size();
    EXPECT_LE(charCount(messageQuote(text)), kLongestQuote);
  }
}

}  // namespace
}  // namespace vantor
