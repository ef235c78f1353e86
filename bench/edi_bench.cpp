#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"

namespace {

constexpr int contactCount = 10000;

// A log buffer of 10,000 QsoLines, about 550 KB.
std::string bigLog() {
  std::string log;
  for (int i = 0; i < contactCount; ++i) {
    std::string serial = std::to_string(i + 1);
    serial.insert(0, serial.size() < 3 ? 3 - serial.size() : 0, '0');
    std::string call = "QQ0AAA";
    call[2] = static_cast<char>('0' + i % 10);
    call[3] = static_cast<char>('A' + i / 10 % 26);
    call[4] = static_cast<char>('A' + i / 260 % 26);
    log.append("261207;1432;").append(call).append(";1;59;").append(serial);
    log.append(";59;").append(serial).append(";;JN80XX;");
    log.append(std::to_string(100 + i % 1900)).append(";;N;;\r\n");
  }
  return log;
}

std::string headerBuffer() {
  vantor::StationHeader header;
  header.callsign = "QQ9XYZ";
  header.locator = "JN70AA";
  header.contest = "Contest IARU Reg. I VHF";
  header.category = "Singolo Operatore";
  header.band = "144 Mhz";
  header.city = "CITTÀ";
  const auto pieces = vantor::buildHeaderSection(header, "20261207", "20261207", "01");
  return pieces[0] + pieces[1] + pieces[2] +
         vantor::buildScoreLines({"10001", "4990000", "QQ1ABC", "JN80XX", "999", "Commento è"});
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
