#pragma once

#include <cstddef>
#include <optional>
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

}  // namespace vantor
