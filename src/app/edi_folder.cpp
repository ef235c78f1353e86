#include "app/edi_folder.h"

#include "edi/edi_file.h"
#include "platform/folder_access.h"

namespace vantor {

namespace {

// The system's own program folders take no data, even where the user may write them (as root):
// an installed program keeps its files in the documents folder.
bool isSystemFolder(const std::filesystem::path& folder) {
  const std::filesystem::path normal = folder.lexically_normal();
  if (!normal.is_absolute() || normal.relative_path().empty()) {
    return false;
  }
  const std::filesystem::path top = *normal.relative_path().begin();
  return top == "usr" || top == "bin" || top == "sbin";
}

}  // namespace

EdiFolder chooseEdiFolder(const std::filesystem::path& programFolder, bool programFolderWritable,
                          const std::filesystem::path& documentsFolder,
                          const std::optional<std::filesystem::path>& chosenFolder) {
  if (chosenFolder) {
    return EdiFolder{*chosenFolder, true};
  }
  if (programFolderWritable && !isSystemFolder(programFolder)) {
    return EdiFolder{programFolder, false};
  }
  return EdiFolder{documentsFolder / "Vantor", true};
}

std::optional<std::string> ediFolderWarning(const EdiFolder& folder) {
  const std::error_code error = platform::writeAccessProblem(folder.path, folder.createWhenMissing);
  if (!error) {
    return std::nullopt;
  }
  return "I file EDI non si possono scrivere nella cartella " + quotedPath(folder.path) + ": " +
         error.message() + ". Scegliere un'altra cartella con --folder CARTELLA.";
}

std::error_code prepareEdiFolder(const EdiFolder& folder) {
  std::error_code error;
  if (folder.createWhenMissing) {
    std::filesystem::create_directories(folder.path, error);
  }
  return error;
}

}  // namespace vantor
