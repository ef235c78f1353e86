#include "form/utf8.h"

#include <cstdint>
#include <cstring>

namespace vantor {

// Eight bytes at a time while no byte of the eight has its high bit set.
std::size_t asciiPrefixLength(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080U;
  std::size_t length = 0;
  for (std::uint64_t word = 0; length + sizeof word <= text.size(); length += sizeof word) {
    std::memcpy(&word, text.data() + length, sizeof word);
    if ((word & kHighBits) != 0) {
      break;
    }
  }
  while (length < text.size() && static_cast<unsigned char>(text[length]) < 0x80) {
    ++length;
  }
  return length;
}

std::optional<Utf8Char> decodeUtf8(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    return Utf8Char{lead, 1};
  }
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < length) {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      return std::nullopt;
    }
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < smallest || codePoint > 0x10FFFF || surrogate) {
    return std::nullopt;
  }
  return Utf8Char{codePoint, length};
}

void appendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

TextCharacter characterBeyondAscii(std::string_view text, std::size_t pos) {
  const auto decoded = decodeUtf8(text, pos);
  return decoded ? TextCharacter{decoded->codePoint, decoded->length} : TextCharacter{{}, 1};
}

std::size_t characterStart(std::string_view text, std::size_t index) {
  std::size_t pos = 0;
  for (; index > 0 && pos < text.size(); --index) {
    pos += characterAt(text, pos).length;
  }
  return pos;
}

}  // namespace vantor
