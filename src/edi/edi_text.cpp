#include "edi/edi_text.h"

#include <optional>

#include "form/text.h"
#include "form/utf8.h"
#include "geo/locator.h"
#include "log/log_rules.h"
#include "log/qso_line.h"

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

// Visits the pieces of `line` around the end lines in it, each as a line of its own; a line
// without one, an empty line too, as it stands.
void visitWithoutEndLines(std::string_view line, std::size_t number,
                          const std::function<void(std::string_view, std::size_t)>& visit) {
  if (line.find(ediEndLine) == std::string_view::npos) {
    visit(line, number);
    return;
  }
  while (true) {
    const auto end = line.find(ediEndLine);
    if (const auto piece = line.substr(0, end); !piece.empty()) {
      visit(piece, number);
    }
    if (end == std::string_view::npos) {
      return;
    }
    line.remove_prefix(end + ediEndLine.size());
  }
}

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

}  // namespace

Claims claimsOf(std::string_view logBuffer, std::string_view homeLocator) {
  Claims claims;
  std::optional<double> farthest;
  forEachRecordLine(logBuffer, [&](std::string_view line, std::size_t) {
    claimRecord(claims, farthest, line, homeLocator);
  });
  return claims;
}

std::string buildScoreLines(const Claims& claims, std::string_view comments) {
  const std::string contacts = std::to_string(claims.contacts);
  const std::string points = formatNumber(claims.points);
  std::string lines;
  appendLine(lines, "CQSOs=", contacts, ";1");
  appendLine(lines, "CQSOP=", points);
  for (const std::string_view fixed :
       {"CWWLs=28;0;1", "CWWLB=0", "CExcs=0;0;1", "CExcB=0", "CDXCs=10;0;1", "CDXCB=0"}) {
    appendLine(lines, fixed);
  }
  appendLine(lines, "CToSc=", points);
  appendLine(lines, "CODXC=", claims.odxCall, ";", claims.odxLocator, ";", claims.odxDistance);
  appendLine(lines, kRemarksLine);
  appendLine(lines, comments);
  appendLine(lines, "[QSORecords;", std::to_string(claims.recordLines), "]");
  return lines;
}

void forEachRecordLine(std::string_view logBuffer,
                       const std::function<void(std::string_view, std::size_t)>& visit) {
  const std::size_t start = earlierRecordsStart(logBuffer).value_or(0);
  std::size_t number = 1;
  forEachLine(logBuffer.substr(0, start), [&number](std::string_view) { ++number; });
  forEachLine(logBuffer.substr(start),
              [&](std::string_view line) { visitWithoutEndLines(line, number++, visit); });
}

std::vector<BrokenRecord> brokenRecords(std::string_view logBuffer) {
  constexpr std::size_t kShownCharacters = 24;
  std::vector<BrokenRecord> broken;
  forEachRecordLine(logBuffer, [&broken](std::string_view line, std::size_t number) {
    if (!isWellFormedRecord(line)) {
      broken.push_back(
          {number, std::string(line.substr(0, characterStart(line, kShownCharacters)))});
    }
  });
  return broken;
}

namespace {

// The records of `logBuffer` appended to `text`, so an export copies the buffer only once.
void appendQsoRecords(std::string& text, std::string_view logBuffer) {
  if (!earlierRecordsStart(logBuffer) && logBuffer.find(ediEndLine) == std::string_view::npos) {
    text.append(logBuffer);
    return;
  }
  forEachRecordLine(logBuffer, [&text](std::string_view line, std::size_t) {
    text.append(line).append(kLineEnd);
  });
}

}  // namespace

std::string qsoRecords(std::string_view logBuffer) {
  std::string records;
  appendQsoRecords(records, logBuffer);
  return records;
}

std::string buildEdiText(std::string_view headerBuffer, std::string_view logBuffer) {
  // The records are at most one CR LF longer than the buffer.
  std::string text;
  text.reserve(headerBuffer.size() + logBuffer.size() + kLineEnd.size() + ediEndLine.size());
  text.append(headerBuffer);
  appendQsoRecords(text, logBuffer);
  text.append(ediEndLine);
  return text;
}

}  // namespace vantor
