#include "app/edi_folder.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantor {
namespace {

const std::filesystem::path kProgram = "/opt/vantor/bin";
const std::filesystem::path kDocuments = "/home/op/Documenti";

TEST(EdiFolder, AWritableProgramFolderKeepsTheFiles) {
  EXPECT_EQ(chooseEdiFolder(kProgram, true, kDocuments, std::nullopt),
            (EdiFolder{kProgram, false}));
}

TEST(EdiFolder, AReadOnlyProgramFolderSendsThemToTheDocuments) {
  EXPECT_EQ(chooseEdiFolder(kProgram, false, kDocuments, std::nullopt),
            (EdiFolder{kDocuments / "Vantor", true}));
}

TEST(EdiFolder, AnInstalledProgramWritesIntoTheDocumentsEvenWhereItMayWrite) {
  for (const char* installed : {"/usr/bin", "/usr/local/bin", "/bin"}) {
    EXPECT_EQ(chooseEdiFolder(installed, true, kDocuments, std::nullopt),
              (EdiFolder{kDocuments / "Vantor", true}))
        << installed;
  }
  const std::filesystem::path unpacked = "/home/op/root/usr/bin";
  EXPECT_EQ(chooseEdiFolder(unpacked, true, kDocuments, std::nullopt),
            (EdiFolder{unpacked, false}));
}

TEST(EdiFolder, TheChosenFolderWinsEitherWay) {
  const std::filesystem::path chosen = "/media/op/contest";
  for (const bool writable : {true, false}) {
    EXPECT_EQ(chooseEdiFolder(kProgram, writable, kDocuments, chosen), (EdiFolder{chosen, true}));
  }
}

// A folder the EDI files cannot go into is told at start-up, not at the first export.
TEST(EdiFolder, AFolderThatCannotTakeTheFilesIsToldAtStart) {
  const testing::TempFolder temporary;
  const std::filesystem::path& top = temporary.path();
  testing::writeBytes(top / "file", "a file, not a folder");
  const std::string reason = ". Scegliere un'altra cartella con --folder CARTELLA.";
  struct Case {
    EdiFolder folder;
    std::optional<std::string> warning;
  };
  const Case cases[] = {
      {{top, false}, std::nullopt},
      {{top / "new" / "sub", true}, std::nullopt},
      {{top / "new", false},
       "I file EDI non si possono scrivere nella cartella " + (top / "new").string() +
           ": No such file or directory" + reason},
      {{top / "file" / "sub", true},
       "I file EDI non si possono scrivere nella cartella " + (top / "file" / "sub").string() +
           ": Not a directory" + reason},
      {{top / "file", true},
       "I file EDI non si possono scrivere nella cartella " + (top / "file").string() +
           ": Not a directory" + reason},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(ediFolderWarning(test.folder), test.warning) << test.folder.path;
  }
}

}  // namespace
}  // namespace vantor
