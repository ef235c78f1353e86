#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "header/header_form.h"
#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

using Insertion = LogFixture;

struct Statistics {
  std::string odxCall;
  std::string odxLocator;
  std::string odxDistance;
  std::string total;
  std::string average;

  friend bool operator==(const Statistics&, const Statistics&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Statistics& s) {
    return out << s.odxCall << " " << s.odxLocator << " " << s.odxDistance << " total " << s.total
               << " average " << s.average;
  }
};

Statistics statisticsOf(const LogForm& log) {
  return {log.odxCallField.text(), log.odxLocatorField.text(), log.odxDistanceField.text(),
          log.totalField.text(), log.averageField.text()};
}

TEST_F(Insertion, KeepsTheOdxTotalAndAverageContactByContact) {
  const struct {
    const char* call;
    const char* locator;
    Statistics after;
  } contacts[] = {
      {"QQ1AAA", "JN81LL", {"QQ1AAA", "JN81LL", "50", "50", "50"}},
      {"QQ1BBB", "KN02AA", {"QQ1BBB", "KN02AA", "306", "356", "178"}},
      {"QQ1CCC", "JN61FU", {"QQ1CCC", "JN61FU", "349", "705", "235"}},
      {"QQ1DDD", "JN61FU", {"QQ1CCC", "JN61FU", "349", "1054", "263"}},
      {"QQ1EEE", "JN81LL", {"QQ1CCC", "JN61FU", "349", "1104", "220"}},
  };
  for (const auto& contact : contacts) {
    insert(contact.call, contact.locator);
    EXPECT_EQ(statisticsOf(log), contact.after) << contact.call;
  }
  EXPECT_EQ(log.serialSentField.text(), "006");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Insertion, AveragesToTheIntegerPartOfTheQuotient) {
  log.logBuffer().setText(
      "261207;1400;QQ1AAA;1;59;001;59;;;JN81;50;;N;;\r\n"
      "261207;1410;QQ1AAA;1;59;002;59;;;JN81;0;;;;D\r\n"
      "261207;1420;QQ1BBB;1;59;003;59;;;KN02AA;301;;N;;\r\n");
  log.serialSentField.setText("004");
  log.totalField.setText("351");
  insert("QQ1ABC", "JN61FU");
  EXPECT_EQ(log.totalField.text(), "700");
  EXPECT_EQ(log.averageField.text(), "233");
}

// A contact numbered 001 in a log that holds records adds to their statistics: they are always
// the records'.
TEST_F(Insertion, ANumberRestartedAt001KeepsTheRecordsStatistics) {
  insert("QQ1AAA", "JN61FU");
  insert("QQ1BBB", "KN02AA");
  log.serialSentField.setText("001");
  insert("QQ1CCC", "JN71JK");
  EXPECT_EQ(statisticsOf(log), (Statistics{"QQ1AAA", "JN61FU", "349", "805", "268"}));
}

// The mode code is "1" for SSB and "2" for CW; any other mode keeps the code of the contact
// before, and before the first SSB or CW contact there is none.
TEST_F(Insertion, AppendsOneLinePerContactAndClearsTheRow) {
  log.modeList.setText("FM");
  log.serialReceivedField.setText("005");
  insert("qq1abc", "jn61fu");
  log.modeList.pickText("CW");
  insert("QQ2ABC", "KN02AA");
  log.modeList.setText("FM");
  insert("QQ3ABC", "JN81LL");
  EXPECT_EQ(log.logBuffer().text(),
            "261207;1432;QQ1ABC;;59;001;59;005;;JN61FU;349;;N;;\r\n"
            "261207;1432;QQ2ABC;2;599;002;599;;;KN02AA;306;;N;;\r\n"
            "261207;1432;QQ3ABC;2;599;003;599;;;JN81LL;50;;N;;\r\n");
  for (const Field* field : {&log.callsignField, &log.serialReceivedField, &log.locatorField,
                             &log.qrbField, &log.qtfField}) {
    EXPECT_EQ(field->text(), "") << field->name();
  }
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::NotDuplicate);
  EXPECT_EQ(log.timeField.text(), "1432");
  EXPECT_EQ(log.focusRequest(), &log.callsignField);
}

TEST_F(Insertion, CountsAContactInTheHomeSquareAsOne) {
  insert("QQ1ABC", "JN81GD");
  EXPECT_EQ(log.logBuffer().text(), "261207;1432;QQ1ABC;1;59;001;59;;;JN81GD;1;;N;;\r\n");
  EXPECT_EQ(log.totalField.text(), "1");
}

