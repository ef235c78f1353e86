#pragma once

#include <filesystem>
#include <system_error>

namespace vantor::platform {

// Whether this process may create files in the folder: it exists and may be written and searched.
[[nodiscard]] bool canWriteInto(const std::filesystem::path& folder);

// Why this process may not create files in the folder, or in the nearest folder above it that
// exists when it is missing and `made` (it would then be made there); nothing when it may.
[[nodiscard]] std::error_code writeAccessProblem(const std::filesystem::path& folder, bool made);

}  // namespace vantor::platform
