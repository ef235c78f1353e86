#include "known/known_rules.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vantor {
namespace {

TEST(KnownRules, KeepCallsWithADigitAndALetterThatARecordCarries) {
  const struct {
    std::string_view call;
    bool kept;
  } cases[] = {
      {"QQ1ABC", true},         {"QQ1ABC/P", true},         {"I/QQ1ABC", true}, {"Q1A", true},
      {"QQ1ABCDEFGHIJK", true}, {"QQ1ABCDEFGHIJKL", false}, {"Q1", false},      {"QQABC", false},
      {"123", false},           {"QQ1-ABC", false},         {"QQ1 ABC", false}, {"QQ1ÉBC", false},
  };
  for (const auto& [call, kept] : cases) {
    EXPECT_EQ(isKnownCall(call), kept) << call;
  }
}

// A four-character square gives no QRB: only whole locators are kept.
TEST(KnownRules, KeepOnlyWholeLocators) {
  const struct {
    std::string_view locator;
    bool kept;
  } cases[] = {
      {"JN45AB", true},  {"RR99XX", true},  {"JN45", false},   {"JN45ABCD", false},
      {"JS45AB", false}, {"JN45AY", false}, {"JNA5AB", false}, {"", false},
  };
  for (const auto& [locator, kept] : cases) {
    EXPECT_EQ(isKnownLocator(locator), kept) << locator;
  }
}

}  // namespace
}  // namespace vantor
