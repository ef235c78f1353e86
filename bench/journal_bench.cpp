#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "app/journal.h"
#include "app/session.h"
#include "band_logs.h"
#include "contest_texts.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "platform/durable_file.h"
#include "platform/folder_lock.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"

namespace {

using vantor::testing::PinnedClock;
using vantor::testing::RecordingDialogs;
using vantor::testing::RecordingScreens;

// A data folder whose live journal a crashed run left after logging `contacts` contacts, each
// typed key by key as the operator does.
void crashAfter(const std::filesystem::path& folder, int contacts) {
  PinnedClock clock;
  RecordingDialogs dialogs;
  dialogs.recording = false;
  RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
  vantor::Journal journal(session, folder);
  journal.start();
  vantor::testing::fillRequiredHeader(session.header());
  session.header().proceedButton.press();
  session.recordChanges();
  vantor::LogForm& log = session.log();
  for (int i = 0; i < contacts; ++i) {
    const std::string call = vantor::bench::callOf(i);
    for (std::size_t typed = 1; typed <= call.size(); ++typed) {
      log.callsignField.edit(call.substr(0, typed), typed);
      session.recordChanges();
    }
    log.locatorField.edit("JN61FU", 6);
    session.recordChanges();
    log.insertButton.press();
    session.recordChanges();
  }
}

// A folder in memory, where syncing costs nothing, removed with everything in it.
class MemoryFolder {
 public:
  MemoryFolder() : m_path(std::filesystem::path("/dev/shm") / ("vantor-bench-" + randomName())) {
    std::filesystem::create_directories(m_path);
  }
  MemoryFolder(const MemoryFolder&) = delete;
  MemoryFolder& operator=(const MemoryFolder&) = delete;
  ~MemoryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }

  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

 private:
  static std::string randomName() {
    std::random_device random;
    return std::to_string(random()) + std::to_string(random());
  }

  std::filesystem::path m_path;
};

// The bytes of the live journal crashAfter leaves, made once for each size and in memory: typing
// 100,000 contacts key by key, each synced to the disk, takes minutes.
const std::string& crashedJournal(int contacts) {
  static std::map<int, std::string> journals;
  auto [journal, added] = journals.try_emplace(contacts);
  if (added) {
    const MemoryFolder data;
    crashAfter(data.path(), contacts);
    journal->second = vantor::testing::readBytes(data.path() / "vantor.journal");
  }
  return journal->second;
}

// Start-up with a crashed run's journal of that many contacts, answered "Sì": read, restored into
// the screens and rewritten as the new live journal.
void JournalResume(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  const std::string& journal = crashedJournal(static_cast<int>(state.range(0)));
  state.counters["journal_MB"] = static_cast<double>(journal.size()) / 1e6;
  for (auto _ : state) {
    state.PauseTiming();
    vantor::testing::writeBytes(data.path() / "vantor.journal", journal);
    PinnedClock clock;
    RecordingDialogs dialogs;
    dialogs.answers = {true};
    RecordingScreens screens;
    vantor::Session session{clock, dialogs, screens};
    state.ResumeTiming();
    vantor::Journal resumed(session, data.path());
    benchmark::DoNotOptimize(resumed.start());
  }
}
BENCHMARK(JournalResume)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The first keystroke in the call field once that journal is resumed: its log was set whole, so
// its calls are read at the resume, not at this keystroke. The resume is untimed.
void CallKeystrokeAfterResume(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  const std::string& journal = crashedJournal(static_cast<int>(state.range(0)));
  PinnedClock clock;
  RecordingDialogs dialogs;
  RecordingScreens screens;
  // Each resumed session is dropped at the next resume, outside the timed keystroke.
  std::unique_ptr<vantor::Session> session;
  std::unique_ptr<vantor::Journal> resumed;
  for (auto _ : state) {
    state.PauseTiming();
    resumed.reset();
    session.reset();
    vantor::testing::writeBytes(data.path() / "vantor.journal", journal);
    dialogs.answers = {true};
    session = std::make_unique<vantor::Session>(clock, dialogs, screens);
    resumed = std::make_unique<vantor::Journal>(*session, data.path());
    resumed->start();
    const std::string_view call = vantor::bench::kTypicalCall[0];
    state.ResumeTiming();
    session->log().callsignField.edit(call, call.size());
  }
}
BENCHMARK(CallKeystrokeAfterResume)
    ->Apply(vantor::bench::logSizes)
    ->Iterations(10)
    ->Unit(benchmark::kMicrosecond);

// What the journal adds to each write since it notices a deleted or replaced journal: whether its
// path and the lock file's still name the files it holds.
void JournalPlaceCheck(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  vantor::platform::FolderLock lock;
  vantor::platform::AppendOnlyFile file;
  const std::filesystem::path path = data.path() / "vantor.journal";
  if (lock.take(vantor::platform::systemFiles(), data.path()) ||
      vantor::platform::replaceDurably(vantor::platform::systemFiles(), path, {"journal"},
                                       vantor::platform::FileAccess::Private, &file)) {
    state.SkipWithError("the folder cannot be written");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(lock.lockFileInPlace() && file.isAt(path));
  }
}
BENCHMARK(JournalPlaceCheck)->Unit(benchmark::kMicrosecond);

// An insertion in a log of that many contacts with its journal entry written, in a folder in
// memory, where syncing costs nothing: what the journal's own work adds to an insertion. With
// `twoOtherBands`, the logs of two other bands are filled first.
void insertWithJournal(benchmark::State& state, bool twoOtherBands) {
  const MemoryFolder data;
  PinnedClock clock;
  RecordingDialogs dialogs;
  dialogs.recording = false;
  RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
  vantor::Journal journal(session, data.path());
  journal.start();
  vantor::testing::fillRequiredHeader(session.header());
  session.header().proceedButton.press();
  vantor::LogForm& log = session.log();
  const int contacts = static_cast<int>(state.range(0));
  log.logBuffer().setText(vantor::bench::qsoLines(contacts));
  if (twoOtherBands) {
    vantor::bench::fillTwoOtherBands(session);
  }
  session.recordChanges();
  int next = contacts;
  for (auto _ : state) {
    state.PauseTiming();
    log.serialSentField.setText("002");
    log.callsignField.edit(vantor::bench::callOf(next++), 6);
    log.locatorField.edit("JN61FU", 6);
    session.recordChanges();
    session.syncRecordedChanges();
    state.ResumeTiming();
    log.insertButton.press();
    session.recordChanges();
  }
}

void JournaledInsertion(benchmark::State& state) {
  insertWithJournal(state, false);
}
BENCHMARK(JournaledInsertion)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The same with the logs of two other bands held, each of 10,000 contacts.
void JournaledInsertionWithTwoOtherBands(benchmark::State& state) {
  insertWithJournal(state, true);
}
BENCHMARK(JournaledInsertionWithTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond);

// The baseline: the same journal's bytes read from the disk, plainly.
void PlainJournalRead(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  vantor::testing::writeBytes(data.path() / "vantor.journal",
                              crashedJournal(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    std::ifstream file(data.path() / "vantor.journal", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(PlainJournalRead)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

}  // namespace
