#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "form/control_state.h"
#include "form/text.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

// A contest on the example station's header, its log screen opened on 144 MHz, its EDI files
// written into a folder of its own.
struct Contest {
  Contest() {
    session.setProgramFolder(folder.path());
    fillRequiredHeader(header);
    header.proceedButton.press();
  }

  void insert(std::string_view call, std::string_view locator) {
    log.timeField.setText("1432");
    log.callsignField.clear();
    for (std::size_t typed = 1; typed <= call.size(); ++typed) {
      log.callsignField.setText(call.substr(0, typed));
    }
    log.locatorField.setText(locator);
    log.insertButton.press();
  }

  void pickBand(std::string_view band) { header.bandList.pickText(band); }

  // The locator of the record on `line` corrected, as "OK" on its correction screen does.
  void correctLocator(std::size_t line, std::string_view locator) {
    const Contact contact = *log.document().contactAt(line);
    ContactCorrection correction;
    correction.id = contact.id;
    correction.time = contact.time;
    correction.date = contact.date;
    correction.call = contact.call;
    correction.rst = contact.rstSent;
    correction.serialReceived = contact.serialReceived;
    correction.locator = locator;
    EXPECT_TRUE(log.correct(correction));
  }

  [[nodiscard]] std::string file(std::string_view name) const {
    return readBytes(folder.path() / name);
  }

  TempFolder folder;
  PinnedClock clock{{2026, 12, 7, 14, 32}};
  RecordingDialogs dialogs;
  RecordingScreens screens;
  Session session{clock, dialogs, screens};
  HeaderForm& header = session.header();
  LogForm& log = session.log();
};

// What the log screen shows of the band logged.
struct Shown {
  std::string band;
  std::string serial;
  std::string total;
  std::string odxCall;
  std::size_t lines;
};

Shown shown(LogForm& log) {
  return {log.bandField.text(), log.serialSentField.text(), log.totalField.text(),
          log.odxCallField.text(), log.document().lines().size()};
}

TEST(BandLogs, EachBandKeepsItsOwnLogSerialStatisticsAndDuplicates) {
  Contest contest;
  LogForm& log = contest.log;
  contest.insert("QQ1ABC", "JN61FU");
  contest.insert("QQ2ABC", "KN02AA");
  log.callsignField.setText("QQ3");

  contest.pickBand("432 Mhz");
  EXPECT_EQ(log.callsignField.text(), "") << "the entry row is cleared";
  log.callsignField.setText("QQ1ABC");
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::NotDuplicate) << "worked on 144 MHz only";
  contest.insert("QQ1ABC", "JN61FU");
  EXPECT_EQ(log.document().score().contacts(), 1U);

  struct Step {
    std::string_view band;
    Shown expected;
    DuplicateMark qq2abc;
  };
  const Step steps[] = {
      {"144 Mhz", {"144", "003", "791", "QQ2ABC", 3}, DuplicateMark::Duplicate},
      {"432 Mhz", {"432", "002", "243", "QQ1ABC", 2}, DuplicateMark::NotDuplicate},
      {"1296 Mhz", {"1296", "001", "", "", 1}, DuplicateMark::NotDuplicate},
      {"144 Mhz", {"144", "003", "791", "QQ2ABC", 3}, DuplicateMark::Duplicate},
  };
  for (const Step& step : steps) {
    contest.pickBand(step.band);
    const Shown now = shown(log);
    EXPECT_EQ(now.band, step.expected.band);
    EXPECT_EQ(now.serial, step.expected.serial) << step.band;
    EXPECT_EQ(now.total, step.expected.total) << step.band;
    EXPECT_EQ(now.odxCall, step.expected.odxCall) << step.band;
    EXPECT_EQ(now.lines, step.expected.lines) << step.band;
    log.callsignField.setText("QQ2ABC");
    EXPECT_EQ(log.duplicateMark(), step.qq2abc) << step.band;
    log.callsignField.clear();
  }
  EXPECT_EQ(log.bandCount(), 3U);
}

// Each record of a file as its call and new-square field ("QQ1ABC N"), and the squares it claims.
std::vector<std::string> squaresOf(const std::string& file) {
  std::vector<std::string> marks;
  forEachLine(file, [&marks](std::string_view line) {
    if (line.starts_with("CWWLs=")) {
      marks.emplace_back(line);
    } else if (const auto fields = readQsoRecord(line)) {
      marks.push_back(std::string((*fields)[qso::call]) + " " +
                      std::string((*fields)[qso::newSquare]));
    }
  });
  return marks;
}

