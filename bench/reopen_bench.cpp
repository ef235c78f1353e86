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
#include "form/windows1252.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

// A temporary folder holding the EDI file of `count` contacts, removed afterwards.
class EdiFixture {
 public:
  explicit EdiFixture(int count) {
    std::random_device random;
    m_folder = std::filesystem::temp_directory_path() /
               ("vantor-reopen-bench-" + std::to_string(random()));
    std::filesystem::create_directories(m_folder);
    m_path = vantor::ediFilePath(m_folder, "01", "QQ9XYZ");
    if (vantor::saveEdiFile(m_path, vantor::bench::ediFileText(count))) {
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
void EdiReopen(benchmark::State& state) {
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
    benchmark::DoNotOptimize(session.log().logBuffer().text().data());
  }
}
BENCHMARK(EdiReopen)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The plainest code for the same reading: the file line by line, each line converted to UTF-8.
void PlainLineRead(benchmark::State& state) {
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
BENCHMARK(PlainLineRead)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

}  // namespace
