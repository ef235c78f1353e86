// QSO lines from any field texts the screens can hold (no ";" and no line break, which would
// shift the record's positions), appended to any log buffer.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "form/field.h"
#include "contest/qso_line.h"

namespace {

using namespace vantor;

constexpr std::string_view kLineEnd = "\r\n";

std::string fieldText(std::string_view piece) {
  std::string text(piece);
  std::erase_if(text, [](char c) { return c == ';' || c == '\r' || c == '\n'; });
  return text;
}

std::vector<std::string_view> splitAtSemicolons(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = record.find(';', start);
    fields.push_back(record.substr(start, end - start));
    if (end == std::string_view::npos) {
      return fields;
    }
    start = end + 1;
  }
}

// The line holds its sources at their record positions, and nothing else.
void checkLine(const QsoLine& line, std::string_view text) {
  FUZZ_CHECK(text.ends_with(kLineEnd));
  const std::string_view record = text.substr(0, text.size() - kLineEnd.size());
  FUZZ_CHECK(!fuzz::holdsLineBreak(record));
  FUZZ_CHECK(std::count(record.begin(), record.end(), ';') == 14);

  const bool normal = line.kind == QsoLine::Kind::Normal;
  const std::array<std::string_view, 15> expected{
      line.date,
      line.time,
      line.call,
      line.modeCode,
      line.rst,
      line.sentNumber,
      line.rst,
      line.receivedNumber,
      "",
      line.locator,
      normal ? std::string_view(line.points) : "0",
      "",
      normal ? "N" : "",
      "",
      normal ? "" : "D",
  };
  const auto fields = splitAtSemicolons(record);
  FUZZ_CHECK(std::equal(fields.begin(), fields.end(), expected.begin(), expected.end()));
}

// The buffer keeps its text, gains at most the CR LF that ends its last line, and then holds the
// line on a line of its own.
void checkAppend(std::string_view before, const QsoLine& line, std::string_view text) {
  Field logBuffer("Text15", {}, Field::Lines::Multi);
  logBuffer.setText(before);
  appendQsoLine(logBuffer, line);
  const std::string& after = logBuffer.text();

  FUZZ_CHECK(after.starts_with(before));
  FUZZ_CHECK(after.ends_with(text));
  const std::size_t lineStart = after.size() - text.size();
  FUZZ_CHECK(lineStart >= before.size());
  FUZZ_CHECK(lineStart == 0 || after.substr(0, lineStart).ends_with(kLineEnd));
  const bool lastLineEnded = before.empty() || before.ends_with(kLineEnd);
  FUZZ_CHECK(lineStart - before.size() == (lastLineEnded ? 0 : kLineEnd.size()));
}

}  // namespace

// The first byte chooses the line's kind ("D" for a duplicate); then come the nine field texts and
// the log buffer.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const auto pieces = fuzz::splitInput(data + 1, size - 1);
  const auto field = [&pieces](std::size_t index) {
    return fieldText(fuzz::pieceAt(pieces, index));
  };
  const QsoLine line{
      .kind = data[0] == 'D' ? QsoLine::Kind::Duplicate : QsoLine::Kind::Normal,
      .date = field(0),
      .time = field(1),
      .call = field(2),
      .modeCode = field(3),
      .rst = field(4),
      .sentNumber = field(5),
      .receivedNumber = field(6),
      .locator = field(7),
      .points = field(8),
  };
  const std::string text = line.text();
  checkLine(line, text);
  checkAppend(fuzz::pieceAt(pieces, 9), line, text);
  return 0;
}