// In each band's log the first contact of a square carries "N" and no other record does, through
// insertions, a correction, a removal and a hand edit; each file claims its band's squares.
TEST(BandLogs, EachBandsFileMarksAndClaimsTheSquaresOfItsOwnContacts) {
  Contest contest;
  for (const auto& [call, locator] : {std::pair{"QQ1AAA", "JN61FU"},
                                      {"QQ2AAA", "JN61AA"},
                                      {"QQ3AAA", "KN02AA"},
                                      {"QQ1AAA", "JN45OK"},
                                      {"QQ5AAA", "KN02BB"}}) {
    contest.insert(call, locator);
  }
  contest.pickBand("432 Mhz");
  contest.insert("QQ1AAA", "JN61FU");
  contest.insert("QQ4AAA", "JN71JK");
  contest.insert("QQ6AAA", "JN71AA");
  // By hand: the 432 MHz log's last line marked as if it opened its square.
  std::string edited = contest.log.logBuffer().text();
  edited.replace(edited.rfind(";;;;"), 4, ";;N;;");
  contest.log.logBuffer().edit(edited, 0);
  contest.pickBand("144 Mhz");
  // The first contact of JN61 moves to JN71, its second opening it; the first of KN02 goes.
  contest.correctLocator(0, "JN71JK");
  const std::vector<std::string> marked144{"QQ1AAA N", "QQ2AAA N", "QQ3AAA N", "QQ1AAA ",
                                           "QQ5AAA "};
  EXPECT_EQ(squaresOf(contest.log.logBuffer().text()), marked144);
  contest.log.removeContact(contest.log.document().contactAt(2)->id);
  contest.log.exportButton.press();
  EXPECT_EQ(
      squaresOf(contest.file("01_QQ9XYZ.edi")),
      (std::vector<std::string>{"CWWLs=3;0;1", "QQ1AAA N", "QQ2AAA N", "QQ1AAA ", "QQ5AAA N"}));
  EXPECT_EQ(squaresOf(contest.file("03_QQ9XYZ.edi")),
            (std::vector<std::string>{"CWWLs=2;0;1", "QQ1AAA N", "QQ4AAA N", "QQ6AAA "}));
  EXPECT_EQ(contest.log.squaresField.text(), "3");
  contest.pickBand("432 Mhz");
  EXPECT_EQ(contest.log.squaresField.text(), "2");
}

TEST(BandLogs, TheLogScreenStepsThroughTheContestsBandsAsTheHeaderPicksThem) {
  Contest contest;
  const std::pair<int, std::string_view> steps[] = {
      {1, "432 Mhz"}, {1, "1296 Mhz"}, {-1, "432 Mhz"}, {-1, "144 Mhz"},
      {-1, "50 Mhz"}, {-1, "50 Mhz"},  {1, "144 Mhz"},
  };
  for (const auto& [step, band] : steps) {
    contest.log.stepBand(step);
    EXPECT_EQ(contest.header.bandList.text(), band);
    EXPECT_EQ(contest.log.band().band(), band);
  }
}

// Each band's file holds exactly what a contest logged on that band alone would write.
TEST(BandLogs, TheExportWritesEachBandsFileAsALogOfThatBandAloneWould) {
  Contest both;
  both.insert("QQ1ABC", "JN61FU");
  both.insert("QQ2ABC", "KN02AA");
  both.pickBand("432 Mhz");
  both.insert("QQ1ABC", "JN71JK");
  both.pickBand("144 Mhz");
  both.log.exportButton.press();
  EXPECT_TRUE(both.dialogs.messages.empty());
  EXPECT_EQ(both.log.saveMessageLabel.text(), "***  Il LOG è stato salvato in " +
                                                  (both.folder.path() / "01_QQ9XYZ.edi").string() +
                                                  " e un altro file EDI  ***");
  EXPECT_FALSE(both.log.hasUnsavedContacts());
  both.pickBand("432 Mhz");
  EXPECT_EQ(both.log.saveMessageLabel.text(), "***  Il LOG è stato salvato in " +
                                                  (both.folder.path() / "03_QQ9XYZ.edi").string() +
                                                  "  ***");
  both.pickBand("144 Mhz");
  EXPECT_EQ(both.file("01_QQ9XYZ.edi").find("QQ1ABC;1;59;001;59;001;;JN71JK"), std::string::npos);

  Contest only144;
  only144.insert("QQ1ABC", "JN61FU");
  only144.insert("QQ2ABC", "KN02AA");
  only144.log.exportButton.press();
  EXPECT_EQ(both.file("01_QQ9XYZ.edi"), only144.file("01_QQ9XYZ.edi"));

  Contest only432;
  only432.pickBand("432 Mhz");
  only432.insert("QQ1ABC", "JN71JK");
  only432.log.exportButton.press();
  EXPECT_EQ(both.file("03_QQ9XYZ.edi"), only432.file("03_QQ9XYZ.edi"));
  EXPECT_NE(only432.file("03_QQ9XYZ.edi").find("PBand=432 Mhz\r\n"), std::string::npos);
}

