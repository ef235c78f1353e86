#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The Windows-1252 byte of a character, or nothing when the code page cannot hold it.
[[nodiscard]] std::optional<unsigned char> windows1252Byte(char32_t codePoint);

// A UTF-8 text in Windows-1252, the single-byte code page of the EDI file, without a byte-order
// mark. A character the code page cannot hold becomes "?", and so does every byte that does not
// start a well-formed UTF-8 sequence.
[[nodiscard]] std::string toWindows1252(std::string_view utf8);

// Windows-1252 bytes as UTF-8 text. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become U+FFFD, the replacement character, and so "?" when encoded again.
[[nodiscard]] std::string fromWindows1252(std::string_view bytes);

}  // namespace vantor