// The ODX row keeps the calculator's distance; the points, the line and the total are doubled.
TEST_F(Insertion, DoublesTheQrbOfSicilianCalls) {
  const struct {
    const char* call;
    const char* points;
  } cases[] = {{"QQ9ABC", "300"}, {"QQ9AB9", "600"}, {"QQ1AB9", "300"},
               {"QQ1ABC", "150"}, {"QQ19", "300"},   {"QQ1A/P", "150"}};
  for (const auto& c : cases) {
    log.sicilyDoublingBox.setChecked(true);
    log.serialSentField.setText("001");
    log.logBuffer().clear();
    insert(c.call, "JN71JK");
    EXPECT_EQ(log.totalField.text(), c.points) << c.call;
    EXPECT_EQ(log.odxDistanceField.text(), "150") << c.call;
    EXPECT_EQ(log.logBuffer().text(), "261207;1432;" + std::string(c.call) +
                                          ";1;59;001;59;;;JN71JK;" + c.points + ";;N;;\r\n");
  }

  log.serialSentField.setText("001");
  log.logBuffer().clear();
  insert("QQ9AB9", "KN02AA");
  insert("QQ1ABC", "JN61FU");
  EXPECT_EQ(statisticsOf(log), (Statistics{"QQ1ABC", "JN61FU", "349", "1573", "786"}))
      << "349 km beats 306 km although that contact scored 1224";
}

TEST_F(Insertion, LogsADuplicateWithNoPointsAndSaysSoAfterwards) {
  insert("QQ1ABC", "JN61FU");
  fillRow("QQ1ABC", "JN61FU");
  ASSERT_EQ(log.duplicateMark(), DuplicateMark::Duplicate);
  const std::string duplicateLine = "261207;1432;QQ1ABC;1;59;002;59;;;JN61FU;0;;;;D\r\n";
  const std::string expectedBuffer = log.logBuffer().text() + duplicateLine;
  std::string bufferWhileTold;
  std::string serialWhileTold;
  dialogs.whileShown = [&](const Message&) {
    bufferWhileTold = log.logBuffer().text();
    serialWhileTold = log.serialSentField.text();
  };

  log.insertButton.press();

  EXPECT_EQ(dialogs.messages, std::vector<Message>{Message{"Inserito un duplicato"}});
  EXPECT_EQ(bufferWhileTold, expectedBuffer);
  EXPECT_EQ(serialWhileTold, "002");
  EXPECT_EQ(log.logBuffer().text(), expectedBuffer);
  EXPECT_EQ(statisticsOf(log), (Statistics{"QQ1ABC", "JN61FU", "349", "349", "349"}))
      << "a duplicate changes no statistic";
  EXPECT_EQ(log.serialSentField.text(), "003");
  EXPECT_EQ(log.callsignField.text(), "");
  EXPECT_EQ(log.locatorField.text(), "");
}

TEST_F(Insertion, RefusesACallNeverTyped) {
  log.dateField.setText("261207");
  log.locatorField.setText("JN61FU");
  log.insertButton.press();
  EXPECT_EQ(dialogs.messages, std::vector<Message>{Message{"Nominativo non valido"}});
  EXPECT_EQ(log.logBuffer().text(), "");
  EXPECT_EQ(log.serialSentField.text(), "001");
}

TEST_F(Insertion, AdvancesTheSerialUpTo9999) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {{"001", "002"},  {"009", "010"},   {"099", "100"},  {"12", "013"},
               {"999", "1000"}, {"1000", "1001"}, {"9999", "9999"}};
  for (const auto& c : cases) {
    log.logBuffer().clear();
    log.serialSentField.setText(c.before);
    insert("QQ1ABC", "JN61FU");
    EXPECT_EQ(log.serialSentField.text(), c.after) << c.before;
    EXPECT_EQ(log.logBuffer().text(),
              "261207;1432;QQ1ABC;1;59;" + std::string(c.before) + ";59;;;JN61FU;349;;N;;\r\n");
  }
}

TEST_F(Insertion, ClearsAndFocusesTheTimeOutsideTheContest) {
  log.inContestBox.click();
  insert("QQ1ABC", "JN61FU");
  EXPECT_EQ(log.timeField.text(), "");
  EXPECT_EQ(log.focusRequest(), &log.timeField);
}

TEST_F(Insertion, LeavesTheNextContactTheTimeOfClearingTheCallWithAuto) {
  log.plusOneOption.click();
  fillRow("QQ1ABC", "JN61FU");
  clock.pin({2026, 12, 8, 0, 5});
  log.insertButton.press();
  EXPECT_EQ(log.logBuffer().text(), "261207;1332;QQ1ABC;1;59;001;59;;;JN61FU;349;;N;;\r\n");
  EXPECT_EQ(log.timeField.text(), "2305");
  EXPECT_EQ(log.dateField.text(), "261207");
}

