#include "log/qso_line.h"

#include <string_view>

#include "form/text.h"

namespace vantor {

std::string QsoLine::text() const {
  std::string line;
  line.reserve(64);
  for (const std::string* field :
       {&date, &time, &call, &modeCode, &rst, &sentNumber, &rst, &receivedNumber}) {
    line += *field;
    line += ';';
  }
  // Position 9, the received exchange, is always empty.
  line += ';';
  line += locator;
  line += ';';
  if (kind == Kind::Normal) {
    line += points;
    line += ";;N;;";
  } else {
    line += "0;;;;D";
  }
  line += kLineEnd;
  return line;
}

void appendQsoLine(Field& logBuffer, const QsoLine& line) {
  const std::string& buffer = logBuffer.text();
  if (buffer.empty() || buffer.ends_with(kLineEnd)) {
    logBuffer.append(line.text());
  } else {
    logBuffer.append(std::string(kLineEnd) + line.text());
  }
}

}  // namespace vantor
