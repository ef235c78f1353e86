#include "edi/record_tally.h"

#include "form/text.h"
#include "form/utf8.h"
#include "geo/locator.h"
#include "contest/contact_rules.h"
#include "contest/qso_line.h"

namespace vantor {

namespace {

// The calculator's distance in km of a contact in `locator`, counted as the log screen counts it;
// nothing for a locator it cannot use.
std::optional<double> contactDistance(std::string_view home, std::string_view locator) {
  if (!isValidLocator(home) || !isValidLocator(locator)) {
    return std::nullopt;
  }
  const Course course = courseBetween(locatorToPoint(preparedLocator(home)),
                                      locatorToPoint(preparedLocator(locator)));
  return countedDistance(course.distance);
}

// Takes one record line into the claims; `farthest` is the ODX distance so far.
void claimRecord(Claims& claims, std::optional<double>& farthest, std::string_view line,
                 std::string_view home) {
  ++claims.recordLines;
  const auto fields = splitQsoRecord(line);
  if (!fields) {
    return;
  }
  claims.points += numericValue((*fields)[qso::points]);
  if (isDuplicateRecord(*fields)) {
    return;
  }
  ++claims.contacts;
  const auto distance = contactDistance(home, (*fields)[qso::locator]);
  if (distance && (!farthest || *distance > *farthest)) {
    farthest = distance;
    claims.odxCall = (*fields)[qso::call];
    claims.odxLocator = (*fields)[qso::locator];
    claims.odxDistance = formatNumber(*distance);
  }
}

// The end of the last CR LF of `text`, 0 without one.
std::size_t wholeLinesEnd(std::string_view text) {
  const auto lastEnd = text.rfind(kLineEnd);
  return lastEnd == std::string_view::npos ? 0 : lastEnd + kLineEnd.size();
}

}  // namespace

RecordReport reportOf(std::string_view logBuffer, std::string_view homeLocator) {
  RecordTally tally;
  return tally.reportOf(logBuffer, 0, homeLocator);
}

const RecordReport& RecordTally::reportOf(std::string_view logBuffer, std::uint64_t rewrites,
                                          std::string_view homeLocator) {
  if (!canReadOn(logBuffer, rewrites, homeLocator)) {
    startAfresh(logBuffer, homeLocator);
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
    std::size_t records = 0;
    forEachRecordPiece(line, [&](std::string_view piece) {
      ++records;
      claimRecord(count.report.claims, count.farthest, piece, m_homeLocator);
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
  const std::size_t firstLine = recordLinesStart(ediText).line;
  m_whole = m_last;
  for (BrokenRecord& broken : m_whole.report.broken) {
    broken.line = broken.line - m_firstLine + firstLine;
  }
  m_whole.nextLine = firstLine + m_whole.report.claims.recordLines;
  m_firstLine = firstLine;
  m_read = ediText.size() - ediEndLine.size();
  m_rewrites = rewrites;
}

bool RecordTally::canReadOn(std::string_view logBuffer, std::uint64_t rewrites,
                            std::string_view homeLocator) const {
  return m_started && rewrites == m_rewrites && homeLocator == m_homeLocator &&
         logBuffer.size() >= m_read &&
         (m_read == 0 || logBuffer.substr(0, m_read).ends_with(kLineEnd)) &&
         !movesRecordLinesStart(logBuffer.substr(m_read));
}

void RecordTally::startAfresh(std::string_view logBuffer, std::string_view homeLocator) {
  m_started = true;
  m_homeLocator = homeLocator;
  const RecordLinesStart start = recordLinesStart(logBuffer);
  m_read = start.offset;
  m_whole = Count{};
  m_whole.nextLine = start.line;
  m_firstLine = start.line;
}

}  // namespace vantor
