#include "platform/folder_lock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "support/temp_folder.h"

namespace vantor::platform {
namespace {

namespace fs = std::filesystem;
using testing::permissionsOf;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

const std::error_code kHeld = std::make_error_code(std::errc::resource_unavailable_try_again);

TEST(FolderLock, HoldsTheFolderEvenWhenTheFolderIsDeleted) {
  const TempFolder temporary;
  const fs::path folder = temporary.path() / "Vantor";
  auto first = std::make_unique<FolderLock>();
  ASSERT_FALSE(first->take(systemFiles(), folder));
  EXPECT_TRUE(first->lockFileInPlace());
  EXPECT_EQ(FolderLock().take(systemFiles(), folder), kHeld);

  fs::remove_all(folder);
  EXPECT_FALSE(first->lockFileInPlace());
  EXPECT_EQ(FolderLock().take(systemFiles(), folder), kHeld) << "the folder went, the hold stays";
  ASSERT_FALSE(first->retake());
  EXPECT_TRUE(first->lockFileInPlace());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(FolderLock().take(systemFiles(), folder), kHeld);

  first.reset();
  EXPECT_FALSE(FolderLock().take(systemFiles(), folder));
}

// A link planted in place of the lock file is taken away; what it pointed to stays as it was.
TEST(FolderLock, NeverFollowsALinkInPlaceOfTheLockFile) {
  const TempFolder temporary;
  const fs::path folder = temporary.path() / "Vantor";
  fs::create_directory(folder);
  writeBytes(temporary.path() / "victim", "kept");
  fs::create_symlink(temporary.path() / "victim", folder / "vantor.lock");
  FolderLock lock;
  ASSERT_FALSE(lock.take(systemFiles(), folder));
  EXPECT_FALSE(fs::is_symlink(folder / "vantor.lock"));
  EXPECT_EQ(readBytes(temporary.path() / "victim"), "kept");
  EXPECT_EQ(permissionsOf(folder / "vantor.lock"), 0600U);
}

// The data folder is the operator's alone whatever the umask; one an earlier run left open to
// others is narrowed.
TEST(MakePrivateFolder, LeavesTheFolderToTheOperatorAlone) {
  const TempFolder temporary;
  const mode_t before = ::umask(0);
  const fs::path fresh = temporary.path() / "data" / "Vantor";
  EXPECT_FALSE(makePrivateFolder(systemFiles(), fresh));
  const fs::path old = temporary.path() / "old";
  fs::create_directory(old);
  fs::permissions(old, fs::perms::all);
  writeBytes(old / "kept", "x");
  EXPECT_FALSE(makePrivateFolder(systemFiles(), old));
  ::umask(before);
  EXPECT_EQ(permissionsOf(fresh), 0700U);
  EXPECT_EQ(permissionsOf(old), 0700U);
  EXPECT_EQ(readBytes(old / "kept"), "x");
  writeBytes(temporary.path() / "file", "x");
  EXPECT_EQ(makePrivateFolder(systemFiles(), temporary.path() / "file"),
            std::make_error_code(std::errc::not_a_directory));
}

}  // namespace
}  // namespace vantor::platform
