#include "edi/edi_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "support/faulty_files.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

struct NameCase {
  std::string section;
  std::string callsign;
  std::string fileName;
};

class EdiFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(EdiFileName, StaysAPlainNameInsideTheFolder) {
  const auto& [section, callsign, fileName] = GetParam();
  EXPECT_EQ(ediFileName(section, callsign), fileName);

  const fs::path folder = fs::path("contest") / "logs";
  const fs::path path = ediFilePath(folder, section, callsign);
  EXPECT_EQ(path.parent_path(), folder);
  EXPECT_EQ(pathText(path.filename()), fileName);
  EXPECT_NE(path.filename(), ".");
  EXPECT_NE(path.filename(), "..");
}

INSTANTIATE_TEST_SUITE_P(
    Callsigns, EdiFileName,
    ::testing::Values(NameCase{"01", "QQ9XYZ", "01_QQ9XYZ.edi"},
                      NameCase{"", "QQ9XYZ", "_QQ9XYZ.edi"},
                      NameCase{"01", "IK2ABC/P", "01_IK2ABC-P.edi"},
                      NameCase{"6P", "F/IK2ABC/M", "6P_F-IK2ABC-M.edi"},
                      NameCase{"01", R"(A\B:C*D?E"F<G>H|I)", "01_A-B-C-D-E-F-G-H-I.edi"},
                      NameCase{"01", "C:\\WINDOWS", "01_C--WINDOWS.edi"},
                      NameCase{"01", "../../etc/x", "01_..-..-etc-x.edi"},
                      NameCase{"01", "..", "01_...edi"}, NameCase{"", "..", "_...edi"},
                      NameCase{"", ".", "_..edi"}, NameCase{"", "", "_.edi"},
                      NameCase{"01", "QQ\t1\r\n\x1f", "01_QQ-1---.edi"},
                      NameCase{"01",
                               "QQ\x7f"
                               "1\xc2\x85"
                               "A\xc2\x9f",
                               "01_QQ-1-A-.edi"},
                      NameCase{"01", "IÀ2ÈÉ€", "01_IÀ2ÈÉ€.edi"},
                      NameCase{"01",
                               "A\xff"
                               "B\xc3",
                               "01_A-B-.edi"}));

TEST(EdiFilePath, AlwaysAddsThePlatformSeparatorAndShowsInTheLabel) {
  const std::string separator =
      pathText(fs::path(fs::path::string_type(1, fs::path::preferred_separator)));
  const fs::path path = ediFilePath("contest", "01", "QQ9XYZ");
  EXPECT_EQ(pathText(path), "contest" + separator + "01_QQ9XYZ.edi");
  EXPECT_EQ(pathText(ediFilePath("contest" + separator, "", "QQ9XYZ")),
            "contest" + separator + separator + "_QQ9XYZ.edi");
  EXPECT_EQ(savedLabelText(path),
            "***  Il LOG è stato salvato in contest" + separator + "01_QQ9XYZ.edi  ***");
}

std::string failure(const fs::path& path, std::errc reason) {
  return "Impossibile salvare il LOG in " + pathText(path) + ": " +
         std::make_error_code(reason).message();
}

std::vector<fs::path> entries(const fs::path& folder) {
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename());
  }
  return names;
}

class SaveEdiFile : public ::testing::Test {
 protected:
  const testing::TempFolder folder;
  const fs::path path = ediFilePath(folder.path(), "01", "QQ9XYZ");
};

TEST_F(SaveEdiFile, ReplacesAnEarlierFileAndLeavesNothingElse) {
  testing::writeBytes(path, std::string(5000, 'x'));
  ASSERT_EQ(saveEdiFile(path, "[REG1TEST;1]\r\n[END;x]"), std::nullopt);
  EXPECT_EQ(testing::readBytes(path), "[REG1TEST;1]\r\n[END;x]\r\n");
  EXPECT_EQ(entries(folder.path()), std::vector<fs::path>{"01_QQ9XYZ.edi"});
}

TEST_F(SaveEdiFile, LeavesTheEarlierFileWhenTheDiskIsFull) {
  testing::writeBytes(path, "earlier export\r\n");
  testing::FaultyFiles files;
  files.fail(testing::FaultyFiles::Call::write, "01_QQ9XYZ.edi.", std::errc::no_space_on_device);

  EXPECT_EQ(saveEdiFile(path, std::string(1000, 'y'), files),
            failure(path, std::errc::no_space_on_device));
  ASSERT_EQ(files.failed().size(), 1U);
  EXPECT_EQ(testing::readBytes(path), "earlier export\r\n");
  EXPECT_EQ(entries(folder.path()), std::vector<fs::path>{"01_QQ9XYZ.edi"});
}

TEST_F(SaveEdiFile, ReportsAMissingFolder) {
  const fs::path missing = ediFilePath(folder.path() / "gone", "01", "QQ9XYZ");
  EXPECT_EQ(saveEdiFile(missing, "text"), failure(missing, std::errc::no_such_file_or_directory));
}

TEST_F(SaveEdiFile, RemovesTheTemporaryFileWhenTheRenameFails) {
  fs::create_directory(path);
  testing::writeBytes(path / "keep", "kept");

  const auto message = saveEdiFile(path, "text");
  ASSERT_TRUE(message.has_value());
  EXPECT_TRUE(message->starts_with("Impossibile salvare il LOG in " + pathText(path) + ": "));
  EXPECT_EQ(entries(folder.path()), std::vector<fs::path>{"01_QQ9XYZ.edi"});
  EXPECT_EQ(testing::readBytes(path / "keep"), "kept");
}

TEST_F(SaveEdiFile, ReportsAFolderWithoutWriteAccess) {
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const fs::path probe = folder.path() / "probe";
  testing::writeBytes(probe, "x");
  if (fs::exists(probe)) {
    GTEST_SKIP() << "this user writes into read-only folders (root); the faulty files cover the "
                    "failure path";
  }
  EXPECT_EQ(saveEdiFile(path, "text"), failure(path, std::errc::permission_denied));
  EXPECT_TRUE(entries(folder.path()).empty());
}

// The rename is not safe from a power cut until the folder is synced: a failed sync is a failed
// save, and the log keeps its contacts.
TEST_F(SaveEdiFile, ReportsAFolderThatCannotBeSynced) {
  testing::FaultyFiles files;
  files.fail(testing::FaultyFiles::Call::sync, folder.path().filename().string(),
             std::errc::io_error);
  EXPECT_EQ(saveEdiFile(path, "text", files), failure(path, std::errc::io_error));
  EXPECT_EQ(files.failed().size(), 1U);
  EXPECT_EQ(entries(folder.path()), std::vector<fs::path>{"01_QQ9XYZ.edi"});
}

}  // namespace
}  // namespace vantor
