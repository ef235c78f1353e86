#include "edi/edi_text.h"

#include <optional>

#include "form/text.h"

namespace vantor {

namespace {

constexpr std::string_view kRemarksLine = "[Remarks]";

// The start of the first line at or after `from` (itself a line start) that begins with
// `prefix`.
std::optional<std::size_t> findLine(std::string_view text, std::string_view prefix,
                                    std::size_t from) {
  if (text.substr(from).starts_with(prefix)) {
    return from;
  }
  std::string needle(kLineEnd);
  needle += prefix;
  const auto found = text.find(needle, from);
  if (found == std::string_view::npos) {
    return std::nullopt;
  }
  return found + kLineEnd.size();
}

// The start of the line after the one starting at `lineStart`, or the text's end.
std::size_t nextLine(std::string_view text, std::size_t lineStart) {
  const auto end = text.find(kLineEnd, lineStart);
  return end == std::string_view::npos ? text.size() : end + kLineEnd.size();
}

// Where the QSO lines of an earlier export start: behind its "[QSORecords;" line. The search
// begins behind "[Remarks]" and the comments line, so comments that look like a records line
// cannot be taken for one.
std::optional<std::size_t> earlierRecordsStart(std::string_view logBuffer) {
  std::size_t from = 0;
  if (const auto remarks =
          findLine(logBuffer, std::string(kRemarksLine) + std::string(kLineEnd), 0)) {
    from = nextLine(logBuffer, nextLine(logBuffer, *remarks));
  }
  const auto records = findLine(logBuffer, "[QSORecords;", from);
  if (!records) {
    return std::nullopt;
  }
  return nextLine(logBuffer, *records);
}

// Adds `line` without the end lines in it; each piece around them becomes a line of its own.
void addWithoutEndLines(std::string& records, std::string_view line) {
  while (true) {
    const auto end = line.find(ediEndLine);
    const auto piece = line.substr(0, end);
    if (!piece.empty()) {
      records.append(piece).append(kLineEnd);
    }
    if (end == std::string_view::npos) {
      return;
    }
    line.remove_prefix(end + ediEndLine.size());
  }
}

}  // namespace

std::string buildScoreLines(const ScoreTexts& texts) {
  const std::string count = formatNumber(numericValue(texts.serialSent) - 1);
  std::string lines;
  appendLine(lines, "CQSOs=", count, ";1");
  appendLine(lines, "CQSOP=", texts.total);
  for (const std::string_view fixed :
       {"CWWLs=28;0;1", "CWWLB=0", "CExcs=0;0;1", "CExcB=0", "CDXCs=10;0;1", "CDXCB=0"}) {
    appendLine(lines, fixed);
  }
  appendLine(lines, "CToSc=", texts.total);
  appendLine(lines, "CODXC=", texts.odxCall, ";", texts.odxLocator, ";", texts.odxDistance);
  appendLine(lines, kRemarksLine);
  appendLine(lines, texts.comments);
  appendLine(lines, "[QSORecords;", count, "]");
  return lines;
}

std::string qsoRecords(std::string_view logBuffer) {
  const auto start = earlierRecordsStart(logBuffer);
  if (!start && logBuffer.find(ediEndLine) == std::string_view::npos) {
    return std::string(logBuffer);
  }
  std::string records;
  records.reserve(logBuffer.size());
  std::size_t pos = start.value_or(0);
  while (pos < logBuffer.size()) {
    const auto end = logBuffer.find(kLineEnd, pos);
    const auto line = logBuffer.substr(pos, end - pos);
    if (line.find(ediEndLine) == std::string_view::npos) {
      records.append(line).append(kLineEnd);
    } else {
      addWithoutEndLines(records, line);
    }
    pos = end == std::string_view::npos ? logBuffer.size() : end + kLineEnd.size();
  }
  return records;
}

std::string buildEdiText(std::string_view headerBuffer, std::string_view logBuffer) {
  const std::string records = qsoRecords(logBuffer);
  std::string text;
  text.reserve(headerBuffer.size() + records.size() + ediEndLine.size());
  text.append(headerBuffer).append(records).append(ediEndLine);
  return text;
}

}  // namespace vantor
