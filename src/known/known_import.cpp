#include "known/known_import.h"

#include <algorithm>

#include "contest/contact_rules.h"
#include "edi/edi_sections.h"
#include "form/text.h"
#include "known/known_lines.h"
#include "known/known_parsers.h"
#include "known/known_rules.h"

namespace vantor {

namespace {

// The call list's own file name.
constexpr std::string_view kCallListName = "MASTER.SCP";
// How many bad lines a report names.
constexpr std::size_t kReportedBadLines = 3;

// What the lines of a file look like, but for comments and blank lines.
struct FileShape {
  bool orderLine = false;
  std::size_t lines = 0;
  std::size_t oneWordLines = 0;
  bool callAndLocator = false;  // a line starts with a call and its locator
};

FileShape shapeOf(std::string_view bytes) {
  FileShape shape;
  forEachFileLine(bytes, [&shape](std::string_view line, std::size_t) {
    shape.orderLine = shape.orderLine || isOrderLine(line);
    if (isSkippedLine(line)) {
      return;
    }
    ++shape.lines;
    std::string_view rest = line;
    const std::string_view call = nextWord(rest);
    const std::string_view locator = nextWord(rest);
    if (locator.empty()) {
      ++shape.oneWordLines;
    } else if (!shape.callAndLocator) {
      shape.callAndLocator = isKnownCall(normalizedCall(call)) && isKnownLocator(toUpper(locator));
    }
  });
  return shape;
}

bool isCallListName(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::string_view name =
      slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  return toUpper(name) == kCallListName;
}

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  if (count == 0) {
    return "nessuna " + std::string(one);
  }
  return count == 1 ? "1 " + std::string(one) : grouped(count) + " " + std::string(many);
}

std::string badLinesText(const std::vector<BadLine>& bad) {
  std::string text;
  const std::size_t named = std::min(bad.size(), kReportedBadLines);
  for (std::size_t index = 0; index < named; ++index) {
    text += (index == 0 ? " (riga " : "; riga ") + std::to_string(bad[index].number) + ": " +
            bad[index].reason;
  }
  return text + (bad.size() > named ? "; …)" : ")");
}

}  // namespace

std::optional<ImportFormat> detectFormat(std::string_view fileName, std::string_view bytes) {
  if (withoutByteOrderMark(bytes).starts_with(ediFirstLinePrefix)) {
    return ImportFormat::Edi;
  }
  const FileShape shape = shapeOf(bytes);
  if (shape.orderLine) {
    return ImportFormat::CallHistory;
  }
  if (isCallListName(fileName) || (shape.lines > 0 && shape.oneWordLines == shape.lines)) {
    return ImportFormat::CallList;
  }
  if (shape.callAndLocator) {
    return ImportFormat::CallLocatorList;
  }
  return std::nullopt;
}

ImportBatch parseKnownStations(ImportFormat format, std::string_view bytes) {
  switch (format) {
    case ImportFormat::Edi:
      return readEdiStations(bytes);
    case ImportFormat::CallHistory:
      return readCallHistory(bytes);
    case ImportFormat::CallLocatorList:
      return readCallLocatorList(bytes);
    case ImportFormat::CallList:
      return readCallList(bytes);
  }
  return {};
}

std::string importReport(std::string_view fileName, const ImportBatch& batch) {
  std::string text = messageQuote(fileName) + ": " +
                     counted(batch.stations.size(), "stazione", "stazioni") + ", " +
                     counted(batch.bad.size(), "riga scartata", "righe scartate");
  return batch.bad.empty() ? text : text + badLinesText(batch.bad);
}

std::string grouped(std::size_t count) {
  const std::string digits = std::to_string(count);
  std::string text;
  for (std::size_t at = 0; at < digits.size(); ++at) {
    if (at > 0 && (digits.size() - at) % 3 == 0) {
      text += '.';
    }
    text += digits[at];
  }
  return text;
}

}  // namespace vantor
