#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/log_document.h"
#include "edi/edi_text.h"

namespace vantor {

// A line that goes into the file as a record but is not a well-formed one.
struct BrokenRecord {
  std::size_t line;   // the log buffer's line, counted from 1
  std::string start;  // its first characters
};

// What an export needs to know of the lines it writes as records; their score is the log's.
struct RecordReport {
  std::size_t recordLines = 0;  // every line written as a record
  std::vector<BrokenRecord> broken;
  // Some line holds a record beside an end line: the records written are not the log's lines.
  bool recordsBesideEndLine = false;
  // Where the lines written as records start: behind an earlier export's "[QSORecords;" line.
  std::size_t recordsOffset = 0;
};

// The claims of an export of `logBuffer`: the record lines of its report and the score of its
// document, measured from `home`; when records stand beside an end line or before where the
// records start (in an earlier export's header), the score of the records the file will hold.
[[nodiscard]] Claims claimsOf(const RecordReport& report, std::string_view logBuffer,
                              LogDocument& document, std::string_view home);

// The report of the records the log buffer gives (see qsoRecords).
[[nodiscard]] RecordReport reportOf(std::string_view logBuffer);

// The report kept from one export to the next. While the operator logs, the buffer only grows, so
// the tally reads again only what was added behind the last whole line it read. Any rewrite of the
// text, or a line that could move where the records start, makes it read the
// whole buffer again.
class RecordTally {
 public:
  // The report of `logBuffer`, whose field has rewritten its text `rewrites` times.
  const RecordReport& reportOf(std::string_view logBuffer, std::uint64_t rewrites);

  // The buffer last reported now holds `ediText`, its export, after `rewrites` rewrites: the same
  // records behind a new header, so only the broken lines' numbers move.
  void exported(std::string_view ediText, std::uint64_t rewrites);

 private:
  // The report of the lines read so far.
  struct Count {
    RecordReport report;
    std::size_t nextLine = 1;      // the number of the next buffer line
    bool oneRecordPerLine = true;  // each line read gave exactly one record
  };

  [[nodiscard]] bool canReadOn(std::string_view logBuffer, std::uint64_t rewrites) const;
  void read(Count& count, std::string_view lines, bool ended) const;
  void startAfresh(std::string_view logBuffer);

  bool m_started = false;
  std::uint64_t m_rewrites = 0;
  std::size_t m_firstLine = 1;  // the number of the first record line
  std::size_t m_read = 0;       // the bytes behind which `m_whole` holds every whole line
  Count m_whole;
  Count m_last;  // `m_whole` and the last line, not ended by CR LF, of the text last reported
};

}  // namespace vantor
