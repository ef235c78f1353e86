#include "contest/contact_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {
namespace {

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
  const EntryRow good{"1432", "261207", "001", "S59ABC", "59", "12", true};
  const auto with = [&good](auto change) {
    EntryRow row = good;
    change(row);
    return row;
  };
  const struct {
    EntryRow row;
    std::optional<std::string_view> problem;
  } cases[] = {
      {good, std::nullopt},
      {with([](EntryRow& r) { r.serialSent = "1000"; }), std::nullopt},
      {with([](EntryRow& r) { r.serialSent = "9999"; }), std::nullopt},
      {with([](EntryRow& r) { r.call = "QQ1ABC/P"; }), std::nullopt},
      {with([](EntryRow& r) { r.rst = "599"; }), std::nullopt},
      {with([](EntryRow& r) { r.serialReceived = ""; }), std::nullopt},
      {with([](EntryRow& r) { r.date = "240229"; }), std::nullopt},
      {with([](EntryRow& r) { r.time = "2359"; }), std::nullopt},
      {with([](EntryRow& r) {
         r.time = "143";
         r.date = "26120";
       }),
       "Inserire orario nel formato hhmm"},
      {with([](EntryRow& r) { r.time = "ab12"; }), "Inserire orario nel formato hhmm"},
      {with([](EntryRow& r) { r.time = "2460"; }), "Inserire orario nel formato hhmm"},
      {with([](EntryRow& r) { r.date = "261301"; }), "Inserire data nel formato yymmdd"},
      {with([](EntryRow& r) { r.date = "250229"; }), "Inserire data nel formato yymmdd"},
      {with([](EntryRow& r) { r.serialSent = "abc"; }), "Numero progressivo non valido"},
      {with([](EntryRow& r) { r.serialSent = "10000"; }), "Numero progressivo non valido"},
      {with([](EntryRow& r) { r.call = ""; }), "Nominativo non valido"},
      {with([](EntryRow& r) { r.call = "QQ"; }), "Nominativo non valido"},
      {with([](EntryRow& r) { r.call = "QQ1ABC;X"; }), "Nominativo non valido"},
      {with([](EntryRow& r) { r.call = "QQ1\tABC"; }), "Nominativo non valido"},
      {with([](EntryRow& r) { r.call = "QQ1ABCDEFGHIJKL"; }), "Nominativo non valido"},
      {with([](EntryRow& r) { r.rst = "5;9"; }), "RST non valido"},
      {with([](EntryRow& r) { r.rst = "5"; }), "RST non valido"},
      {with([](EntryRow& r) { r.serialReceived = "-5"; }), "Numero ricevuto non valido"},
      {with([](EntryRow& r) { r.serialReceived = "12345"; }), "Numero ricevuto non valido"},
      {with([](EntryRow& r) {
         r.serialReceived = "abc";
         r.serialReceivedShown = false;
       }),
       std::nullopt},
      {with([](EntryRow& r) {
         r.serialReceived = "1\x01";
         r.serialReceivedShown = false;
       }),
       "Numero ricevuto non valido"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(entryRowProblem(c.row), c.problem)
        << c.row.time << " " << c.row.date << " " << c.row.serialSent << " " << c.row.call << " "
        << c.row.rst << " " << c.row.serialReceived;
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
