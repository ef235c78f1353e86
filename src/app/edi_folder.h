#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace vantor {

// Where the EDI files are written, and whether that folder is made when it does not exist yet.
struct EdiFolder {
  std::filesystem::path path;
  bool createWhenMissing = false;

  bool operator==(const EdiFolder&) const = default;
};

// The folder for the EDI files: the one chosen on the command line, else the program's own folder
// when it can be written and is not one of the system's (/usr, /bin, /sbin: a copy run from where
// it was built or unpacked), else a "Vantor" folder
// in the user's documents folder (an installed program). A chosen or documents folder is made
// when the first file goes into it.
[[nodiscard]] EdiFolder chooseEdiFolder(const std::filesystem::path& programFolder,
                                        bool programFolderWritable,
                                        const std::filesystem::path& documentsFolder,
                                        const std::optional<std::filesystem::path>& chosenFolder);

// What the operator is told at start-up when no EDI file could be written into the folder (one to
// be made counts as the nearest folder above it that exists); nothing when they can be.
[[nodiscard]] std::optional<std::string> ediFolderWarning(const EdiFolder& folder);

// Makes the folder, and the folders above it, when it is to be made and is missing. Returns the
// system's error when that fails.
[[nodiscard]] std::error_code prepareEdiFolder(const EdiFolder& folder);

}  // namespace vantor
