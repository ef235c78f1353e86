#include "platform/folder_access.h"

#include <unistd.h>

#include "platform/file_system.h"

namespace vantor::platform {

bool canWriteInto(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::error_code writeAccessProblem(const std::filesystem::path& folder, bool made) {
  std::error_code error;
  std::filesystem::path existing = std::filesystem::absolute(folder, error).lexically_normal();
  while (!error && made && !std::filesystem::exists(existing, error) &&
         existing.has_relative_path()) {
    existing = existing.parent_path();
  }
  if (!error && !std::filesystem::exists(existing, error)) {
    return std::make_error_code(std::errc::no_such_file_or_directory);
  }
  if (!error && !std::filesystem::is_directory(existing, error)) {
    return std::make_error_code(std::errc::not_a_directory);
  }
  if (error) {
    return error;
  }
  return ::access(existing.c_str(), W_OK | X_OK) == 0 ? std::error_code() : lastSystemError();
}

}  // namespace vantor::platform
