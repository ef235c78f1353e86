#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/journal.h"
#include "app/session.h"
#include "header/header_form.h"
#include "log/log_form.h"
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
    const std::string call = "QQ" + std::to_string(i);
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

// Start-up with a crashed run's journal of that many contacts, answered "Sì": read, restored into
// the screens and rewritten as the new live journal.
void JournalResume(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  crashAfter(data.path(), static_cast<int>(state.range(0)));
  const std::string journal = vantor::testing::readBytes(data.path() / "vantor.journal");
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
BENCHMARK(JournalResume)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The baseline: the same journal's bytes read from the disk, plainly.
void PlainJournalRead(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  crashAfter(data.path(), static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream file(data.path() / "vantor.journal", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(PlainJournalRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
