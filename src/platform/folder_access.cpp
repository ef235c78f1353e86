#include "platform/folder_access.h"

#include <unistd.h>

namespace vantor::platform {

bool canWriteInto(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace vantor::platform
