#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "edi/edi_file.h"
#include "support/temp_folder.h"

namespace vantor::platform {
namespace {

namespace fs = std::filesystem;
using testing::permissionsOf;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// The process's umask for the life of the scope.
class Umask {
 public:
  explicit Umask(unsigned mask) : m_before(::umask(static_cast<mode_t>(mask))) {}
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;
  ~Umask() { ::umask(m_before); }

 private:
  mode_t m_before;
};

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The journal is the operator's alone whatever the umask; an EDI file is meant to be sent, and
// keeps the ordinary modes the umask gives.
TEST(ReplaceDurably, GivesEachKindOfFileItsModeWhateverTheUmask) {
  struct Case {
    unsigned umask;
    FileAccess access;
    unsigned mode;
  };
  const Case cases[] = {
      {000, FileAccess::Private, 0600}, {022, FileAccess::Private, 0600},
      {077, FileAccess::Private, 0600}, {0277, FileAccess::Private, 0600},
      {000, FileAccess::Shared, 0644},  {022, FileAccess::Shared, 0644},
      {027, FileAccess::Shared, 0640},  {077, FileAccess::Shared, 0600},
  };
  const TempFolder folder;
  for (const Case& test : cases) {
    const fs::path path = folder.path() / "file";
    {
      const Umask mask(test.umask);
      ASSERT_FALSE(replaceDurably(systemFiles(), path, {"bytes"}, test.access));
    }
    EXPECT_EQ(permissionsOf(path), test.mode) << std::oct << test.umask;
    EXPECT_EQ(readBytes(path), "bytes");
  }
}

// Someone who may write the folder plants links where a temporary file of a fixed name would go,
// and in place of the file itself: whatever the links point to stays as it was.
TEST(ReplaceDurably, NeverWritesThroughALinkPlantedInTheFolder) {
  const TempFolder folder;
  const TempFolder elsewhere;
  const fs::path victim = elsewhere.path() / "profile";
  writeBytes(victim, "the victim's own file");
  const fs::path path = folder.path() / "01_QQ9XYZ.edi";
  fs::create_symlink(victim, fs::path(path) += ".tmp");
  fs::create_symlink(victim, folder.path() / "01_QQ9XYZ.edi.0123456789abcdef.tmp");

  ASSERT_EQ(saveEdiFile(path, "[REG1TEST;1]"), std::nullopt);
  EXPECT_EQ(readBytes(path), "[REG1TEST;1]\r\n");
  EXPECT_EQ(readBytes(victim), "the victim's own file");

  fs::remove(path);
  fs::create_symlink(victim, path);
  ASSERT_EQ(saveEdiFile(path, "[REG1TEST;1]"), std::nullopt);
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_EQ(readBytes(victim), "the victim's own file");
  EXPECT_EQ(namesIn(folder.path()),
            (std::vector<std::string>{"01_QQ9XYZ.edi", "01_QQ9XYZ.edi.0123456789abcdef.tmp",
                                      "01_QQ9XYZ.edi.tmp"}));
}

TEST(ReplaceDurably, KnowsItsOwnTemporaryFilesByName) {
  const TempFolder folder;
  const fs::path path = folder.path() / "vantor.journal";
  AppendOnlyFile file;
  ASSERT_FALSE(replaceDurably(systemFiles(), path, {"x"}, FileAccess::Private, &file));
  const std::string target = "vantor.journal";
  EXPECT_TRUE(isTemporaryFor("vantor.journal.0123456789abcdef.tmp", target));
  EXPECT_FALSE(isTemporaryFor("vantor.journal.tmp", target));
  EXPECT_FALSE(isTemporaryFor("vantor.journal.0123456789abcdef.txt", target));
  EXPECT_FALSE(isTemporaryFor("vantor.2.journal.0123456789abcdef.tmp", target));
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"vantor.journal"});
}

// Only a regular file is read, and nothing waits on a pipe or a device; a link is followed only
// when asked.
TEST(ReadWholeFile, ReadsRegularFilesOnly) {
  const TempFolder folder;
  const fs::path file = folder.path() / "log.edi";
  writeBytes(file, "12345");
  const fs::path pipe = folder.path() / "pipe.edi";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_symlink(file, folder.path() / "link.edi");
  struct Case {
    fs::path path;
    std::size_t largest;
    bool followLink;
    std::error_code error;
    std::string bytes;
  };
  const std::error_code none;
  const Case cases[] = {
      {file, 5, true, none, "12345"},
      {file, 4, true, std::make_error_code(std::errc::file_too_large), "12345"},
      {pipe, 5, true, FileProblem::notRegular, ""},
      {folder.path(), 5, true, FileProblem::notRegular, ""},
      {"/dev/zero", 5, true, FileProblem::notRegular, ""},
      {folder.path() / "link.edi", 5, true, none, "12345"},
      {folder.path() / "link.edi", 5, false,
       std::make_error_code(std::errc::too_many_symbolic_link_levels), ""},
      {folder.path() / "missing", 5, true,
       std::make_error_code(std::errc::no_such_file_or_directory), ""},
  };
  for (const Case& test : cases) {
    std::string bytes;
    EXPECT_EQ(readWholeFile(systemFiles(), test.path, bytes, test.largest, test.followLink),
              test.error)
        << test.path;
    EXPECT_EQ(bytes, test.bytes) << test.path;
  }
  EXPECT_EQ(std::error_code(FileProblem::notRegular).message(), "non è un file regolare");
}

// The file knows when its path no longer leads to it: deleted, renamed away or replaced.
TEST(AppendOnlyFile, TellsWhenItsPathNamesAnotherFile) {
  const TempFolder folder;
  const fs::path path = folder.path() / "vantor.journal";
  const std::vector<std::function<void()>> changes = {
      [&] { fs::remove(path); },
      [&] { fs::rename(path, folder.path() / "moved"); },
      [&] { writeBytes(folder.path() / "other", "x"), fs::rename(folder.path() / "other", path); },
      [&] { fs::remove(path), fs::create_directory(path); },
      [&] { fs::remove_all(folder.path()); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    fs::create_directories(folder.path());
    fs::remove_all(path);
    AppendOnlyFile file;
    ASSERT_FALSE(replaceDurably(systemFiles(), path, {"head"}, FileAccess::Private, &file));
    ASSERT_FALSE(file.append("+tail"));
    EXPECT_TRUE(file.isAt(path)) << i;
    changes[i]();
    EXPECT_FALSE(file.isAt(path)) << i;
  }
  fs::create_directories(folder.path());
  AppendOnlyFile file;
  ASSERT_FALSE(replaceDurably(systemFiles(), path, {"head"}, FileAccess::Private, &file));
  ASSERT_FALSE(file.append("+tail"));
  ASSERT_FALSE(file.sync());
  EXPECT_EQ(readBytes(path), "head+tail");
}

}  // namespace
}  // namespace vantor::platform
