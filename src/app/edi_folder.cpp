#include "app/edi_folder.h"

namespace vantor {

EdiFolder chooseEdiFolder(const std::filesystem::path& programFolder, bool programFolderWritable,
                          const std::filesystem::path& documentsFolder,
                          const std::optional<std::filesystem::path>& chosenFolder) {
  if (chosenFolder) {
    return EdiFolder{*chosenFolder, true};
  }
  if (programFolderWritable) {
    return EdiFolder{programFolder, false};
  }
  return EdiFolder{documentsFolder / "Vantor", true};
}

std::error_code prepareEdiFolder(const EdiFolder& folder) {
  std::error_code error;
  if (folder.createWhenMissing) {
    std::filesystem::create_directories(folder.path, error);
  }
  return error;
}

}  // namespace vantor
