#include "edi/edi_text.h"

#include <optional>

#include "contest/contact.h"
#include "contest/contact_rules.h"
#include "form/text.h"
#include "form/utf8.h"
#include "geo/locator.h"

namespace vantor {

namespace {

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
          findLine(logBuffer, std::string(ediRemarksLine) + std::string(kLineEnd), 0)) {
    from = nextLine(logBuffer, nextLine(logBuffer, *remarks));
  }
  const auto records = findLine(logBuffer, ediRecordsLinePrefix, from);
  if (!records) {
    return std::nullopt;
  }
  return nextLine(logBuffer, *records);
}

}  // namespace

void forEachRecordPiece(std::string_view line, const std::function<void(std::string_view)>& visit) {
  if (line.find(ediEndLine) == std::string_view::npos) {
    visit(line);
    return;
  }
  while (true) {
    const auto end = line.find(ediEndLine);
    if (const auto piece = line.substr(0, end); !piece.empty()) {
      visit(piece);
    }
    if (end == std::string_view::npos) {
      return;
    }
    line.remove_prefix(end + ediEndLine.size());
  }
}

std::string buildScoreLines(const Claims& claims, std::string_view comments) {
  const std::string contacts = std::to_string(claims.contacts);
  const std::string points = formatNumber(claims.points);
  std::string lines;
  appendLine(lines, "CQSOs=", contacts, ";1");
  appendLine(lines, "CQSOP=", points);
  appendLine(lines, "CWWLs=", std::to_string(claims.squares), ";0;1");
  for (const std::string_view fixed :
       {"CWWLB=0", "CExcs=0;0;1", "CExcB=0", "CDXCs=10;0;1", "CDXCB=0"}) {
    appendLine(lines, fixed);
  }
  appendLine(lines, "CToSc=", points);
  appendLine(lines, "CODXC=", claims.odxCall, ";", claims.odxLocator, ";", claims.odxDistance);
  appendLine(lines, ediRemarksLine);
  appendLine(lines, comments);
  appendLine(lines, ediRecordsLinePrefix, std::to_string(claims.recordLines), "]");
  return lines;
}

RecordLinesStart recordLinesStart(std::string_view logBuffer) {
  RecordLinesStart start{.offset = earlierRecordsStart(logBuffer).value_or(0), .line = 1};
  forEachLine(logBuffer.substr(0, start.offset), [&start](std::string_view) { ++start.line; });
  return start;
}

bool movesRecordLinesStart(std::string_view added) {
  return added.find(ediRemarksLine) != std::string_view::npos ||
         added.find(ediRecordsLinePrefix) != std::string_view::npos;
}

namespace {

// The edit that puts the pieces of the line from `lineStart` that holds the end line at `endLine`
// on lines of their own, each ended by CR LF.
TextEdit endLineSplit(std::string_view logBuffer, std::size_t lineStart, std::size_t endLine) {
  const auto lineEnd = logBuffer.find(kLineEnd, endLine);
  const std::size_t next =
      lineEnd == std::string_view::npos ? logBuffer.size() : lineEnd + kLineEnd.size();
  TextEdit edit{.at = lineStart, .removed = next - lineStart, .inserted = {}};
  forEachRecordPiece(
      logBuffer.substr(lineStart, lineEnd - lineStart),
      [&edit](std::string_view piece) { edit.inserted.append(piece).append(kLineEnd); });
  return edit;
}

// The edits that make the buffer's text its QSO records (see qsoRecords), in the text's order:
// the first takes out what stands before them, an earlier export's header or nothing.
std::vector<TextEdit> recordEdits(std::string_view logBuffer) {
  const auto start = earlierRecordsStart(logBuffer);
  std::vector<TextEdit> edits{{.at = 0, .removed = start.value_or(0), .inserted = {}}};
  if (!start && logBuffer.find(ediEndLine) == std::string_view::npos) {
    return edits;
  }
  for (std::size_t from = start.value_or(0); from < logBuffer.size();) {
    const auto endLine = logBuffer.find(ediEndLine, from);
    if (endLine == std::string_view::npos) {
      if (!logBuffer.ends_with(kLineEnd)) {
        edits.push_back({.at = logBuffer.size(), .removed = 0, .inserted = std::string(kLineEnd)});
      }
      break;
    }
    // An end line holds no line break, so it lies inside one line.
    const auto lineBreak = logBuffer.substr(from, endLine - from).rfind(kLineEnd);
    const std::size_t lineStart =
        lineBreak == std::string_view::npos ? from : from + lineBreak + kLineEnd.size();
    edits.push_back(endLineSplit(logBuffer, lineStart, endLine));
    from = edits.back().at + edits.back().removed;
  }
  return edits;
}

}  // namespace

std::string qsoRecords(std::string_view logBuffer) {
  return editedText(logBuffer, recordEdits(logBuffer));
}

std::vector<TextEdit> ediTextEdits(std::string_view headerBuffer, std::string_view logBuffer) {
  std::vector<TextEdit> edits = recordEdits(logBuffer);
  edits.front().inserted = headerBuffer;
  // The end line joins an insertion that already stands at the buffer's end.
  if (TextEdit& last = edits.back(); last.at == logBuffer.size() && last.removed == 0) {
    last.inserted += ediEndLine;
  } else {
    edits.push_back({.at = logBuffer.size(), .removed = 0, .inserted = std::string(ediEndLine)});
  }
  return edits;
}

std::string buildEdiText(std::string_view headerBuffer, std::string_view logBuffer) {
  return editedText(logBuffer, ediTextEdits(headerBuffer, logBuffer));
}

}  // namespace vantor
