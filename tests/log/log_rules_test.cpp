#include "log/log_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantor {
namespace {

TEST(LogRules, FindTheCallAnywhereInTheLogOnceItHasFourCharacters) {
  const struct {
    std::string_view log;
    std::string_view call;
    bool found;
  } cases[] = {
      {"261207;1432;QQ1ABC;1;59;001;59;;;JN61;1", "QQ1A", true},
      {"261207;1432;QQ1ABC;1;59;001;59;;;JN61;1", "QQ1", false},
      {"261207;1432;QQ1ABC;1;59;001;59;;;JN61;1", "QQ1ABCD", false},
      {"QQ1AB", "QQ1AB", true},
      {"QQ1A", "QQ1AB", false},
      {"261207;1432;", "1432", true},
      {"261207;1432;", "14329", false},
      {"ÀÈQQ", "ÀÈQQ", true},
      {"", "QQ1A", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(callIsInLog(c.log, c.call), c.found) << c.call << " in " << c.log;
  }
}

TEST(LogRules, DoubleASicilianCallByItsThirdAndLastCharacter) {
  const struct {
    std::string_view call;
    double factor;
  } cases[] = {
      {"IT9ABC", 2}, {"IT9AB9", 4}, {"IT1AB9", 2}, {"IT1ABC", 1},
      {"ÀÈ9", 4},    {"À9A", 1},    {"9", 2},      {"", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sicilianFactor(c.call), c.factor) << c.call;
  }
}

TEST(LogRules, CheckTheEntryRowInOrder) {
  const struct {
    EntryRow row;
    std::optional<std::string_view> problem;
  } cases[] = {
      {{"1432", "261207", "001"}, std::nullopt},
      {{"143", "26120", "abc"}, "Inserire orario nel formato hhmm"},
      {{"1432", "26120", "abc"}, "Inserire data nel formato yymmdd"},
      {{"1432", "261207", "abc"}, "Numero progressivo non valido"},
      {{"1432", "261207", "1000"}, "Numero progressivo non valido"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(entryRowProblem(c.row), c.problem) << c.row.time << " " << c.row.serialSent;
  }
}

TEST(LogRules, StepTheStatisticsFromTheFirstContactOn) {
  const struct {
    ShownStatistics shown;
    double distance;
    std::string_view points;
    int serial;
    bool replacesOdx;
    std::string_view total;
    std::string_view average;
  } cases[] = {
      {{"001", "900", "900"}, 50, "100", 1, true, "100", "100"},
      {{"002", "50", "100"}, 306, "306", 2, true, "406", "203"},
      {{"003", "306", "406"}, 306, "306", 3, false, "712", "237"},
      {{"004", "306", "712"}, 12.5, "25", 4, false, "737", "184"},
  };
  for (const auto& c : cases) {
    const StatisticsStep step = nextStatistics(c.shown, c.distance, c.points, c.serial);
    EXPECT_EQ(step.replacesOdx, c.replacesOdx) << c.serial;
    EXPECT_EQ(step.total, c.total) << c.serial;
    EXPECT_EQ(step.average, c.average) << c.serial;
  }
}

TEST(LogRules, KnowEachListedModeAndNoTypedOne) {
  for (const Mode& mode : modes) {
    EXPECT_EQ(findMode(mode.name), &mode);
  }
  EXPECT_EQ(findMode("ssb"), nullptr);
  EXPECT_EQ(findMode("FM"), nullptr);
}

}  // namespace
}  // namespace vantor
