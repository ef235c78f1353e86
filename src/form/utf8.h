#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

struct Utf8Char {
  char32_t codePoint;
  std::size_t length;
};

// The UTF-8 sequence that starts at byte `pos`, or nothing when the bytes there are not a
// well-formed one: a stray continuation byte, a cut-off sequence, an overlong form, a surrogate
// or a value past U+10FFFF.
[[nodiscard]] std::optional<Utf8Char> decodeUtf8(std::string_view text, std::size_t pos);

// Appends the UTF-8 sequence of a character below U+10000, one to three bytes. Every character the
// program writes as UTF-8 lies there: the upper-case letters and the characters of the code page.
void appendUtf8(std::string& text, char32_t codePoint);

// One character of a text as the program counts characters: a well-formed UTF-8 sequence, or a
// single byte that is not one, which has no code point and is never split.
struct TextCharacter {
  std::optional<char32_t> codePoint;
  std::size_t length;
};

// How many bytes at the start of the text are below 0x80, the same in UTF-8, in ASCII and in the
// code page of the EDI file.
[[nodiscard]] std::size_t asciiPrefixLength(std::string_view text);

[[nodiscard]] inline bool isAscii(std::string_view text) {
  return asciiPrefixLength(text) == text.size();
}

// The character that starts at byte `pos` beyond ASCII (`pos` must be inside the text).
[[nodiscard]] TextCharacter characterBeyondAscii(std::string_view text, std::size_t pos);

// The character that starts at byte `pos` (which must be inside the text).
[[nodiscard]] inline TextCharacter characterAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  return lead < 0x80 ? TextCharacter{lead, 1} : characterBeyondAscii(text, pos);
}

// Calls visit(codePoint, bytes) for each character of the text in order.
template <typename Visit>
void forEachCharacter(std::string_view text, Visit&& visit) {
  for (std::size_t pos = 0; pos < text.size();) {
    const TextCharacter character = characterAt(text, pos);
    visit(character.codePoint, text.substr(pos, character.length));
    pos += character.length;
  }
}

// The byte offset where character number `index` (counted from 0) starts; the text's size when
// the text has fewer characters.
[[nodiscard]] std::size_t characterStart(std::string_view text, std::size_t index);

}  // namespace vantor
