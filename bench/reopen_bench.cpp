#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/edi_reopen.h"
#include "app/session.h"
#include "contest_texts.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"
#include "form/windows1252.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

// An EDI file as an export writes it, with `count` contacts of about 54 bytes each.
std::string ediFileText(int count) {
  return vantor::buildEdiText(vantor::bench::ediHeaderText(std::to_string(count + 1)),
                              vantor::bench::qsoLines(count));
}

// A temporary folder holding the EDI file of `count` contacts, removed afterwards.
class EdiFixture {
 public:
  explicit EdiFixture(int count) {
    std::random_device random;
    m_folder = std::filesystem::temp_directory_path() /
               ("vantor-reopen-bench-" + std::to_string(random()));
    std::filesystem::create_directories(m_folder);
    m_path = vantor::ediFilePath(m_folder, "01", "QQ9XYZ");
    if (vantor::saveEdiFile(m_path, ediFileText(count))) {
      m_path.clear();
    }
  }
  EdiFixture(const EdiFixture&) = delete;
  EdiFixture& operator=(const EdiFixture&) = delete;
  ~EdiFixture() { std::filesystem::remove_all(m_folder); }

  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_folder;
  std::filesystem::path m_path;
};

// The whole reopen, in a fresh session each time: reading, mapping, both screens, "Avanti -->".
void benchReopen(benchmark::State& state) {
  const EdiFixture file(static_cast<int>(state.range(0)));
  if (file.path().empty()) {
    state.SkipWithError("the EDI file could not be written");
    return;
  }
  const vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  dialogs.recording = false;
  vantor::testing::RecordingScreens screens;
  for (auto _ : state) {
    vantor::Session session(clock, dialogs, screens);
    vantor::reopenEdi(session, file.path());
    benchmark::DoNotOptimize(session.log().logBuffer.text().data());
  }
}
BENCHMARK(benchReopen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The plainest code for the same reading: the file line by line, each line converted to UTF-8.
void benchReadLinesBaseline(benchmark::State& state) {
  const EdiFixture file(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(file.path(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      lines.push_back(vantor::fromWindows1252(line));
    }
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(benchReadLinesBaseline)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
