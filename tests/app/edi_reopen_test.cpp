#include "app/edi_reopen.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/edi_export.h"
#include "app/session.h"
#include "edi/edi_file.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

class EdiReopen : public ::testing::Test {
 protected:
  EdiReopen() { session.setProgramFolder(folder.path()); }

  // The one EDI file the export wrote into the program folder.
  std::string exportedFile() {
    exportEdi(session);
    EXPECT_EQ(dialogs.messages, std::vector<Message>{});
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      files.push_back(entry.path());
    }
    return files.size() == 1 ? testing::readBytes(files[0]) : std::string();
  }

  testing::PinnedClock clock{{2026, 12, 7, 14, 32}};
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
  const testing::TempFolder folder;
};

struct GoldenCase {
  const char* file;
  // The non-Latin file's contest was typed into the list: no item of it, so the program asks.
  std::size_t questions;

  friend void PrintTo(const GoldenCase& golden, std::ostream* out) { *out << golden.file; }
};

class EdiReopenGolden : public EdiReopen, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(EdiReopenGolden, ExportsTheSameFileAgainAndOpensTheLogScreen) {
  const fs::path golden = fs::path(VANTOR_TEST_DATA_DIR) / GetParam().file;
  // Yes to the file's questions, then to the export's about 8-bit texts and broken lines.
  dialogs.answers = {true, true};
  reopenEdi(session, golden);

