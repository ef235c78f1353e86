#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vantor::platform {

// What the system tells of a file, without following a symbolic link.
struct FileStatus {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  // The type and permission bits, as stat gives them.
  unsigned mode = 0;
  std::uint64_t links = 0;
  std::int64_t modifiedNanoseconds = 0;

  [[nodiscard]] bool isRegular() const;
  [[nodiscard]] bool isFolder() const;
  [[nodiscard]] unsigned permissions() const { return mode & 07777U; }
  [[nodiscard]] bool isSameFile(const FileStatus& other) const {
    return device == other.device && inode == other.inode;
  }
};

// The calls the journal, the lock and the file writers and readers make on files and folders, in
// one place. This class makes the system's own calls; a test derives from it and changes the one
// call it needs to fail, or to see another file. Each returns the system's error, nothing on
// success.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // `flags` and `mode` as open(2) takes them; close-on-exec is always added.
  [[nodiscard]] virtual std::error_code open(const std::filesystem::path& path, int flags,
                                             unsigned mode, int& descriptor);
  // Reads at most `size` bytes; `count` is 0 at the end of the file.
  [[nodiscard]] virtual std::error_code read(int descriptor, char* buffer, std::size_t size,
                                             std::size_t& count);
  // Writes all the bytes, however many calls the system needs.
  [[nodiscard]] virtual std::error_code write(int descriptor, std::string_view bytes);
  // Forces the file's data and metadata to the disk.
  [[nodiscard]] virtual std::error_code sync(int descriptor);
  // Forces the file's data, and the metadata needed to read it back, to the disk.
  [[nodiscard]] virtual std::error_code syncData(int descriptor);
  [[nodiscard]] virtual std::error_code close(int descriptor);
  [[nodiscard]] virtual std::error_code rename(const std::filesystem::path& from,
                                               const std::filesystem::path& to);
  [[nodiscard]] virtual std::error_code remove(const std::filesystem::path& path);
  [[nodiscard]] virtual std::error_code status(const std::filesystem::path& path,
                                               FileStatus& status);
  [[nodiscard]] virtual std::error_code status(int descriptor, FileStatus& status);
  [[nodiscard]] virtual std::error_code makeFolder(const std::filesystem::path& path,
                                                   unsigned mode);
  [[nodiscard]] virtual std::error_code setMode(const std::filesystem::path& path, unsigned mode);
  [[nodiscard]] virtual std::error_code setMode(int descriptor, unsigned mode);
  // An exclusive lock on the open file, without waiting: std::errc::resource_unavailable_try_again
  // when another open file description holds it.
  [[nodiscard]] virtual std::error_code lock(int descriptor);
  // The names in a folder, "." and ".." left out.
  [[nodiscard]] virtual std::error_code list(const std::filesystem::path& folder,
                                             std::vector<std::string>& names);
};

// The system's own calls.
[[nodiscard]] FileSystem& systemFiles();

// The error errno holds after a failed system call.
[[nodiscard]] std::error_code lastSystemError();

}  // namespace vantor::platform
