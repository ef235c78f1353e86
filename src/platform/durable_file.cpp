#include "platform/durable_file.h"

#include <fcntl.h>
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

std::error_code writeDurably(const std::filesystem::path& path, std::string_view bytes) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return lastError();
  }
  std::error_code error = writeAll(descriptor, bytes);
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

}  // namespace vantor::platform