// The question before writing names the band of each log not shown that holds broken lines; "No"
// writes no file.
TEST(BandLogs, TheExportAsksAboutTheBrokenLinesOfEveryBandItWrites) {
  Contest contest;
  contest.insert("QQ1ABC", "JN61FU");
  contest.log.logBuffer().append("nota\r\n");
  contest.pickBand("432 Mhz");
  contest.insert("QQ1ABC", "JN61FU");
  contest.log.logBuffer().append("QQ2ABC JN61FU\r\n");
  contest.pickBand("144 Mhz");
  contest.log.exportButton.press();
  EXPECT_EQ(contest.dialogs.questions,
            std::vector<std::string>{"Righe del LOG che non sono contatti validi:\nriga 2: nota\n\n"
                                     "Righe del LOG 432 Mhz che non sono contatti validi:\nriga 2: "
                                     "QQ2ABC JN61FU\n\nScrivere comunque il file EDI?"});
  EXPECT_TRUE(std::filesystem::is_empty(contest.folder.path()));
}

TEST(BandLogs, TwoBandsWhoseFilesWouldShareANameWriteNothing) {
  Contest contest;
  contest.header.categoryList.pickText("6 ore");
  contest.pickBand("1296 Mhz");
  contest.insert("QQ1ABC", "JN61FU");
  contest.pickBand("2320 Mhz");
  contest.insert("QQ1ABC", "JN61FU");
  contest.log.exportButton.press();
  ASSERT_EQ(contest.dialogs.messages.size(), 1U);
  EXPECT_EQ(contest.dialogs.messages[0].text,
            "Le bande 1296 Mhz e 2320 Mhz darebbero lo stesso file EDI _QQ9XYZ.edi: nessun file "
            "è stato scritto.");
  EXPECT_TRUE(std::filesystem::is_empty(contest.folder.path()));
  EXPECT_TRUE(contest.log.hasUnsavedContacts());
}

TEST(BandLogs, ChangingTheContestOfLogsWithContactsAsksAndOnSiStartsEmpty) {
  Contest contest;
  contest.insert("QQ1ABC", "JN61FU");
  contest.pickBand("432 Mhz");
  contest.insert("QQ2ABC", "JN61FU");

  contest.header.contestList.pickText("Contest IARU Reg. I UHF-SHF");
  EXPECT_EQ(contest.dialogs.questions,
            std::vector<std::string>{"Il LOG contiene contatti: cambiare contest?"});
  EXPECT_EQ(contest.header.contestList.text(), "Contest IARU Reg. I VHF");
  EXPECT_EQ(contest.header.bandList.text(), "432 Mhz") << "the pick's rules did not run";
  EXPECT_EQ(contest.log.bandCount(), 2U);

  contest.dialogs.answers = {true};
  contest.header.contestList.pickText("Contest IARU Reg. I UHF-SHF");
  EXPECT_EQ(contest.header.contestList.text(), "Contest IARU Reg. I UHF-SHF");
  EXPECT_EQ(contest.log.bandCount(), 1U);
  EXPECT_FALSE(contest.log.holdsContacts());
  EXPECT_FALSE(contest.log.hasUnsavedContacts());
  EXPECT_EQ(contest.log.serialSentField.text(), "001");

  contest.header.contestList.pickText("Contest IARU Reg. I VHF");
  EXPECT_EQ(contest.dialogs.questions.size(), 2U) << "empty logs ask nothing";
}

// A journal is read back without trust: a state naming more band logs than any contest has bands
// is refused before any is made.
TEST(BandLogs, AKeptStateNamingMoreBandLogsThanBandsIsRefused) {
  Contest contest;
  ControlState state;
  contest.log.saveFormState(state);
  state.at(3) = std::to_string(LogForm::kMostBandLogs + 1);
  StateReader reader(state);
  EXPECT_THROW(contest.log.restoreFormState(reader), StateError);
  EXPECT_EQ(contest.log.bandCount(), 1U);
}

}  // namespace
}  // namespace vantor::testing
