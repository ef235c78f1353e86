#include "contest/serial_number.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(LogSerialNumber, ReadsOnlyWholeNumbersFromOneTo9999) {
  const struct {
    const char* text;
    std::optional<int> number;
  } cases[] = {
      {"001", 1},
      {"12", 12},
      {"0999", 999},
      {"", std::nullopt},
      {"000", std::nullopt},
      {"abc", std::nullopt},
      {"1000", 1000},
      {"09999", 9999},
      {"10000", std::nullopt},
      {"99999999999", std::nullopt},
      {"1.5", std::nullopt},
      {"+5", std::nullopt},
      {" 12", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readSerialNumber(c.text), c.number) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace vantor
