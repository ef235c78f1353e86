#pragma once

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace vantor::platform {

// Who may read a file the program writes: the operator alone (0600, whatever the umask), or
// everyone the umask allows (0644 less the umask), for a file meant to be sent.
enum class FileAccess { Private, Shared };

class AppendOnlyFile;

// Writes the pieces to a new temporary file beside `path` (created exclusively under a name no one
// can guess, never through a link), forces it to the disk, renames it over `path` and forces the
// folder: a power cut leaves the old file or the new one, never a part. The temporary file is
// removed when a step fails. With `continueIn`, the new file stays open there for appending.
[[nodiscard]] std::error_code replaceDurably(FileSystem& files, const std::filesystem::path& path,
                                             std::initializer_list<std::string_view> pieces,
                                             FileAccess access,
                                             AppendOnlyFile* continueIn = nullptr);

// Whether a name in a folder is one of replaceDurably's temporary files for `target`.
[[nodiscard]] bool isTemporaryFor(std::string_view name, std::string_view target);

// Forces the folder's entries (a file just renamed into it) to the disk. A file system that
// cannot sync a folder at all counts as done: there is nothing more the program could do there.
[[nodiscard]] std::error_code syncFolder(FileSystem& files, const std::filesystem::path& folder);

// Reads a whole regular file into `bytes`, without waiting on a pipe or a device and, unless
// `followLink`, without following a symbolic link. The system's error when it cannot be opened
// or read, FileProblem::notRegular for anything but a regular file, and "file too large" for one
// larger than `largest` bytes.
[[nodiscard]] std::error_code readWholeFile(
    FileSystem& files, const std::filesystem::path& path, std::string& bytes,
    std::size_t largest = std::numeric_limits<std::size_t>::max(), bool followLink = true);

// What the program refuses in a file that the system would take.
enum class FileProblem { notRegular = 1 };
[[nodiscard]] std::error_code make_error_code(FileProblem problem);

// A file that only grows: each append goes to its end, and sync forces what was appended to the
// disk. It knows the file it holds, so it can tell when its path no longer leads there.
class AppendOnlyFile {
 public:
  AppendOnlyFile() = default;
  AppendOnlyFile(const AppendOnlyFile&) = delete;
  AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;
  ~AppendOnlyFile() { close(); }

  // Holds an open descriptor of `files`.
  [[nodiscard]] std::error_code adopt(FileSystem& files, int descriptor);
  [[nodiscard]] std::error_code append(std::string_view bytes);
  [[nodiscard]] std::error_code sync();
  void close();
  [[nodiscard]] bool isOpen() const { return m_descriptor >= 0; }
  // Whether `path` still names this file: not deleted, renamed away or replaced.
  [[nodiscard]] bool isAt(const std::filesystem::path& path) const;

 private:
  FileSystem* m_files = nullptr;
  int m_descriptor = -1;
  FileStatus m_status;
};

}  // namespace vantor::platform

template <>
struct std::is_error_code_enum<vantor::platform::FileProblem> : std::true_type {};
