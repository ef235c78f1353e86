#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace vantor::platform {

namespace {

std::error_code resultOf(int result) {
  return result == 0 ? std::error_code() : lastSystemError();
}

void fill(FileStatus& status, const struct stat& system) {
  status.device = system.st_dev;
  status.inode = system.st_ino;
  status.mode = system.st_mode;
  status.links = system.st_nlink;
  status.modifiedNanoseconds =
      static_cast<std::int64_t>(system.st_mtim.tv_sec) * 1'000'000'000 + system.st_mtim.tv_nsec;
}

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

}  // namespace

bool FileStatus::isRegular() const {
  return S_ISREG(mode);
}

bool FileStatus::isFolder() const {
  return S_ISDIR(mode);
}

std::error_code lastSystemError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

std::error_code FileSystem::open(const std::filesystem::path& path, int flags, unsigned mode,
                                 int& descriptor) {
  descriptor = ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
  return descriptor < 0 ? lastSystemError() : std::error_code();
}

std::error_code FileSystem::read(int descriptor, char* buffer, std::size_t size,
                                 std::size_t& count) {
  while (true) {
    const ssize_t got = ::read(descriptor, buffer, size);
    if (got >= 0) {
      count = static_cast<std::size_t>(got);
      return {};
    }
    if (errno != EINTR) {
      count = 0;
      return lastSystemError();
    }
  }
}

std::error_code FileSystem::write(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return lastSystemError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code FileSystem::sync(int descriptor) {
  return resultOf(::fsync(descriptor));
}

std::error_code FileSystem::syncData(int descriptor) {
  return resultOf(::fdatasync(descriptor));
}

std::error_code FileSystem::close(int descriptor) {
  return resultOf(::close(descriptor));
}

std::error_code FileSystem::rename(const std::filesystem::path& from,
                                   const std::filesystem::path& to) {
  return resultOf(::rename(from.c_str(), to.c_str()));
}

std::error_code FileSystem::remove(const std::filesystem::path& path) {
  return resultOf(::unlink(path.c_str()));
}

std::error_code FileSystem::status(const std::filesystem::path& path, FileStatus& status) {
  struct stat system {};
  if (::lstat(path.c_str(), &system) != 0) {
    return lastSystemError();
  }
  fill(status, system);
  return {};
}

std::error_code FileSystem::status(int descriptor, FileStatus& status) {
  struct stat system {};
  if (::fstat(descriptor, &system) != 0) {
    return lastSystemError();
  }
  fill(status, system);
  return {};
}

std::error_code FileSystem::makeFolder(const std::filesystem::path& path, unsigned mode) {
  return resultOf(::mkdir(path.c_str(), static_cast<mode_t>(mode)));
}

std::error_code FileSystem::setMode(const std::filesystem::path& path, unsigned mode) {
  return resultOf(::chmod(path.c_str(), static_cast<mode_t>(mode)));
}

std::error_code FileSystem::setMode(int descriptor, unsigned mode) {
  return resultOf(::fchmod(descriptor, static_cast<mode_t>(mode)));
}

std::error_code FileSystem::lock(int descriptor) {
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
    return {};
  }
  return errno == EWOULDBLOCK ? std::make_error_code(std::errc::resource_unavailable_try_again)
                              : lastSystemError();
}

std::error_code FileSystem::list(const std::filesystem::path& folder,
                                 std::vector<std::string>& names) {
  names.clear();
  const std::unique_ptr<DIR, FolderCloser> entries(::opendir(folder.c_str()));
  if (!entries) {
    return lastSystemError();
  }
  errno = 0;
  while (const dirent* entry = ::readdir(entries.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") {
      names.emplace_back(name);
    }
  }
  return errno == 0 ? std::error_code() : lastSystemError();
}

FileSystem& systemFiles() {
  static FileSystem files;
  return files;
}

}  // namespace vantor::platform
