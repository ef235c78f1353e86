#include <gtest/gtest.h>

#include <string>

#include "app/session.h"
#include "contest/log_document.h"
#include "edi/edi_text.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

constexpr const char* kContact = "261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;347;;N;;\r\n";

// The example station after one contact of 347 km, with its program folder in a fresh folder.
class ExportButton : public ::testing::Test {
 protected:
  ExportButton() {
    session.setProgramFolder(folder.path());
    testing::fillRequiredHeader(header, "QQ9XYZ", "JN70AA");
    log.logBuffer().setText(kContact);
    log.serialSentField.setText("002");
    log.totalField.setText("347");
    log.odxCallField.setText("QQ1ABC");
    log.odxLocatorField.setText("JN80XX");
    log.odxDistanceField.setText("347");
  }

  [[nodiscard]] std::string savedFile() const {
    return testing::readBytes(folder.path() / "01_QQ9XYZ.edi");
  }

  testing::TempFolder folder;
  testing::PinnedClock clock{{2026, 12, 7, 14, 32}};
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
  HeaderForm& header = session.header();
  LogForm& log = session.log();
};

TEST_F(ExportButton, WritesTheFileShowsThePathAndLeavesTheEdiTextInTheLog) {
  ASSERT_TRUE(log.hasUnsavedContacts());
  log.exportButton.press();
  EXPECT_TRUE(dialogs.messages.empty());
  const std::string golden = testing::readBytes(VANTOR_TEST_DATA_DIR "/01_QQ9XYZ.edi");
  EXPECT_EQ(savedFile(), golden);
  EXPECT_EQ(log.logBuffer().text() + "\r\n", golden);
  EXPECT_EQ(log.saveMessageLabel.text(), "***  Il LOG è stato salvato in " +
                                             (folder.path() / "01_QQ9XYZ.edi").string() + "  ***");
  EXPECT_TRUE(header.ediHeaderBuffer.text().starts_with("[REG1TEST;1]\r\nTName="));
  EXPECT_TRUE(header.ediHeaderBuffer.text().ends_with("[QSORecords;1]\r\n"));
  EXPECT_FALSE(log.hasUnsavedContacts());
  EXPECT_EQ(log.serialSentField.text(), "002");
}

