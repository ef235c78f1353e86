#include "platform/durable_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace vantor::platform {

namespace {

std::error_code lastError() {
  return std::error_code(errno, std::generic_category());
}

std::error_code writeAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return lastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// Closes the descriptor; the first error of the steps before it, else the close's own.
std::error_code closeAfter(int descriptor, std::error_code error) {
  if (::close(descriptor) != 0 && !error) {
    error = lastError();
  }
  return error;
}

}  // namespace

std::error_code writeDurably(const std::filesystem::path& path,
                             std::initializer_list<std::string_view> pieces) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return lastError();
  }
  std::error_code error;
  for (auto piece = pieces.begin(); !error && piece != pieces.end(); ++piece) {
    error = writeAll(descriptor, *piece);
  }
  if (!error && ::fsync(descriptor) != 0) {
    error = lastError();
  }
  return closeAfter(descriptor, error);
}

std::error_code syncFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) {
    return lastError();
  }
  std::error_code error;
  if (::fsync(descriptor) != 0 && errno != EINVAL && errno != ENOTSUP) {
    error = lastError();
  }
  return closeAfter(descriptor, error);
}

std::error_code replaceDurably(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::error_code error = writeDurably(temporary, {bytes});
  if (!error) {
    std::filesystem::rename(temporary, path, error);
  }
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return error;
  }
  return syncFolder(path.parent_path());
}

std::error_code AppendOnlyFile::open(const std::filesystem::path& path) {
  close();
  m_descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  return m_descriptor < 0 ? lastError() : std::error_code();
}

std::error_code AppendOnlyFile::append(std::string_view bytes) {
  return isOpen() ? writeAll(m_descriptor, bytes)
                  : std::make_error_code(std::errc::bad_file_descriptor);
}

std::error_code AppendOnlyFile::sync() {
  if (!isOpen()) {
    return std::make_error_code(std::errc::bad_file_descriptor);
  }
  return ::fdatasync(m_descriptor) == 0 ? std::error_code() : lastError();
}

void AppendOnlyFile::close() {
  if (isOpen()) {
    ::close(m_descriptor);
    m_descriptor = -1;
  }
}

FileLock::~FileLock() {
  if (m_descriptor >= 0) {
    ::close(m_descriptor);
  }
}

std::error_code FileLock::take(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return lastError();
  }
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    const std::error_code error =
        errno == EWOULDBLOCK ? std::make_error_code(std::errc::resource_unavailable_try_again)
                             : lastError();
    ::close(descriptor);
    return error;
  }
  m_descriptor = descriptor;
  return {};
}

}  // namespace vantor::platform
