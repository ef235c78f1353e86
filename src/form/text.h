#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

// What a list or a calculator field shows while it holds no value.
inline constexpr std::string_view kPlaceholder = "...";

// The end of a line in the log buffer and in the EDI file.
inline constexpr std::string_view kLineEnd = "\r\n";

// Appends the parts and then a line end.
template <typename... Parts>
void appendLine(std::string& text, const Parts&... parts) {
  (text.append(parts), ...);
  text.append(kLineEnd);
}

// One edit of a text: the `removed` bytes from `at` give way to `inserted`.
struct TextEdit {
  std::size_t at = 0;
  std::size_t removed = 0;
  std::string inserted;
};

// The text with the edits made, which stand in the text's order and apart from each other; one
// copy of the text.
[[nodiscard]] std::string editedText(std::string_view text, std::span<const TextEdit> edits);

// Calls `visit(line)` for each line of a text whose lines end with CR LF, without its line end; a
// last line without one included.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find(kLineEnd, from), text.size());
    visit(text.substr(from, end - from));
    from = end + kLineEnd.size();
  }
}

// Upper case of a UTF-8 text: ASCII letters and the letters of Latin-1 / Windows-1252 (à→À,
// ÿ→Ÿ, š→Š, œ→Œ, ž→Ž). Everything else, ß and bytes that are not valid UTF-8 included, stays.
[[nodiscard]] std::string toUpper(std::string_view text);

// The number of characters (code points) of a UTF-8 text; a stray byte counts as one.
[[nodiscard]] std::size_t charCount(std::string_view text);

// The most characters of a path or a value that a message quotes.
inline constexpr std::size_t kLongestQuote = 200;

// A path or a value as a message quotes it: whole up to kLongestQuote characters, else its first
// and last characters on either side of "…", kLongestQuote characters in all.
[[nodiscard]] std::string messageQuote(std::string_view text);

// The numeric value of a field text: blanks are ignored wherever they stand, then the longest
// leading decimal number is read (optional sign, digits, optional "." and fraction). A text
// without a leading number reads as 0; a number too large for a double reads as its limit.
[[nodiscard]] double numericValue(std::string_view text);

// A number as a field shows it: the shortest decimal form, no blanks, no grouping, and no
// decimal point for a whole number ("123", "-2.5").
[[nodiscard]] std::string formatNumber(double value);

// The texts between the ";" of a line; nothing when there are not exactly `count` of them.
template <std::size_t count>
[[nodiscard]] std::optional<std::array<std::string_view, count>> splitFields(
    std::string_view text) {
  std::array<std::string_view, count> fields;
  for (std::size_t index = 0; index + 1 < count; ++index) {
    const auto separator = text.find(';');
    if (separator == std::string_view::npos) {
      return std::nullopt;
    }
    fields[index] = text.substr(0, separator);
    text.remove_prefix(separator + 1);
  }
  if (text.find(';') != std::string_view::npos) {
    return std::nullopt;
  }
  fields.back() = text;
  return fields;
}

}  // namespace vantor
