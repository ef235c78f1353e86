#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "contest_texts.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"

namespace {

constexpr int contactCount = 10000;

// A log buffer of 10,000 QsoLines, about 550 KB.
std::string bigLog() {
  return vantor::bench::qsoLines(contactCount);
}

std::string headerBuffer() {
  return vantor::bench::ediHeaderText("10001");
}

void benchEdiTextOfQsoLines(benchmark::State& state) {
  const std::string header = headerBuffer();
  const std::string log = bigLog();
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantor::buildEdiText(header, log));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size()));
}
BENCHMARK(benchEdiTextOfQsoLines)->Unit(benchmark::kMillisecond);

// The second export: the buffer holds the earlier export and a contact behind its end line.
void benchEdiTextAfterEarlierExport(benchmark::State& state) {
  const std::string header = headerBuffer();
  const std::string log = vantor::buildEdiText(header, bigLog()) +
                          "261207;1800;QQ5ZZZ;1;59;10001;59;001;;JN80XX;100;;N;;\r\n";
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantor::buildEdiText(header, log));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size()));
}
BENCHMARK(benchEdiTextAfterEarlierExport)->Unit(benchmark::kMillisecond);

// Building the text and saving it: encoding, temporary file, rename.
void benchEdiExportToFile(benchmark::State& state) {
  std::random_device random;
  const auto folder =
      std::filesystem::temp_directory_path() / ("vantor-edi-bench-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  const auto path = vantor::ediFilePath(folder, "01", "QQ9XYZ");
  const std::string header = headerBuffer();
  const std::string log = bigLog();
  for (auto _ : state) {
    const std::string text = vantor::buildEdiText(header, log);
    if (const auto failure = vantor::saveEdiFile(path, text)) {
      state.SkipWithError(failure->c_str());
      break;
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(benchEdiExportToFile)->Unit(benchmark::kMillisecond);

}  // namespace
