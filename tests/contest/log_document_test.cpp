#include "contest/log_document.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contact_time.h"

namespace vantor {
namespace {

constexpr std::string_view kHome = "JN61FU";

// Two records, the second a duplicate; a header of an earlier export; a line the operator broke.
constexpr std::string_view kRecords =
    "261207;1432;S59ABC;1;59;001;59;;;JN65TW;349;;N;;\r\n"
    "261207;1440;s59abc ;1;59;002;59;;;JN65TW;0;;;;D\r\n"
    "261207;1450;IZ2AB;1;59;003;59\r\n";
constexpr std::string_view kEarlierExport =
    "[REG1TEST;1]\r\nPCall=QQ9XYZ\r\nPWWLo=JN61FU\r\nCODXC=DL1ABC;JO62QM;900\r\n"
    "[QSORecords;1]\r\n261207;1432;DL1ABC;1;59;001;59;;;JO62QM;900;;N;;\r\n"
    "[END;Created by Vantor by Karsel]";

// A log buffer with its document, measured from kHome.
struct Log {
  explicit Log(std::string_view text) : buffer("Text15", text, Field::Lines::Multi) {
    document.setHome(kHome);
  }
  Field buffer;
  LogDocument document{buffer};
};

TEST(LogDocument, IndexesOnlyTheCallsOfRecords) {
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
      {kRecords, "JN65TW", false},
      {kRecords, "IZ2AB", false},
      {kRecords, "", false},
      {kEarlierExport, "DL1ABC", true},
      {kEarlierExport, "QQ9XYZ", false},
      {"261207;1432;K1A;1;59;001;59;;;FN42AA;1;;N;;", "K1A", true},
      {"2612;1432;K1A;1;59;001;59;;;FN42AA;1;;N;;", "K1A", false},
  };
  for (const auto& c : cases) {
    Log log(c.buffer);
    EXPECT_EQ(log.document.calls().holds(c.call), c.found) << '"' << c.call << "\" in " << c.buffer;
  }
}

// The one score rule: the records not marked "D" are the contacts; the total their points, the
// ODX the farthest by real distance (a doubled Sicilian contact does not win by its points), the
// average the total over their number, rounded down.
TEST(LogDocument, ScoresTheRecordsNotMarkedAsDuplicates) {
  const struct {
    std::string_view buffer;
    Statistics expected;
  } cases[] = {
      {"", {}},
      {"a note\r\n", {}},
      {"261207;1440;S59ABC;1;59;002;59;;;JN65TW;0;;;;D\r\n", {}},
      {kRecords, {1, 349, "349", "349", "S59ABC", "JN65TW", "462", 1}},
      {"261207;1432;IT9ABC;1;59;001;59;;;JM78SC;1600;;N;;\r\n"
       "261207;1433;DL1ABC;1;59;002;59;;;JO62QM;600;;N;;\r\n",
       {2, 2200, "2200", "1100", "DL1ABC", "JO62QM", "1185", 2}},
      {"261207;1432;IK1AAA;1;59;001;59;;;JN61FU;1;;N;;\r\n"
       "261207;1433;IK1BBB;1;59;001;59;;;JN61;5;;N;;\r\n"
       "261207;1434;IK1CCC;1;59;002;59;;;??;7;;N;;\r\n",
       {3, 13, "13", "4", "IK1BBB", "JN61", "58", 1}},
      {kEarlierExport, {1, 900, "900", "900", "DL1ABC", "JO62QM", "1185", 1}},
  };
  for (const auto& c : cases) {
    Log log(c.buffer);
    const Statistics statistics = log.document.statistics();
    EXPECT_EQ(statistics.contacts, c.expected.contacts) << c.buffer;
    EXPECT_EQ(statistics.points, c.expected.points) << c.buffer;
    EXPECT_EQ(statistics.total, c.expected.total) << c.buffer;
    EXPECT_EQ(statistics.average, c.expected.average) << c.buffer;
    EXPECT_EQ(statistics.odxCall, c.expected.odxCall) << c.buffer;
    EXPECT_EQ(statistics.odxLocator, c.expected.odxLocator) << c.buffer;
    EXPECT_EQ(statistics.odxDistance, c.expected.odxDistance) << c.buffer;
    EXPECT_EQ(statistics.squares, c.expected.squares) << c.buffer;
  }
}

// The first contact of each square in the log's order carries "N" and every other record nothing,
// whatever the lines held; each record keeps its identity, in a log whose every line was wrong
// too, and a log marked right is not written.
TEST(LogDocument, MarksTheFirstContactOfEachSquareNew) {
  std::string oldMarks;
  std::string rightMarks;
  for (int index = 0; index < 3000; ++index) {
    const std::string start = "261207;1432;IK" + std::to_string(index) + ";1;59;001;59;;;JN" +
                              std::to_string(60 + index % 3) + "AA;1;;";
    oldMarks += start + "N;;\r\n";
    rightMarks += start + (index < 3 ? "N;;\r\n" : ";;\r\n");
  }
  const struct {
    std::string before;
    std::string after;
  } cases[] = {
      {"261207;1432;IK1AAA;1;59;001;59;;;JN61FU;1;;;;\r\n"
       "261207;1433;IK1BBB;1;59;002;59;;;jn61aa;1;;N;;\r\n"
       "a note;;N;;\r\n"
       "261207;1434;IK1CCC;1;59;003;59;;;JN45;1;;X;;\r\n"
       "261207;1435;IK1AAA;1;59;004;59;;;JN52AA;0;;N;;D\r\n"
       "261207;1436;IK1DDD;1;59;005;59;;;JN52;1;;X;;\r\n"
       "261207;1437;IK1EEE;1;59;006;59;;;??;1;;N;;\r\n"
       "261207;1438;IK1FFF;1;59;007;59;;;JN52AB;1;;N;;",
       "261207;1432;IK1AAA;1;59;001;59;;;JN61FU;1;;N;;\r\n"
       "261207;1433;IK1BBB;1;59;002;59;;;jn61aa;1;;;;\r\n"
       "a note;;N;;\r\n"
       "261207;1434;IK1CCC;1;59;003;59;;;JN45;1;;N;;\r\n"
       "261207;1435;IK1AAA;1;59;004;59;;;JN52AA;0;;;;D\r\n"
       "261207;1436;IK1DDD;1;59;005;59;;;JN52;1;;N;;\r\n"
       "261207;1437;IK1EEE;1;59;006;59;;;??;1;;;;\r\n"
       "261207;1438;IK1FFF;1;59;007;59;;;JN52AB;1;;;;"},
      {oldMarks, rightMarks},
  };
  for (const auto& c : cases) {
    Log log(c.before);
    std::vector<ContactId> identities;
    for (const LogLine& line : log.document.lines()) {
      identities.push_back(line.id);
    }
    log.document.markNewSquares();
    EXPECT_EQ(log.buffer.text(), c.after);
    const std::span<const LogLine> lines = log.document.lines();
    ASSERT_EQ(lines.size(), identities.size());
    for (std::size_t line = 0; line < lines.size(); ++line) {
      EXPECT_EQ(lines[line].id, identities[line]) << "line " << line;
    }
    const std::uint64_t rewrites = log.buffer.rewrites();
    log.document.markNewSquares();
    EXPECT_EQ(log.buffer.rewrites(), rewrites);
  }
}

// A contact counts in the minutes its record's date and time give, across midnight too; a
// duplicate, a record of no real date or time and one after the minute counted to count in none.
TEST(LogDocument, CountsTheContactsOfTheLastMinutes) {
  Log log(
      "261231;2340;IK1AAA;1;59;001;59;;;JN61FU;1;;N;;\r\n"
      "261231;2355;IK1BBB;1;59;002;59;;;JN61FU;1;;;;\r\n"
      "261231;2356;IK1BBB;1;59;003;59;;;JN61FU;0;;;;D\r\n"
      "270101;0000;IK1CCC;1;59;004;59;;;JN61FU;1;;;;\r\n"
      "270101;2460;IK1DDD;1;59;005;59;;;JN61FU;1;;;;\r\n"
      "270231;0001;IK1EEE;1;59;006;59;;;JN61FU;1;;;;\r\n"
      "270101;0005;IK1FFF;1;59;007;59;;;JN61FU;1;;;;\r\n");
  const struct {
    DateTime now;
    int minutes;
    std::size_t contacts;
  } cases[] = {
      {{2026, 12, 31, 23, 59, 59}, 10, 1}, {{2027, 1, 1, 0, 0}, 10, 2},
      {{2027, 1, 1, 0, 4}, 10, 2},         {{2027, 1, 1, 0, 5}, 10, 2},
      {{2027, 1, 1, 0, 5}, 60, 4},         {{2027, 1, 1, 0, 40}, 60, 3},
      {{2027, 1, 1, 1, 5}, 60, 0},         {{2026, 12, 31, 23, 39}, 60, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(log.document.contactsWithin(minuteOf(c.now), c.minutes), c.contacts)
        << clockText(c.now) << " " << c.minutes;
  }
}

// The first record of a call is the contact, every later one a duplicate; a duplicate that
// becomes the contact gets its points, a contact that becomes a duplicate "0" and no new-square
// mark (the new squares are marked apart).
TEST(LogDocument, MarksTheFirstRecordOfACallTheContact) {
  Log log(
      "261207;1432;IK1AAA;1;59;001;59;;;JN61FU;0;;;;D\r\n"
      "a note\r\n"
      "261207;1433;ik1aaa;1;59;002;59;;;JN45OK;200;;N;;\r\n"
      "261207;1434;IK1AAA;1;59;003;59;;;JN45OK;0;;;;D\r\n");
  const ContactId id = log.document.contactAt(0)->id;
  log.document.markDuplicates("IK1AAA", [](const Contact& contact) { return contact.time; });
  EXPECT_EQ(log.buffer.text(),
            "261207;1432;IK1AAA;1;59;001;59;;;JN61FU;1432;;;;\r\n"
            "a note\r\n"
            "261207;1433;ik1aaa;1;59;002;59;;;JN45OK;0;;;;D\r\n"
            "261207;1434;IK1AAA;1;59;003;59;;;JN45OK;0;;;;D\r\n");
  EXPECT_EQ(log.document.contactAt(0)->id, id);
  EXPECT_EQ(log.document.statistics().total, "1432");
}

// A contact keeps its identity through a correction of its line and through changes around it.
TEST(LogDocument, KeepsAContactsIdentityThroughChanges) {
  Log log(kRecords);
  const ContactId first = log.document.contactAt(0)->id;
  const ContactId second = log.document.contactAt(1)->id;
  Contact corrected = *log.document.contactAt(0);
  corrected.locator = "JN65TX";
  log.document.rewrite(0, corrected);
  EXPECT_EQ(log.document.contactAt(0)->id, first);
  log.document.remove(0);
  EXPECT_EQ(log.document.contactAt(0)->id, second);
  EXPECT_FALSE(log.document.lineOf(first));
  log.buffer.edit("note\r\n" + log.buffer.text(), 0);
  EXPECT_EQ(log.document.lineOf(second), 1U);
}

// Every way the program changes a short log keeps the identities of the records it did not take
// out: a new home, a line put in before them, the marks written over most of the text.
TEST(LogDocument, KeepsIdentitiesThroughANewHomeAnInsertionAndNewMarks) {
  Log log("261207;1432;S59ABC;1;59;001;59;;;JN65TW;349;;;;\r\n");
  const ContactId first = log.document.contactAt(0)->id;
  const struct {
    std::string_view what;
    std::function<void()> change;
    std::size_t line;
  } cases[] = {
      {"a new home", [&] { log.document.setHome("JN70AA"); }, 0},
      {"the marks of a short log", [&] { log.document.markNewSquares(); }, 0},
      {"a record put in before",
       [&] {
         log.document.insert(0, *Contact::read("261207;1400;I4AAA;1;59;001;59;;;JN54AA;1;;;;"));
       },
       1},
  };
  for (const auto& test : cases) {
    test.change();
    EXPECT_EQ(log.document.lineOf(first), test.line) << test.what;
  }
  EXPECT_EQ(log.document.statistics().odxCall, "S59ABC") << "measured from the new home";
  EXPECT_NE(log.buffer.text().find("JN65TW;349;;N;;"), std::string::npos);
}

// Random insertions, corrections, deletions and the operator's own edits, each followed by the
// document, leave its lines, index and score as a document reading the text afresh has them.
TEST(LogDocument, FollowsEveryChangeAsAFreshReadingWould) {
  const std::vector<std::string> calls{"S59ABC", "IZ2AB", "DL1ABC", "IT9ABC", "K1A"};
  const std::vector<std::string> locators{"JN65TW", "JO62QM", "JM78SC", "JN61FU", "JN45", "??"};
  std::mt19937 random(29);
  const auto pick = [&random](std::size_t size) {
    return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
  };
  Log log(std::string(kEarlierExport) + "\r\n" + std::string(kRecords));
  std::string home(kHome);
  for (int step = 0; step < 600; ++step) {
    const std::span<const LogLine> lines = log.document.lines();
    const std::size_t line = pick(lines.size());
    const std::string& text = log.buffer.text();
    switch (pick(6)) {
      case 0: {
        Contact contact;
        contact.date = "261207";
        contact.time = "1432";
        contact.call = calls[pick(calls.size())];
        contact.locator = locators[pick(locators.size())];
        const std::string points[] = {std::to_string(pick(900)), "0.1", "12.5",
                                      std::string(309, '9')};
        contact.newSquare = pick(2) == 0 ? "N" : "";
        contact.markDuplicate(pick(3) == 0, points[pick(std::size(points))]);
        log.document.append(contact);
        break;
      }
      case 1:
        if (auto contact = log.document.contactAt(line)) {
          contact->call = calls[pick(calls.size())];
          contact->locator = locators[pick(locators.size())];
          log.document.rewrite(line, *contact);
          log.document.markDuplicates(contact->call, [](const Contact&) { return "5"; });
        }
        break;
      case 2:
        log.document.remove(line);
        break;
      case 3: {
        const std::size_t at = pick(text.size() + 1);
        const std::size_t removed = std::min<std::size_t>(pick(4), text.size() - at);
        const std::string_view pieces[] = {"\r\n", "\r", "\n", "X", ";", "D", ""};
        std::string edited = text;
        edited.replace(at, removed, pieces[pick(std::size(pieces))]);
        log.buffer.edit(edited, at);
        break;
      }
      case 4:
        log.document.markNewSquares();
        break;
      default:
        home = pick(2) == 0 ? "JO62QM" : kHome;
        log.document.setHome(home);
    }
    Log fresh(log.buffer.text());
    fresh.document.setHome(home);
    const std::span<const LogLine> followed = log.document.lines();
    const std::span<const LogLine> read = fresh.document.lines();
    ASSERT_EQ(followed.size(), read.size()) << "step " << step;
    for (std::size_t at = 0; at < read.size(); ++at) {
      ASSERT_EQ(followed[at].start, read[at].start) << "step " << step << " line " << at;
      ASSERT_EQ(followed[at].isRecord(), read[at].isRecord()) << "step " << step;
      ASSERT_EQ(followed[at].duplicate, read[at].duplicate) << "step " << step;
      ASSERT_EQ(followed[at].points, read[at].points) << "step " << step;
      ASSERT_EQ(followed[at].square, read[at].square) << "step " << step;
      ASSERT_EQ(followed[at].squareMark, read[at].squareMark) << "step " << step;
    }
    EXPECT_EQ(log.document.score().odxLine(), fresh.document.score().odxLine()) << step;
    EXPECT_EQ(log.document.score().contacts(), fresh.document.score().contacts()) << step;
    EXPECT_EQ(log.document.score().squares(), fresh.document.score().squares()) << step;
    const std::int64_t now = minuteOf({2026, 12, 7, 14, 32});
    EXPECT_EQ(log.document.contactsWithin(now, 10), fresh.document.contactsWithin(now, 10)) << step;
    EXPECT_EQ(log.document.statistics().total, fresh.document.statistics().total) << step;
    for (const std::string& call : calls) {
      EXPECT_EQ(log.document.calls().holds(call), fresh.document.calls().holds(call)) << step;
    }
  }
}

}  // namespace
}  // namespace vantor
