#pragma once

#include <filesystem>

namespace vantor::platform {

// Whether this process may create files in the folder: it exists and may be written and searched.
[[nodiscard]] bool canWriteInto(const std::filesystem::path& folder);

}  // namespace vantor::platform
