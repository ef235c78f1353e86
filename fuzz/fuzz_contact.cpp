// Contacts from any field texts the screens can hold (no ";" and no line break, which would
// shift the record's positions), written as record lines and appended to any log; and any line
// read as a contact and written back.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "contest/contact.h"
#include "contest/log_document.h"
#include "form/field.h"

namespace {

using namespace vantor;

std::string fieldText(std::string_view piece) {
  std::string text(piece);
  std::erase_if(text, [](char c) { return c == ';' || c == '\r' || c == '\n'; });
  return text;
}

// The line holds its sources at their record positions, and nothing else.
void checkLine(const Contact& line, std::string_view text) {
  FUZZ_CHECK(text.ends_with(kLineEnd));
  const std::string_view record = text.substr(0, text.size() - kLineEnd.size());
  FUZZ_CHECK(!fuzz::holdsLineBreak(record));
  FUZZ_CHECK(std::count(record.begin(), record.end(), ';') == 14);

  const bool normal = !line.isDuplicate();
  const std::array<std::string_view, 15> expected{
      line.date,
      line.time,
      line.call,
      line.modeCode,
      line.rstSent,
      line.serialSent,
      line.rstReceived,
      line.serialReceived,
      "",
      line.locator,
      normal ? std::string_view(line.points) : "0",
      "",
      normal ? std::string_view(line.newSquare) : "",
      "",
      normal ? "" : "D",
  };
  const auto fields = fuzz::splitAt(record, ';');
  FUZZ_CHECK(std::equal(fields.begin(), fields.end(), expected.begin(), expected.end()));
}

// The buffer keeps its text, gains at most the CR LF that ends its last line, and then holds the
// line on a line of its own.
void checkAppend(std::string_view before, const Contact& line, std::string_view text) {
  Field logBuffer("Text15", {}, Field::Lines::Multi);
  LogDocument document(logBuffer);
  logBuffer.setText(before);
  document.append(line);
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

// A line read as a contact is written back unchanged.
void checkReadBack(std::string_view line) {
  if (const auto contact = Contact::read(line)) {
    FUZZ_CHECK(contact->line() == std::string(line) + std::string(kLineEnd));
  }
}

// The first byte chooses the line's kind ("D" for a duplicate); then come the nine field texts,
// the log buffer and a line to read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const auto pieces = fuzz::splitInput(data + 1, size - 1);
  const auto field = [&pieces](std::size_t index) {
    return fieldText(fuzz::pieceAt(pieces, index));
  };
  Contact line;
  line.date = field(0);
  line.time = field(1);
  line.call = field(2);
  line.modeCode = field(3);
  line.rstSent = line.rstReceived = field(4);
  line.serialSent = field(5);
  line.serialReceived = field(6);
  line.locator = field(7);
  // The first contact of its square, as the insertion marks it; a duplicate loses the mark.
  line.newSquare = "N";
  line.markDuplicate(data[0] == 'D', field(8));
  const std::string text = line.line();
  checkLine(line, text);
  checkAppend(fuzz::pieceAt(pieces, 9), line, text);
  checkReadBack(fuzz::pieceAt(pieces, 10));
  return 0;
}
