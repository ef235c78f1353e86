#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contact.h"

namespace vantor {

// A "key=value" line of an EDI file's header section.
struct EdiHeaderLine {
  std::string key;
  std::string value;
  std::size_t line;  // counted from 1
};

// What no EDI file holds: a value (of a header line, the remarks line or a field of a record)
// longer than this many characters, or a line longer than kLongestEdiLine. A file that does is
// refused whole, so no file can keep the program busy or fill its memory.
inline constexpr std::size_t kLongestEdiValue = 4096;
inline constexpr std::size_t kLongestEdiLine = 65536;

// The first line of a file past those lengths.
struct EdiRefusal {
  std::size_t line;  // counted from 1
  bool wholeLine;    // the line is too long, not only a value in it
};

// An EDI file as its lines read, in UTF-8.
struct EdiContent {
  std::vector<EdiHeaderLine> header;
  // The line after "[Remarks]".
  std::string remarks;
  // The file's lines before its end line, each ended by CR LF, then this program's end line: the
  // log buffer's text after the export that wrote such a file. Empty for a file without a
  // "[QSORecords;" line, which holds no log.
  std::string logText;
  // Where the QSO records (the lines after "[QSORecords;N]") lie in logText.
  std::size_t recordsBegin = 0;
  std::size_t recordsEnd = 0;
  // The file's line (counted from 1) of each line of records(), in order: a line split around an
  // end line gives several.
  std::vector<std::size_t> recordLines;
  // The lines that are none of the above, a QSO record of the wrong shape included, in order.
  std::vector<std::size_t> unreadLines;
  // A file that holds a value or a line past the longest is read no further.
  std::optional<EdiRefusal> refusal;

  [[nodiscard]] std::string_view records() const {
    return std::string_view(logText).substr(recordsBegin, recordsEnd - recordsBegin);
  }
};

// The bytes of an EDI file (Windows-1252, lines ended by CR LF or LF). Nothing when the first
// line is not a "[REG1TEST;" line.
[[nodiscard]] std::optional<EdiContent> readEdiText(std::string_view bytes);

}  // namespace vantor
