#include "edi/record_tally.h"

#include <algorithm>

#include "contest/contact.h"
#include "form/text.h"
#include "form/utf8.h"

namespace vantor {

namespace {

// The end of the last CR LF of `text`, 0 without one.
std::size_t wholeLinesEnd(std::string_view text) {
  const auto lastEnd = text.rfind(kLineEnd);
  return lastEnd == std::string_view::npos ? 0 : lastEnd + kLineEnd.size();
}

}  // namespace

Claims claimsOf(const RecordReport& report, std::string_view logBuffer, LogDocument& document,
                std::string_view home) {
  document.setHome(home);
  Statistics statistics = document.statistics();
  const std::span<const LogLine> lines = document.lines();
  const auto recordsStart =
      lines.begin() + static_cast<std::ptrdiff_t>(document.lineAt(report.recordsOffset));
  if (report.recordsBesideEndLine ||
      std::any_of(lines.begin(), recordsStart,
                  [](const LogLine& line) { return line.isRecord(); })) {
    Field written("Text15", qsoRecords(logBuffer), Field::Lines::Multi);
    LogDocument scored(written);
    scored.setHome(home);
    statistics = scored.statistics();
  }
  return Claims{.recordLines = report.recordLines,
                .contacts = statistics.contacts,
                .points = statistics.points,
                .odxCall = statistics.odxCall,
                .odxLocator = statistics.odxLocator,
                .odxDistance = statistics.odxDistance,
                .squares = statistics.squares};
}

RecordReport reportOf(std::string_view logBuffer) {
  RecordTally tally;
  return tally.reportOf(logBuffer, 0);
}

const RecordReport& RecordTally::reportOf(std::string_view logBuffer, std::uint64_t rewrites) {
  if (!canReadOn(logBuffer, rewrites)) {
    startAfresh(logBuffer);
  }
  m_rewrites = rewrites;
  const std::string_view added = logBuffer.substr(m_read);
  const std::size_t whole = wholeLinesEnd(added);
  read(m_whole, added.substr(0, whole), true);
  m_read += whole;
  m_last = m_whole;
  read(m_last, added.substr(whole), false);
  return m_last.report;
}

// `ended` tells whether the last line is ended by CR LF: one that is not may still grow, and so
// may give no record yet.
void RecordTally::read(Count& count, std::string_view lines, bool ended) const {
  constexpr std::size_t kShownCharacters = 24;
  forEachLine(lines, [&](std::string_view line) {
    count.report.recordsBesideEndLine =
        count.report.recordsBesideEndLine ||
        (line.size() > ediEndLine.size() && line.find(ediEndLine) != std::string_view::npos);
    std::size_t records = 0;
    forEachRecordPiece(line, [&](std::string_view piece) {
      ++records;
      ++count.report.recordLines;
      if (!isWellFormedRecord(piece)) {
        count.report.broken.push_back(
            {count.nextLine,
             std::string(piece.substr(0, characterStart(piece, kShownCharacters)))});
      }
    });
    count.oneRecordPerLine = count.oneRecordPerLine && (records == 1 || (!ended && records == 0));
    ++count.nextLine;
  });
}

void RecordTally::exported(std::string_view ediText, std::uint64_t rewrites) {
  // Each record then stands on a line of its own behind the header, and the end line last.
  if (!m_started || !m_last.oneRecordPerLine ||
      ediText.substr(wholeLinesEnd(ediText)) != ediEndLine) {
    m_started = false;
    return;
  }
  const RecordLinesStart start = recordLinesStart(ediText);
  const std::size_t firstLine = start.line;
  m_whole = m_last;
  m_whole.report.recordsBesideEndLine = false;
  for (BrokenRecord& broken : m_whole.report.broken) {
    broken.line = broken.line - m_firstLine + firstLine;
  }
  m_whole.nextLine = firstLine + m_whole.report.recordLines;
  m_whole.report.recordsOffset = start.offset;
  m_firstLine = firstLine;
  m_read = ediText.size() - ediEndLine.size();
  m_rewrites = rewrites;
}

bool RecordTally::canReadOn(std::string_view logBuffer, std::uint64_t rewrites) const {
  return m_started && rewrites == m_rewrites && logBuffer.size() >= m_read &&
         (m_read == 0 || logBuffer.substr(0, m_read).ends_with(kLineEnd)) &&
         !movesRecordLinesStart(logBuffer.substr(m_read));
}

void RecordTally::startAfresh(std::string_view logBuffer) {
  m_started = true;
  const RecordLinesStart start = recordLinesStart(logBuffer);
  m_read = start.offset;
  m_whole = Count{};
  m_whole.report.recordsOffset = start.offset;
  m_whole.nextLine = start.line;
  m_firstLine = start.line;
}

}  // namespace vantor
