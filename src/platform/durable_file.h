#pragma once

#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <system_error>

namespace vantor::platform {

// Creates the file, or empties it when it exists, writes the pieces one after the other and forces
// them to the disk before closing it. Returns the system's error of the first step that fails.
[[nodiscard]] std::error_code writeDurably(const std::filesystem::path& path,
                                           std::initializer_list<std::string_view> pieces);

// Forces the folder's entries (a file just renamed into it) to the disk. A file system that
// cannot sync a folder at all counts as done: there is nothing more the program could do there.
[[nodiscard]] std::error_code syncFolder(const std::filesystem::path& folder);

// Writes the bytes to a temporary file beside `path`, forces it to the disk, renames it over
// `path` and forces the folder: a power cut leaves the old file or the new one, never a part.
[[nodiscard]] std::error_code replaceDurably(const std::filesystem::path& path,
                                             std::string_view bytes);

// A file that only grows: each append goes to its end, and sync forces what was appended to the
// disk.
class AppendOnlyFile {
 public:
  AppendOnlyFile() = default;
  AppendOnlyFile(const AppendOnlyFile&) = delete;
  AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;
  ~AppendOnlyFile() { close(); }

  [[nodiscard]] std::error_code open(const std::filesystem::path& path);
  [[nodiscard]] std::error_code append(std::string_view bytes);
  [[nodiscard]] std::error_code sync();
  void close();
  [[nodiscard]] bool isOpen() const { return m_descriptor >= 0; }

 private:
  int m_descriptor = -1;
};

// An exclusive lock on a file, held until the lock is destroyed or the process ends.
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // Takes the lock, creating the file when needed. std::errc::resource_unavailable_try_again
  // when another process holds it.
  [[nodiscard]] std::error_code take(const std::filesystem::path& path);

 private:
  int m_descriptor = -1;
};

}  // namespace vantor::platform
