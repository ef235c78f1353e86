#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "known/known_station.h"

namespace vantor {

// What every import parser shares: a file's lines and words, and the batch that keeps a line's
// station or tells why the line gives none.

// The bytes without the UTF-8 byte-order mark they may start with.
[[nodiscard]] std::string_view withoutByteOrderMark(std::string_view bytes);

// Calls `visit(line, number)` for each line of a file (number counted from 1), without its LF or
// CR LF; a last line without LF included, a byte-order mark at the start skipped.
template <typename Visit>
void forEachFileLine(std::string_view bytes, Visit visit) {
  bytes = withoutByteOrderMark(bytes);
  std::size_t number = 0;
  for (std::size_t from = 0; from < bytes.size();) {
    const std::size_t newline = std::min(bytes.find('\n', from), bytes.size());
    std::string_view line = bytes.substr(from, newline - from);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    visit(line, ++number);
    from = newline + 1;
  }
}

// The text without the blanks and tabs around it.
[[nodiscard]] std::string_view trimmed(std::string_view text);

// The first word of `rest` (words stand between blanks and tabs), which then holds what follows
// it; empty when no word is left.
[[nodiscard]] std::string_view nextWord(std::string_view& rest);

// Whether a line gives nothing to read: blank, or a comment, whose first character but blanks is
// "#".
[[nodiscard]] bool isSkippedLine(std::string_view line);

// A text of a file as UTF-8: as it stands when it is UTF-8, else read as Windows-1252.
[[nodiscard]] std::string asUtf8(std::string_view text);

// A text of a file as a bad line's reason quotes it: UTF-8, shortened as messages quote.
[[nodiscard]] std::string quotedText(std::string_view text);

// The stations and bad lines of one file as a parser reads it, at most one bad line per line.
class BatchBuilder {
 public:
  // Keeps a station, its call and locator trimmed and upper-cased, unless the call is missing or
  // fails isKnownCall, a locator fails isKnownLocator (an empty one is no locator), or `problem`,
  // the format's own check of the line, names one: then the line is bad for the first of those.
  void add(std::size_t line, KnownStation station, std::optional<std::string> problem = {});

  void bad(std::size_t line, std::string reason);

  [[nodiscard]] ImportBatch take() && { return std::move(m_batch); }

 private:
  ImportBatch m_batch;
};

}  // namespace vantor
