#include "form/windows1252.h"

#include "form/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vantor {
namespace {

struct EncodingCase {
  std::string utf8;
  std::string bytes;
};

class EdiWindows1252 : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EdiWindows1252, EncodesWhatTheCodePageHoldsAndQuestionMarksTheRest) {
  EXPECT_EQ(toWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EdiWindows1252,
    ::testing::Values(EncodingCase{"", ""}, EncodingCase{"QQ9XYZ;JN70AA\r\n", "QQ9XYZ;JN70AA\r\n"},
                      EncodingCase{"città è é", "citt\xe0 \xe8 \xe9"},
                      EncodingCase{"€ Œ š Ÿ ž „ ™ –", "\x80 \x8c \x9a \x9f \x9e \x84 \x99 \x96"},
                      EncodingCase{"\u00a0ÿ×", "\xa0\xff\xd7"},
                      // Characters outside the code page: emoji, CJK, Greek, C1 controls.
                      EncodingCase{"a😀b", "a?b"}, EncodingCase{"日本", "??"},
                      EncodingCase{"Ω", "?"}, EncodingCase{"\u0081\u009d", "??"},
                      // Bytes that do not start a well-formed UTF-8 sequence: each one becomes "?".
                      EncodingCase{"a\xff"
                                   "b",
                                   "a?b"},
                      EncodingCase{"\xc3", "?"}, EncodingCase{"\xe2\x82", "??"},
                      EncodingCase{"\xc0\xaf", "??"}, EncodingCase{"\xed\xa0\x80", "???"},
                      EncodingCase{"\xf4\x90\x80\x80", "????"}, EncodingCase{"\x80", "?"}));

// The scan goes eight bytes at a time: a byte beyond ASCII at any place of a word, or in the tail
// after the last whole word, ends the prefix there.
TEST(AsciiPrefix, EndsAtTheFirstByteBeyondAscii) {
  const std::string ascii(19, 'a');
  EXPECT_EQ(asciiPrefixLength(ascii), ascii.size());
  EXPECT_TRUE(isAscii(ascii));
  for (std::size_t at = 0; at < ascii.size(); ++at) {
    std::string text = ascii;
    text[at] = '\x80';
    EXPECT_EQ(asciiPrefixLength(text), at);
    EXPECT_FALSE(isAscii(text));
  }
}

// Each length of sequence, at the ends of its range and between, behind the text already there.
TEST(AppendUtf8, WritesOneToThreeBytesBehindTheText) {
  struct Case {
    char32_t codePoint;
    std::string_view bytes;
  };
  for (const auto& [codePoint, bytes] :
       {Case{0x41, "A"}, Case{0x7F, "\x7f"}, Case{0x80, "\xc2\x80"}, Case{0x7FF, "\xdf\xbf"},
        Case{0x800, "\xe0\xa0\x80"}, Case{0x20AC, "\xe2\x82\xac"}, Case{0xFFFF, "\xef\xbf\xbf"}}) {
    std::string text = "a";
    appendUtf8(text, codePoint);
    EXPECT_EQ(text, "a" + std::string(bytes)) << static_cast<unsigned>(codePoint);
  }
}

TEST(EdiWindows1252, KeepsAsciiAndEveryLatin1LetterAsOneByte) {
  std::string utf8;
  std::string expected;
  for (int c = 0xA0; c <= 0xFF; ++c) {
    utf8 += static_cast<char>(0xC0 | (c >> 6));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
    expected += static_cast<char>(c);
  }
  EXPECT_EQ(toWindows1252(utf8), expected);
}

// Reading a file and writing it again keeps every byte the code page defines.
TEST(EdiWindows1252, DecodesEveryDefinedByteBackToItself) {
  constexpr std::string_view undefined = "\x81\x8d\x8f\x90\x9d";
  std::string bytes;
  for (int c = 0; c <= 0xFF; ++c) {
    if (undefined.find(static_cast<char>(c)) == std::string_view::npos) {
      bytes += static_cast<char>(c);
    }
  }
  EXPECT_EQ(toWindows1252(fromWindows1252(bytes)), bytes);
  EXPECT_EQ(fromWindows1252("citt\xe0 \x80\x9f"), "città €Ÿ");
  EXPECT_EQ(fromWindows1252(undefined), "\ufffd\ufffd\ufffd\ufffd\ufffd");
}

}  // namespace
}  // namespace vantor
