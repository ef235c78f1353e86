#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace vantor::platform {

// Creates the file, or empties it when it exists, writes the bytes and forces them to the disk
// before closing it. Returns the system's error of the first step that fails.
[[nodiscard]] std::error_code writeDurably(const std::filesystem::path& path,
                                           std::string_view bytes);

// Forces the folder's entries (a file just renamed into it) to the disk. A file system that
// cannot sync a folder at all counts as done: there is nothing more the program could do there.
[[nodiscard]] std::error_code syncFolder(const std::filesystem::path& folder);

}  // namespace vantor::platform
