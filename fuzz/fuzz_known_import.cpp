// Any bytes as a file to import, under the call list's name and under another: the detection and
// every format's parser read them to the end, every station they give is one the store may keep,
// and the bad lines stand in the file, each once and in order.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check.h"
#include "edi/edi_sections.h"
#include "form/text.h"
#include "form/utf8.h"
#include "known/known_import.h"
#include "known/known_rules.h"

namespace {

using namespace vantor;

constexpr ImportFormat kFormats[] = {ImportFormat::Edi, ImportFormat::CallHistory,
                                     ImportFormat::CallLocatorList, ImportFormat::CallList};

bool isUtf8(std::string_view text) {
  bool wellFormed = true;
  forEachCharacter(text, [&wellFormed](std::optional<char32_t> codePoint, std::string_view) {
    wellFormed = wellFormed && codePoint.has_value();
  });
  return wellFormed;
}

bool isDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void checkStation(const KnownStation& station) {
  FUZZ_CHECK(isKnownCall(station.call));
  FUZZ_CHECK(toUpper(station.call) == station.call);
  FUZZ_CHECK(station.locator.empty() || isKnownLocator(station.locator));
  FUZZ_CHECK(toUpper(station.locator) == station.locator);
  FUZZ_CHECK(station.lastSeen.empty() ||
             (station.lastSeen.size() == 8 && isDigits(station.lastSeen)));
  FUZZ_CHECK(isUtf8(station.bands));
}

void checkBatch(const ImportBatch& batch, std::size_t lineCount) {
  for (const KnownStation& station : batch.stations) {
    checkStation(station);
  }
  std::size_t previous = 0;
  for (const BadLine& line : batch.bad) {
    FUZZ_CHECK(line.number > previous && line.number <= lineCount);
    FUZZ_CHECK(!line.reason.empty() && isUtf8(line.reason));
    previous = line.number;
  }
  FUZZ_CHECK(isUtf8(importReport("file.txt", batch)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // A file's last line may lack its LF, and an empty file is read as one empty line.
  const std::size_t lineCount = fuzz::countOf(bytes, "\n") + 1;
  FUZZ_CHECK(detectFormat("MASTER.SCP", bytes).has_value());
  const auto format = detectFormat("file.txt", bytes);
  if (format == ImportFormat::Edi) {
    FUZZ_CHECK(bytes.find(ediFirstLinePrefix) <= 3);
  }
  for (const ImportFormat each : kFormats) {
    checkBatch(parseKnownStations(each, bytes), lineCount);
  }
  return 0;
}
