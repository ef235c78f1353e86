#include "app/edi_folder.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantor
