// Any bytes as an EDI file given on the command line, every question answered "Sì". Whatever the
// reopen loaded, its export is a file the program reopens into the same export again.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "app/edi_export.h"
#include "app/edi_reopen.h"
#include "app/session.h"
#include "check.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

using namespace vantor;
namespace fs = std::filesystem;

const fs::path& workFolder() {
  return fuzz::processFolder("reopen");
}

// Reopens `path` in a fresh session and exports it into `folder`; the file written, or nothing
// when no log screen opened or the export wrote no file.
std::string reopenAndExport(const fs::path& path, const fs::path& folder) {
  testing::PinnedClock clock;
  testing::RecordingDialogs dialogs;
  // Every question of the reopen is answered "Sì".
  dialogs.answers.assign(8, true);
  testing::RecordingScreens screens;
  Session session(clock, dialogs, screens);
  session.setProgramFolder(folder);
  fs::remove_all(folder);
  fs::create_directories(folder);
  reopenEdi(session, path);
  if (!session.hasLog()) {
    return {};
  }
  FUZZ_CHECK(!session.log().hasUnsavedContacts());
  exportEdi(session);
  for (const auto& entry : fs::directory_iterator(folder)) {
    return testing::readBytes(entry.path());
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path input = workFolder() / "input.edi";
  std::ofstream(input, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const std::string first = reopenAndExport(input, workFolder() / "first");
  if (first.empty()) {
    return 0;
  }
  const fs::path exported = workFolder() / "exported.edi";
  std::ofstream(exported, std::ios::binary) << first;
  FUZZ_CHECK(reopenAndExport(exported, workFolder() / "second") == first);
  return 0;
}