TEST_F(ExportButton, ASecondExportKeepsOneHeaderAndTheNewContacts) {
  log.exportButton.press();
  log.logBuffer().append("261207;1500;QQ2DEF;1;59;002;59;006;;JN61FU;349;;N;;\r\n");
  EXPECT_TRUE(log.hasUnsavedContacts());
  log.serialSentField.setText("003");
  log.exportButton.press();
  const std::string file = savedFile();
  const auto count = [&](const std::string& part) {
    std::size_t n = 0;
    for (auto at = file.find(part); at != std::string::npos; at = file.find(part, at + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(count("[REG1TEST;1]"), 1U);
  EXPECT_EQ(count("[QSORecords;"), 1U);
  EXPECT_EQ(count(std::string(ediEndLine)), 1U);
  EXPECT_NE(file.find("[QSORecords;2]\r\n" + std::string(kContact) +
                      "261207;1500;QQ2DEF;1;59;002;59;006;;JN61FU;349;;N;;\r\n" +
                      std::string(ediEndLine) + "\r\n"),
            std::string::npos);
}

// The call field's duplicate test after each export answers as one that reads the log buffer
// afresh: for a call logged before or after an export, and for one only a record-shaped line of
// the comments held, in the header of the first export and not of the second.
TEST_F(ExportButton, TheDuplicateTestAfterAnExportReadsTheLogAsItStands) {
  header.commentsField.setText("261207;1400;QQ7ZZZ;1;59;001;59;001;;JN80XX;347;;N;;");
  log.exportButton.press();
  log.logBuffer().append("261207;1500;QQ2DEF;1;59;002;59;006;;JN61FU;349;;N;;\r\n");
  const auto marksAsRead = [this](const char* when) {
    Field copy("Text15", log.logBuffer().text(), Field::Lines::Multi);
    LogDocument afresh(copy);
    for (const char* call : {"QQ1ABC", "QQ2DEF", "QQ7ZZZ", "QQ3GHI"}) {
      log.callsignField.setText(call);
      EXPECT_EQ(log.duplicateMark() == DuplicateMark::Duplicate, afresh.calls().holds(call))
          << call << " " << when;
    }
    log.callsignField.clear();
  };
  marksAsRead("after the first export");
  header.commentsField.setText("Nessun commento");
  log.exportButton.press();
  ASSERT_TRUE(dialogs.messages.empty());
  marksAsRead("after the second export");
  EXPECT_EQ(log.logBuffer().text().find("QQ7ZZZ"), std::string::npos);
}

TEST_F(ExportButton, RefusesADateItCannotConvertAndChangesNothing) {
  for (const char* date : {"7.12.2026", "", "07/12"}) {
    dialogs.messages.clear();
    header.endDateField.setText(date);
    log.exportButton.press();
    ASSERT_EQ(dialogs.messages.size(), 1U) << date;
    EXPECT_EQ(dialogs.messages[0], Message{"Data non valida: usare il formato gg/mm/aaaa"});
    EXPECT_EQ(log.logBuffer().text(), kContact);
    EXPECT_EQ(log.saveMessageLabel.text(), "***  Il LOG non è stato salvato  ***");
    EXPECT_EQ(header.ediHeaderBuffer.text(), "");
    EXPECT_TRUE(savedFile().empty());
  }
}

// The label no longer names the earlier file, which does not hold the new contact.
TEST_F(ExportButton, AFailedSaveIsReportedAndLosesNothing) {
  log.exportButton.press();
  log.logBuffer().append("261207;1500;QQ2DEF;1;59;002;59;006;;JN61FU;349;;N;;\r\n");
  const std::string buffer = log.logBuffer().text();
  session.setProgramFolder(folder.path() / "missing");
  log.exportButton.press();
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_TRUE(dialogs.messages[0].text.starts_with("Impossibile salvare il LOG in " +
                                                   (folder.path() / "missing").string()));
  EXPECT_EQ(dialogs.messages[0].title, std::nullopt);
  EXPECT_EQ(log.logBuffer().text(), buffer);
  EXPECT_EQ(log.saveMessageLabel.text(), "***  Il LOG non è stato salvato  ***");
  EXPECT_TRUE(log.hasUnsavedContacts());
}

TEST_F(ExportButton, MakesTheDocumentsFolderOnTheFirstSave) {
  const auto documents = folder.path() / "Documenti";
  session.setEdiFolder(chooseEdiFolder(folder.path() / "bin", false, documents, std::nullopt));
  log.exportButton.press();
  EXPECT_EQ(testing::readBytes(documents / "Vantor" / "01_QQ9XYZ.edi").substr(0, 12),
            "[REG1TEST;1]");
  EXPECT_EQ(log.saveMessageLabel.text(), "***  Il LOG è stato salvato in " +
                                             (documents / "Vantor" / "01_QQ9XYZ.edi").string() +
                                             "  ***");
}

TEST_F(ExportButton, AFolderThatCannotBeMadeIsReportedAndLosesNothing) {
  testing::writeBytes(folder.path() / "Documenti", "a file, not a folder");
  session.setEdiFolder(EdiFolder{folder.path() / "Documenti" / "Vantor", true});
  log.exportButton.press();
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].text,
            "Impossibile salvare il LOG in " +
                (folder.path() / "Documenti" / "Vantor" / "01_QQ9XYZ.edi").string() +
                ": Not a directory");
  EXPECT_EQ(log.logBuffer().text(), kContact);
  EXPECT_TRUE(log.hasUnsavedContacts());
}

TEST_F(ExportButton, NamesTheFileWithoutLeavingTheProgramFolder) {
  header.callsignField.setText("ik2abc/p");
  log.exportButton.press();
  EXPECT_EQ(testing::readBytes(folder.path() / "01_IK2ABC-P.edi").substr(0, 12), "[REG1TEST;1]");
  EXPECT_NE(log.logBuffer().text().find("PCall=IK2ABC/P\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vantor
