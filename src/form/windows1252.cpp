#include "form/windows1252.h"

#include <array>
#include <utility>

#include "form/utf8.h"

namespace vantor {

namespace {

// The characters that Windows-1252 keeps in 0x80..0x9F, where Latin-1 has control codes.
constexpr std::array<std::pair<char32_t, unsigned char>, 27> extraCharacters{{
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
}};

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character of a byte in 0x80..0x9F.
char32_t extraCharacter(unsigned char byte) {
  for (const auto& [character, extraByte] : extraCharacters) {
    if (extraByte == byte) {
      return character;
    }
  }
  return kReplacementCharacter;
}

}  // namespace

std::optional<unsigned char> windows1252Byte(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  for (const auto& [character, byte] : extraCharacters) {
    if (character == codePoint) {
      return byte;
    }
  }
  return std::nullopt;
}

// An EDI text is ASCII but for a few letters of the header, so the runs of ASCII between them are
// copied whole, and only the characters beyond ASCII are looked up.
std::string toWindows1252(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t ascii = asciiPrefixLength(utf8);
    bytes.append(utf8.substr(0, ascii));
    utf8.remove_prefix(ascii);
    if (utf8.empty()) {
      return bytes;
    }
    const TextCharacter character = characterBeyondAscii(utf8, 0);
    const auto byte = character.codePoint ? windows1252Byte(*character.codePoint) : std::nullopt;
    bytes += static_cast<char>(byte.value_or('?'));
    utf8.remove_prefix(character.length);
  }
  return bytes;
}

std::string fromWindows1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80) {
      text += byte;
    } else {
      appendUtf8(text, code < 0xA0 ? extraCharacter(code) : code);
    }
  }
  return text;
}

}  // namespace vantor