// A contact dated outside the header's days is logged, and the operator warned: the clock or the
// header is wrong, and a contest robot would void the contact.
TEST_F(Insertion, WarnsOfAContactOutsideTheContestDays) {
  const struct {
    const char* first;
    const char* last;
    const char* date;
    bool warned;
  } cases[] = {
      {"07/12/2026", "08/12/2026", "261206", true},  {"07/12/2026", "08/12/2026", "261207", false},
      {"07/12/2026", "08/12/2026", "261208", false}, {"07/12/2026", "08/12/2026", "261209", true},
      {"07/12/2026", "", "261209", false},           {"", "08/12/2026", "261201", false},
      {"7.12.2026", "08/12/2026", "261209", true},   {"31/11/2026", "", "261130", false},
  };
  log.autoTimeBox.click();
  std::string call = "QQ1AA";
  for (const auto& c : cases) {
    ++call.back();
    session.header().startDateField.setText(c.first);
    session.header().endDateField.setText(c.last);
    dialogs.messages.clear();
    const std::size_t before = log.document().lines().size();
    fillRow(call, "JN61FU");
    log.dateField.setText(c.date);
    log.insertButton.press();
    EXPECT_EQ(log.document().lines().size(), before + 1) << c.date;
    ASSERT_EQ(dialogs.messages.size(), c.warned ? 1U : 0U) << c.first << ' ' << c.date;
    if (c.warned) {
      EXPECT_EQ(dialogs.messages[0].text,
                std::string("Attenzione: la data del contatto (") + c.date +
                    ") è fuori dalle date del contest indicate nell'intestazione");
    }
  }
}

// Every check runs before anything changes, in the order time, date, serial number, call,
// report, received number, locator: only the first failing check speaks, and the row stays for
// correction.
TEST_F(Insertion, RefusesAFaultyRowAndChangesNothing) {
  const struct {
    const char* time;
    const char* date;
    const char* serial;
    const char* call;
    const char* rst;
    const char* received;
    const char* locator;
    const char* home;
    const char* message;
  } cases[] = {
      {"930", "261207", "001", "QQ1ABC", "59", "", "JN61FU", "JN81GD",
       "Inserire orario nel formato hhmm"},
      {"93", "26120", "0", "QQ1ABC", "59", "", "", "JN81GD", "Inserire orario nel formato hhmm"},
      {"1432", "26120", "0", "QQ1ABC", "59", "", "", "JN81GD", "Inserire data nel formato yymmdd"},
      {"1432", "261207", "0", "QQ1ABC", "59", "", "", "JN81GD", "Numero progressivo non valido"},
      {"1432", "261207", "10000", "QQ1ABC", "59", "", "JN61FU", "JN81GD",
       "Numero progressivo non valido"},
      {"2400", "261207", "001", "QQ1ABC", "59", "", "JN61FU", "JN81GD",
       "Inserire orario nel formato hhmm"},
      {"1432", "261131", "001", "QQ1ABC", "59", "", "JN61FU", "JN81GD",
       "Inserire data nel formato yymmdd"},
      {"1432", "261207", "001", "", "59", "", "JN61FU", "JN81GD", "Nominativo non valido"},
      {"1432", "261207", "001", "QQ1;B", "59", "", "JN61FU", "JN81GD", "Nominativo non valido"},
      {"1432", "261207", "001", "QQ1ABC", "5;9", "", "JN61FU", "JN81GD", "RST non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "abc", "JN61FU", "JN81GD",
       "Numero ricevuto non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "", "JN81GD", "Locatore non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "JNX1GD", "JN81GD", "Locatore non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "ZZ00AA", "JN81GD", "Locatore non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "JN61F", "JN81GD", "Locatore non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "JN61", "JN81GD", "Locatore non valido"},
      {"1432", "261207", "001", "QQ1ABC", "59", "", "JN61FU", "", "Locatore non valido"},
  };
  const auto rowAndStatistics = [this] {
    std::vector<std::string> texts;
    for (const Field* field :
         {&log.serialSentField, &log.dateField, &log.timeField, &log.callsignField,
          &log.locatorField, &log.qrbField, &log.odxCallField, &log.odxDistanceField,
          &log.totalField, &log.averageField, &log.logBuffer()}) {
      texts.push_back(field->text());
    }
    return texts;
  };
  for (const auto& c : cases) {
    log.logBuffer().setText("earlier\r\n");
    log.totalField.setText("10");
    log.serialSentField.setText(c.serial);
    session.bearing().homeLocatorField.setText(c.home);
    log.askReceivedSerial(true);
    fillRow(c.call, c.locator);
    log.rstField.setText(c.rst);
    log.serialReceivedField.setText(c.received);
    log.timeField.setText(c.time);
    log.dateField.setText(c.date);
    log.qrbField.setText("5");
    const auto before = rowAndStatistics();
    const auto focus = log.focusRevision();
    dialogs.messages.clear();

    log.insertButton.press();

    EXPECT_EQ(dialogs.messages, std::vector<Message>{Message{c.message}})
        << c.time << " " << c.date << " " << c.serial << " " << c.call << " " << c.locator << " "
        << c.home;
    EXPECT_EQ(rowAndStatistics(), before) << c.message;
    EXPECT_EQ(log.focusRevision(), focus);
  }
}

}  // namespace
}  // namespace vantor::testing
