#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/edi_export.h"
#include "app/session.h"
#include "band_logs.h"
#include "contest_texts.h"
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

// The bytes of every EDI file in `folder`.
std::vector<std::string> ediFileBytes(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".edi") {
      files.push_back(vantor::testing::readBytes(entry.path()));
    }
  }
  return files;
}

// The plainest writes of `files` into `folder` one after another, each as writeSyncRename does
// it; the seconds they took.
double writePlainly(const std::vector<std::string>& files, const std::filesystem::path& folder,
                    bool syncFolder) {
  double seconds = 0;
  for (std::size_t index = 0; index < files.size(); ++index) {
    const auto path = folder / ("plain" + std::to_string(index) + ".edi");
    seconds += writeSyncRename(files[index], path, syncFolder);
  }
  return seconds;
}

// The summed times of the exports and of their baselines.
struct ExportTimes {
  double exporting = 0;
  double plain = 0;
  double plainWithFolder = 0;
};

void countExports(benchmark::State& state, const std::vector<std::string>& files,
                  const ExportTimes& times) {
  std::size_t bytes = 0;
  for (const std::string& file : files) {
    bytes += file.size();
  }
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["plain_ms"] = times.plain * 1e3 / static_cast<double>(state.iterations());
  state.counters["ratio"] = times.exporting / times.plain;
  state.counters["ratio_folder"] = times.exporting / times.plainWithFolder;
}

// "Genera EDI" pressed again with the logs unchanged: for each band log that holds records, the
// text built from both screens, encoded, written to a temporary file synced to the disk, renamed
// over the file, the folder synced and the log buffer given the EDI text. One export first, so
// each timed one starts from the same buffers. The disk's sync time swings with whatever else
// writes to it, so the baseline, the plainest write + fsync + rename of the same files' bytes
// (plain_ms), runs in turn with the export: ratio is the export's time over it, ratio_folder the
// same over the baseline with the folder sync the export also does.
void timeExports(benchmark::State& state, ExportingContest& contest,
                 const std::filesystem::path& folder) {
  vantor::exportEdi(contest.session);
  const std::vector<std::string> files = ediFileBytes(folder);
  ExportTimes times;
  for (auto _ : state) {
    const double seconds = secondsOf([&contest] { vantor::exportEdi(contest.session); });
    state.SetIterationTime(seconds);
    times.exporting += seconds;
    times.plain += writePlainly(files, folder, false);
    times.plainWithFolder += writePlainly(files, folder, true);
    if (!contest.failure.empty()) {
      state.SkipWithError(contest.failure.c_str());
      return;
    }
  }
  countExports(state, files, times);
}

// The logged band's file alone.
void EdiExport(benchmark::State& state) {
  const vantor::testing::TempFolder folder;
  ExportingContest contest(contacts(state), folder.path());
  timeExports(state, contest, folder.path());
}
BENCHMARK(EdiExport)
    ->Apply(vantor::bench::logSizes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// With the logs of two other bands held, each of 10,000 contacts: their files are written too,
// three files in all.
void EdiExportWithTwoOtherBands(benchmark::State& state) {
  const vantor::testing::TempFolder folder;
  ExportingContest contest(contacts(state), folder.path());
  vantor::bench::fillTwoOtherBands(contest.session);
  timeExports(state, contest, folder.path());
}
BENCHMARK(EdiExportWithTwoOtherBands)
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