  EXPECT_EQ(dialogs.questions.size(), GetParam().questions);
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"});
  EXPECT_EQ(session.log().focusRequest(), &session.log().callsignField);
  EXPECT_FALSE(session.log().hasUnsavedContacts());
  const std::string bytes = testing::readBytes(golden);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(exportedFile(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, EdiReopenGolden,
                         ::testing::Values(GoldenCase{"01_QQ9XYZ.edi", 0},
                                           GoldenCase{"contest_iaru_01_QQ2VNT.edi", 0},
                                           GoldenCase{"contest_sicily_1C_QQ9VNT.edi", 0},
                                           GoldenCase{"contest_sicily_1C_QQ9VNT_again.edi", 0},
                                           GoldenCase{"non_latin_01.edi", 1}));

// The contest goes on where the file ended: the serial number, the ODX, the total and the field
// day's doubling continue, the time and date follow the UTC clock, and the second export is the one
// the same contest wrote without a restart.
TEST_F(EdiReopen, TheContestGoesOnFromTheFile) {
  reopenEdi(session, fs::path(VANTOR_TEST_DATA_DIR) / "contest_sicily_1C_QQ9VNT.edi");
  LogForm& log = session.log();
  ASSERT_TRUE(log.sicilyDoublingBox.visible());
  EXPECT_EQ(log.serialSentField.text(), "007");
  EXPECT_EQ(log.averageField.text(), "592");
  EXPECT_TRUE(log.autoTimeBox.checked() && log.utcOption.checked()) << "it goes on in UTC";
  EXPECT_EQ(log.dateField.text(), "261207") << "the clock's day, not the contest's first";
  // The rest of the contest is typed from paper, with its own times.
  log.autoTimeBox.click();
  log.dateField.setText("260606");
  log.sicilyDoublingBox.click();
  const struct {
    const char* time;
    const char* call;
    const char* received;
    const char* locator;
  } contacts[] = {{"1225", "QQ4GHI", "031", "JN65DR"},
                  {"1302", "QQ9ABC", "017", "JM78BA"},
                  {"1448", "QQ9JK9", "044", "JM66WX"}};
  for (const auto& [time, call, received, locator] : contacts) {
    log.timeField.setText(time);
    log.callsignField.setText(call);
    log.serialReceivedField.setText(received);
    log.locatorField.setText(locator);
    log.insertButton.press();
  }
  EXPECT_EQ(dialogs.messages, std::vector<Message>{Message{"Inserito un duplicato"}});
  dialogs.messages.clear();
  EXPECT_EQ(exportedFile(), testing::readBytes(fs::path(VANTOR_TEST_DATA_DIR) /
                                               "contest_sicily_1C_QQ9VNT_again.edi"));
}

// Another program's file, with LF line ends: fields this program does not know, a line of no
// shape, a broken QSO record, its own end line and a line after it. No score lines either.
constexpr std::string_view kForeignFile =
    "[REG1TEST;1]\n"
    "TName=Contest IARU Reg. I VHF\n"
    "TDate=20261107;20261108\n"
    "PCall=qq2vnt\n"
    "PWWLo=JN54MM\n"
    "PSect=01\n"
    "PBand=144 Mhz\n"
    "RCity=Forl\xec\n"
    "PExch=59\n"
    "XYZZY=something else\n"
    "a line of no shape\n"
    "[Remarks]\n"
    "Bella giornata\n"
    "[QSORecords;3]\n"
    "261107;1500;QQ1AAA;1;59;001;59;001;;JN45OK;177;;N;;\n"
    "broken;record\n"
    "261107;1517;QQ0DDD;2;599;002;599;120;;IO91WM;1134;;N;;\n"
    "[END;Another logger]\n"
    "trailing text\n";

// The statistics after a reopen are the records': the ODX by real distance (a doubled Sicilian
// contact does not win by its points), the total their points, whatever the file claims.
TEST_F(EdiReopen, TheStatisticsAreTheRecordsWhateverTheFileClaims) {
  const testing::TempFolder source;
  testing::writeBytes(source.path() / "fieldday.edi",
                      "[REG1TEST;1]\r\n"
                      "TName=Contest IARU Reg. I VHF\r\n"
                      "TDate=20261107;20261108\r\n"
                      "PCall=QQ2VNT\r\n"
                      "PWWLo=JN54MM\r\n"
                      "PSect=01\r\n"
                      "PBand=144 Mhz\r\n"
                      "CToSc=99999\r\n"
                      "[QSORecords;2]\r\n"
                      "261107;1500;IT9AB9;1;59;001;59;001;;JM78SE;2400;;N;;\r\n"
                      "261107;1517;QQ0DDD;1;59;002;59;120;;IO91WM;1134;;N;;\r\n"
                      "[END;Created by Vantor by Karsel]\r\n");
  reopenEdi(session, source.path() / "fieldday.edi");
  const LogForm& log = session.log();
  EXPECT_EQ(log.odxCallField.text(), "QQ0DDD");
  EXPECT_EQ(log.odxDistanceField.text(), "1134");
  EXPECT_EQ(log.totalField.text(), "3534");
  EXPECT_EQ(log.averageField.text(), "1767");
}

constexpr std::string_view kForeignQuestion =
    "Il file foreign.edi contiene righe non riconosciute (righe 9, 10, 11, 16, 19). Caricarlo "
    "comunque?";

TEST_F(EdiReopen, AForeignFileAnsweredNoChangesNothing) {
  const testing::TempFolder source;
  testing::writeBytes(source.path() / "foreign.edi", std::string(kForeignFile));
  const StationHeader before = session.header().stationHeader();

  reopenEdi(session, source.path() / "foreign.edi");

  EXPECT_EQ(dialogs.questions, std::vector<std::string>{std::string(kForeignQuestion)});
  EXPECT_EQ(session.header().stationHeader().contest, before.contest);
  EXPECT_EQ(session.header().stationHeader().callsign, before.callsign);
  EXPECT_EQ(session.header().stationHeader().startDate, before.startDate);
  EXPECT_FALSE(session.hasLog());
  EXPECT_TRUE(screens.events.empty());
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(EdiReopen, AForeignFileAnsweredYesLoadsWhatItCanAndScoresTheRecords) {
  const testing::TempFolder source;
  testing::writeBytes(source.path() / "foreign.edi", std::string(kForeignFile));
  dialogs.answers = {true, true};

  reopenEdi(session, source.path() / "foreign.edi");

  const StationHeader station = session.header().stationHeader();
  EXPECT_EQ(station.callsign, "QQ2VNT");
  EXPECT_EQ(station.category, "Singolo Operatore");
  EXPECT_EQ(station.startDate, "07/11/2026");
  EXPECT_EQ(station.endDate, "08/11/2026");
  EXPECT_EQ(station.city, "FORLÌ");
  EXPECT_EQ(station.comments, "Bella giornata");
  const LogForm& log = session.log();
  EXPECT_EQ(log.totalField.text(), "1311");
  EXPECT_EQ(log.odxCallField.text(), "QQ0DDD");
  EXPECT_EQ(log.odxDistanceField.text(), "1134");
  EXPECT_EQ(log.serialSentField.text(), "003");
  EXPECT_EQ(log.averageField.text(), "655");
  EXPECT_EQ(log.modeList.text(), "CW");
  EXPECT_EQ(log.rstField.text(), "599");
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"});

  // The records go on as they stand, the broken one included, under this program's end line.
  EXPECT_TRUE(
      exportedFile().ends_with("[QSORecords;3]\r\n"
                               "261107;1500;QQ1AAA;1;59;001;59;001;;JN45OK;177;;N;;\r\n"
                               "broken;record\r\n"
                               "261107;1517;QQ0DDD;2;599;002;599;120;;IO91WM;1134;;N;;\r\n"
                               "[END;Created by Vantor by Karsel]\r\n"));
  // The export names the broken record and the 8-bit city before it writes.
  EXPECT_EQ(dialogs.questions.back(),
            "Righe del LOG che non sono contatti validi:\nriga 16: broken;record\n\n"
            "Campi con caratteri non ASCII, che molti robot dei contest rifiutano: Città\n\n"
            "Scrivere comunque il file EDI?");
}

TEST_F(EdiReopen, AFileThatDoesNotLoadIsToldAndChangesNothing) {
  const testing::TempFolder source;
  testing::writeBytes(source.path() / "empty.edi", "");
  testing::writeBytes(source.path() / "notes.edi", "TName=Contest IARU Reg. I VHF\r\n");
  fs::create_directory(source.path() / "folder.edi");
  ASSERT_EQ(::mkfifo((source.path() / "pipe.edi").c_str(), 0600), 0);
  const std::string first = "[REG1TEST;1]\r\n";
  testing::writeBytes(source.path() / "large.edi", first + std::string(kLargestEdiFile, 'x'));
  testing::writeBytes(source.path() / "value.edi", first + "PCall=" + std::string(5000, 'Q'));
  testing::writeBytes(source.path() / "line.edi", first + "\r\n" + std::string(70000, 'x'));
  const struct {
    const char* file;
    const char* message;
  } cases[] = {
      {"gone.edi", "Impossibile aprire il file gone.edi: No such file or directory"},
      {"folder.edi", "Impossibile aprire il file folder.edi: non è un file regolare"},
      {"pipe.edi", "Impossibile aprire il file pipe.edi: non è un file regolare"},
      {"large.edi", "Impossibile aprire il file large.edi: File too large"},
      {"value.edi",
       "Il file value.edi non è stato aperto: la riga 2 ha un valore troppo lungo per un file EDI "
       "(più di 4096 caratteri)"},
      {"line.edi",
       "Il file line.edi non è stato aperto: la riga 3 è troppo lunga per un file EDI (più di "
       "65536 caratteri)"},
      {"empty.edi", "Il file empty.edi non è un file EDI"},
      {"notes.edi", "Il file notes.edi non è un file EDI"},
  };
  for (const auto& [file, message] : cases) {
    dialogs.messages.clear();
    reopenEdi(session, source.path() / file);
    EXPECT_EQ(dialogs.messages, std::vector<Message>{headerMessage(message)}) << file;
  }
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_FALSE(session.hasLog());
  EXPECT_EQ(session.header().contestList.text(), "...");
}

// What the log screen shows of the band logged.
std::vector<std::string> shownBand(LogForm& log) {
  return {log.band().band(),       log.bandField.text(),       log.serialSentField.text(),
          log.modeList.text(),     log.totalField.text(),      log.averageField.text(),
          log.odxCallField.text(), log.odxDistanceField.text()};
}

// A contest logged on 144 MHz in SSB and on 432 MHz in CW, its files written by "Genera EDI" into
// `folder`: 01_QQ9XYZ.edi and 03_QQ9XYZ.edi. Gives what the log screen showed of each band.
std::vector<std::vector<std::string>> writeTwoBands(const fs::path& folder) {
  testing::PinnedClock clock{{2026, 12, 7, 14, 32}};
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
  session.setProgramFolder(folder);
  testing::fillRequiredHeader(session.header());
  session.header().proceedButton.press();
  LogForm& log = session.log();
  const auto insert = [&log](std::string_view call, std::string_view locator) {
    log.timeField.setText("1432");
    log.callsignField.setText(call);
    log.locatorField.setText(locator);
    log.insertButton.press();
  };
  insert("QQ1ABC", "JN61FU");
  insert("QQ2ABC", "KN02AA");
  session.header().bandList.pickText("432 Mhz");
  log.modeList.pickText("CW");
  insert("QQ1ABC", "JN71JK");
  const std::vector<std::string> uhf = shownBand(log);
  // The mode list is the screen's, not the band's: 144 MHz shows its last contact's mode, as
  // its file reopens.
  session.header().bandList.pickText("144 Mhz");
  log.modeList.pickText("SSB");
  const std::vector<std::string> vhf = shownBand(log);
  log.exportButton.press();
  EXPECT_EQ(dialogs.messages, std::vector<Message>{});
  return {vhf, uhf};
}

// The second file opens into the log of its band as a file alone would, the first file's band
// shown, and the next export writes both files as they were.
TEST_F(EdiReopen, FilesOfTwoBandsOpenOneBandLogEachAndExportAsTheyWere) {
  const testing::TempFolder source;
  const std::vector<std::vector<std::string>> written = writeTwoBands(source.path());
  const std::vector<fs::path> files{source.path() / "01_QQ9XYZ.edi",
                                    source.path() / "03_QQ9XYZ.edi"};
  reopenEdi(session, files);

  EXPECT_EQ(dialogs.messages, std::vector<Message>{});
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{});
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"});
  LogForm& log = session.log();
  ASSERT_EQ(log.bandCount(), 2U);
  EXPECT_FALSE(log.hasUnsavedContacts());
  EXPECT_EQ(session.header().bandList.text(), "144 Mhz");
  EXPECT_EQ(shownBand(log), written[0]);
  session.header().bandList.pickText("432 Mhz");
  EXPECT_EQ(log.bandCount(), 2U);
  // The 432 MHz file's last contact was in CW, which the band switch does not pick.
  log.modeList.pickText("CW");
  EXPECT_EQ(shownBand(log), written[1]);

  exportEdi(session);
  EXPECT_EQ(dialogs.messages, std::vector<Message>{});
  for (const fs::path& file : files) {
    EXPECT_EQ(testing::readBytes(folder.path() / file.filename()), testing::readBytes(file))
        << file.filename();
  }
}

// Files that are not one station's logs of one contest, each of its own band, open none of them.
TEST_F(EdiReopen, FilesThatDoNotBelongTogetherOpenNone) {
  const testing::TempFolder source;
  writeTwoBands(source.path());
  const fs::path first = source.path() / "01_QQ9XYZ.edi";
  const std::string uhf = testing::readBytes(source.path() / "03_QQ9XYZ.edi");
  const auto edited = [&uhf](std::string_view line, std::string_view by) {
    std::string text = uhf;
    return text.replace(text.find(line), line.size(), by);
  };
  const struct {
    const char* file;
    std::string text;
    const char* message;
    const char* question;
  } cases[] = {
      {"station.edi", edited("PCall=QQ9XYZ", "PCall=qq1abc"),
       "Il file station.edi è di un'altra stazione (QQ1ABC, non QQ9XYZ): nessun file è stato "
       "aperto.",
       nullptr},
      {"contest.edi", edited("TName=Contest IARU Reg. I VHF", "TName=Contest IARU Reg. I UHF-SHF"),
       "Il file contest.edi è di un altro contest (Contest IARU Reg. I UHF-SHF, non Contest IARU "
       "Reg. I VHF): nessun file è stato aperto.",
       nullptr},
      {"band.edi", edited("PBand=432 Mhz", "PBand=145 Mhz"),
       "La banda del file band.edi (145 Mhz) non è una banda del contest Contest IARU Reg. I VHF: "
       "nessun file è stato aperto.",
       nullptr},
      {"again.edi", edited("PBand=432 Mhz", "PBand=144 Mhz"),
       "I file 01_QQ9XYZ.edi e again.edi sono della stessa banda 144 Mhz: nessuno è stato aperto.",
       nullptr},
      {"notes.edi", "TName=Contest IARU Reg. I VHF\r\n", "Il file notes.edi non è un file EDI",
       nullptr},
      {"unread.edi", edited("PBand=432 Mhz\r\n", "PBand=432 Mhz\r\nXYZZY=1\r\n"), nullptr,
       "Il file unread.edi contiene una riga non riconosciuta (riga 11). Caricarlo comunque?"},
  };
  const std::vector<std::string> before = testing::everything(session);
  for (const auto& [file, text, message, question] : cases) {
    dialogs.messages.clear();
    dialogs.questions.clear();
    testing::writeBytes(source.path() / file, text);
    const std::vector<fs::path> files{first, source.path() / file};
    reopenEdi(session, files);
    const auto messages =
        message != nullptr ? std::vector<Message>{headerMessage(message)} : std::vector<Message>{};
    EXPECT_EQ(dialogs.messages, messages) << file;
    EXPECT_EQ(dialogs.questions,
              question != nullptr ? std::vector<std::string>{question} : std::vector<std::string>{})
        << file;
    EXPECT_EQ(testing::everything(session), before) << file;
  }
  EXPECT_TRUE(screens.events.empty());
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
}  // namespace vantor
