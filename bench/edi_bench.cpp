#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "app/edi_export.h"
#include "app/session.h"
#include "contest_texts.h"
#include "edi/edi_file.h"
#include "edi/edi_text.h"
#include "form/windows1252.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"

namespace {

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

std::string headerBuffer(int count) {
  return vantor::bench::ediHeaderText(std::to_string(count + 1));
}

void EdiTextOfQsoLines(benchmark::State& state) {
  const std::string header = headerBuffer(contacts(state));
  const std::string log = vantor::bench::qsoLines(contacts(state));
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantor::buildEdiText(header, log));
  }
}
BENCHMARK(EdiTextOfQsoLines)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The second export: the buffer holds the earlier export and a contact behind its end line.
void EdiTextAfterEarlierExport(benchmark::State& state) {
  const std::string header = headerBuffer(contacts(state));
  const std::string log = vantor::bench::ediFileText(contacts(state)) +
                          vantor::bench::qsoLine(contacts(state), "QQ9ZZZ");
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantor::buildEdiText(header, log));
  }
}
BENCHMARK(EdiTextAfterEarlierExport)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The EDI text in the file's code page.
void EdiEncoding(benchmark::State& state) {
  const std::string text = vantor::bench::ediFileText(contacts(state));
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantor::toWindows1252(text));
  }
}
BENCHMARK(EdiEncoding)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The baseline of the encoding: the same text copied.
void PlainTextCopy(benchmark::State& state) {
  const std::string text = vantor::bench::ediFileText(contacts(state));
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(PlainTextCopy)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// A session with both screens filled and the log of `count` contacts, exporting into `folder`.
class ExportingContest {
 public:
  ExportingContest(int count, const std::filesystem::path& folder) {
    dialogs.recording = false;
    dialogs.whileShown = [this](const vantor::Message& message) { failure = message.text; };
    session.setEdiFolder(vantor::EdiFolder{folder});
    vantor::testing::fillRequiredHeader(session.header());
    session.header().proceedButton.press();
    session.log().logBuffer().setText(vantor::bench::qsoLines(count));
  }

  vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  vantor::testing::RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
  std::string failure;
};

// The plainest code for an export's file: the same bytes written to a temporary file, synced,
// closed and renamed over the file, and with `syncFolder` the folder synced after. Returns the
// seconds it took.
double writeSyncRename(const std::string& bytes, const std::filesystem::path& path,
                       bool syncFolder) {
  const auto started = std::chrono::steady_clock::now();
  const std::string temporary = path.string() + ".tmp";
  const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  benchmark::DoNotOptimize(::write(file, bytes.data(), bytes.size()));
  ::fsync(file);
  ::close(file);
  std::rename(temporary.c_str(), path.c_str());
  if (syncFolder) {
    const int folder = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(folder);
    ::close(folder);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

double secondsOf(const std::function<void()>& work) {
  const auto started = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// "Genera EDI" pressed again with the log unchanged: the text built from both screens, encoded,
// written to a temporary file synced to the disk, renamed over the file, the folder synced and
// the log buffer given the EDI text. One export first, so each timed one starts from the same
// buffer. The disk's sync time swings with whatever else writes to it, so the baseline, the
// plainest write + fsync + rename of the same bytes (plain_ms), runs in turn with the export:
// ratio is the export's time over it, ratio_folder the same over the baseline with the folder
// sync the export also does.
void EdiExport(benchmark::State& state) {
  const vantor::testing::TempFolder folder;
  ExportingContest contest(contacts(state), folder.path());
  vantor::exportEdi(contest.session);
  const std::string bytes =
      vantor::testing::readBytes(vantor::ediFilePath(folder.path(), "01", "QQ9XYZ"));
  const auto plainPath = folder.path() / "plain.edi";
  double exporting = 0;
  double plain = 0;
  double plainWithFolder = 0;
  for (auto _ : state) {
    const double seconds = secondsOf([&contest] { vantor::exportEdi(contest.session); });
    state.SetIterationTime(seconds);
    exporting += seconds;
    plain += writeSyncRename(bytes, plainPath, false);
    plainWithFolder += writeSyncRename(bytes, plainPath, true);
    if (!contest.failure.empty()) {
      state.SkipWithError(contest.failure.c_str());
      break;
    }
  }
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["plain_ms"] = plain * 1e3 / static_cast<double>(state.iterations());
  state.counters["ratio"] = exporting / plain;
  state.counters["ratio_folder"] = exporting / plainWithFolder;
}
BENCHMARK(EdiExport)
    ->Apply(vantor::bench::logSizes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The first keystroke in the call field after "Genera EDI" wrote a log that gained a contact
// since the export before: the duplicate index follows the export's changes of the log text
// instead of reading all of it again. The contact and the export are untimed.
void CallKeystrokeAfterExport(benchmark::State& state) {
  const vantor::testing::TempFolder folder;
  ExportingContest contest(contacts(state), folder.path());
  vantor::LogForm& log = contest.session.log();
  vantor::exportEdi(contest.session);
  // The log was set whole: the first keystroke reads it once, before the timed ones.
  log.callsignField.edit(vantor::bench::kTypicalCall[1], vantor::bench::kTypicalCall[1].size());
  std::size_t next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    log.logBuffer().append("261207;1500;QQ2DEF;1;59;002;59;006;;JN61FU;349;;N;;\r\n");
    vantor::exportEdi(contest.session);
    state.ResumeTiming();
    const std::string_view call = vantor::bench::kTypicalCall[next];
    log.callsignField.edit(call, call.size());
    next = 1 - next;
  }
  if (!contest.failure.empty()) {
    state.SkipWithError(contest.failure.c_str());
  }
}
BENCHMARK(CallKeystrokeAfterExport)
    ->Apply(vantor::bench::logSizes)
    ->Iterations(50)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
