#include "contest/contact_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "form/field.h"
#include "contest/call_index.h"

namespace vantor {
namespace {

// Two records, the second a duplicate; a header of an earlier export; a line the operator broke.
constexpr std::string_view kRecords =
    "261207;1432;S59ABC;1;59;001;59;;;JN65TW;349;;N;;\r\n"
    "261207;1440;s59abc ;1;59;002;59;;;JN65TW;0;;;;D\r\n"
    "261207;1450;IZ2AB;1;59;003;59\r\n";
constexpr std::string_view kEarlierExport =
    "[REG1TEST;1]\r\nPCall=QQ9XYZ\r\nPWWLo=JN61FU\r\nCODXC=DL1ABC;JO62QM;900\r\n"
    "[QSORecords;1]\r\n261207;1432;DL1ABC;1;59;001;59;;;JO62QM;900;;N;;\r\n"
    "[END;Created by Vantor by Karsel]";

TEST(CallIndex, FindOnlyTheCallOfARecord) {
  const struct {
    std::string_view buffer;
    std::string_view call;
    bool found;
  } cases[] = {
      {kRecords, "S59ABC", true},
      {kRecords, " S59ABC ", true},
      {kRecords, "s59abc", true},
      {kRecords, "S59A", false},
      {kRecords, "S59ABCD", false},
      {kRecords, "59", false},
      {kRecords, "JN65TW", false},
      {kRecords, "IZ2AB", false},
      {kRecords, "", false},
      {kEarlierExport, "DL1ABC", true},
      {kEarlierExport, "DL1AB", false},
      {kEarlierExport, "QQ9XYZ", false},
      {kEarlierExport, "JO62QM", false},
      {"261207;1432;K1A;1;59;001;59;;;FN42AA;1;;N;;", "K1A", true},
      {"2612;1432;K1A;1;59;001;59;;;FN42AA;1;;N;;", "K1A", false},
  };
  for (const auto& c : cases) {
    CallIndex index;
    index.rebuild(c.buffer);
    EXPECT_EQ(index.holds(c.call), c.found) << '"' << c.call << "\" in " << c.buffer;
  }
}

// Following each change of the buffer leaves the index as a rebuild from the new text would.
TEST(CallIndex, FollowsEachChangeAsARebuildWould) {
  const std::string record = "261207;1440;IZ2ABC;1;59;002;59;;;JN45OK;200;;N;;\r\n";
  const std::string duplicate = "261207;1441;IZ2ABC;1;59;003;59;;;JN45OK;0;;;;D\r\n";
  Field buffer("Text15", std::string(kEarlierExport) + "\r\n" + std::string(kRecords),
               Field::Lines::Multi);
  const auto edited = [&buffer](std::size_t at, std::size_t removed, std::string_view inserted) {
    std::string text = buffer.text();
    text.replace(at, removed, inserted);
    buffer.edit(text, at);
  };
  const auto callAt = [&buffer](std::string_view call) { return buffer.text().find(call); };
  const std::function<void()> changes[] = {
      [&] { buffer.append(record); },
      [&] { buffer.append(duplicate); },
      [&] { edited(callAt("S59ABC") + 3, 1, "X"); },       // a call corrected
      [&] { edited(callAt(record), record.size(), ""); },  // a line taken out
      [&] { edited(callAt("\r\n261207;1441"), 2, ""); },   // two lines joined
      [&] { edited(callAt("261207;1441"), 0, "\r\n"); },   // and split again
      [&] { edited(callAt("DL1ABC") - 1, 1, "\r"); },      // a field made a line end
      [&] { edited(0, buffer.text().size(), std::string(Field::kKeptRemoval + 1, 'x') + record); },
      [&] { buffer.append("\r\n" + duplicate); },
  };
  CallIndex followed;
  followed.rebuild(buffer.text());
  for (std::size_t step = 0; step < std::size(changes); ++step) {
    changes[step]();
    if (!followed.follow(buffer.text(), buffer.lastChange())) {
      followed.rebuild(buffer.text());
    }
    CallIndex rebuilt;
    rebuilt.rebuild(buffer.text());
    EXPECT_EQ(followed.contacts(), rebuilt.contacts()) << "change " << step;
    for (const std::string_view call : {"S59ABC", "S59XBC", "IZ2ABC", "DL1ABC", "K1A"}) {
      EXPECT_EQ(followed.holds(call), rebuilt.holds(call)) << call << " after change " << step;
    }
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

TEST(LogRules, StepTheStatisticsFromTheFirstContactOn) {
  const struct {
    ShownStatistics shown;
    double distance;
    std::string_view points;
    bool replacesOdx;
    std::string_view total;
    std::string_view average;
  } cases[] = {
      {{"001", "900", "900", 0}, 50, "100", true, "100", "100"},
      {{"002", "50", "100", 1}, 306, "306", true, "406", "203"},
      {{"003", "306", "406", 2}, 306, "306", false, "712", "237"},
      {{"004", "306", "712", 3}, 12.5, "25", false, "737", "184"},
      // After a duplicate (serial 005) the average divides by the four contacts and this one.
      {{"006", "306", "737", 4}, 100, "100", false, "837", "167"},
  };
  for (const auto& c : cases) {
    const StatisticsStep step = nextStatistics(c.shown, c.distance, c.points);
    EXPECT_EQ(step.replacesOdx, c.replacesOdx) << c.shown.serialSent;
    EXPECT_EQ(step.total, c.total) << c.shown.serialSent;
    EXPECT_EQ(step.average, c.average) << c.shown.serialSent;
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
