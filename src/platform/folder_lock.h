#pragma once

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace vantor::platform {

// Makes the folder, and the folders above it, when it is missing; a folder of the program's own
// data is the operator's alone (0700), so one that others may enter is narrowed.
[[nodiscard]] std::error_code makePrivateFolder(FileSystem& files,
                                                const std::filesystem::path& folder);

// One running program's hold on a data folder. It has two parts, each taken exclusively: a lock
// on the file "vantor.lock" in the folder, and a name the system keeps for this program while it
// runs, made from the user and the folder's path. The name is not in the folder, so deleting the
// folder does not free it for a second program; the lock file can then be taken anew. A name
// held by another user is left to them, so no one else can keep the operator from starting.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // Makes the folder private (makePrivateFolder) and takes the hold on it:
  // std::errc::resource_unavailable_try_again when another program of this user holds it.
  [[nodiscard]] std::error_code take(FileSystem& files, const std::filesystem::path& folder);
  // Whether the lock file still stands in the folder: not deleted with it, nor replaced.
  [[nodiscard]] bool lockFileInPlace() const;
  // Takes the hold again after take failed or the lock file went, the folder made anew when it
  // was deleted.
  [[nodiscard]] std::error_code retake();

  [[nodiscard]] std::filesystem::path lockPath() const { return m_folder / "vantor.lock"; }

 private:
  [[nodiscard]] std::error_code takeName();
  [[nodiscard]] std::error_code takeLockFile();
  void releaseLockFile();

  FileSystem* m_files = nullptr;
  std::filesystem::path m_folder;
  int m_lockFile = -1;
  FileStatus m_lockStatus;
  int m_name = -1;
};

}  // namespace vantor::platform
