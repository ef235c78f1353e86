// Any bytes as the live journal a crashed run left: the start-up that finds them never crashes,
// restores only what the sound entries hold, and leaves a journal the next start can read.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/journal.h"
#include "app/journal_codec.h"
#include "app/session.h"
#include "check.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

using namespace vantor;
namespace fs = std::filesystem;

const fs::path& dataFolder() {
  return fuzz::processFolder("journal");
}

// A start-up on the folder, resuming whatever it offers; then one insertion is tried. Whether
// something was resumed.
bool startAndLog() {
  testing::PinnedClock clock;
  testing::RecordingDialogs dialogs;
  dialogs.answers = {true};
  testing::RecordingScreens screens;
  Session session(clock, dialogs, screens);
  Journal journal(session, dataFolder());
  FUZZ_CHECK(journal.start());
  if (session.hasLog()) {
    session.log().insertButton.press();
    session.recordChanges();
  }
  return !dialogs.questions.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const JournalContents contents = decodeJournal(bytes);
  FUZZ_CHECK(contents.soundBytes <= size);
  for (const fs::directory_entry& entry : fs::directory_iterator(dataFolder())) {
    fs::remove(entry.path());
  }
  std::ofstream(dataFolder() / "vantor.journal", std::ios::binary) << bytes;
  const bool resumed = startAndLog();
  // Whatever was found, the live journal is now one of this program's own; a start that resumed
  // nothing and changed nothing has nothing to keep, and may leave none.
  const fs::path live = dataFolder() / "vantor.journal";
  if (!resumed && !fs::exists(live)) {
    return 0;
  }
  const JournalContents after = decodeJournal(testing::readBytes(live));
  FUZZ_CHECK(after.status == JournalContents::Status::Complete && !after.entries.empty());
  return 0;
}
