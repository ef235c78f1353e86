#include "app/edi_reopen.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/edi_export.h"
#include "app/session.h"
#include "edi/edi_file.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"
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
// day's doubling continue, and the second export is the one the same contest wrote without a
// restart.
TEST_F(EdiReopen, TheContestGoesOnFromTheFile) {
  reopenEdi(session, fs::path(VANTOR_TEST_DATA_DIR) / "contest_sicily_1C_QQ9VNT.edi");
  LogForm& log = session.log();
  ASSERT_TRUE(log.sicilyDoublingBox.visible());
  EXPECT_EQ(log.serialSentField.text(), "007");
  EXPECT_EQ(log.averageField.text(), "592");
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

}  // namespace
}  // namespace vantor
