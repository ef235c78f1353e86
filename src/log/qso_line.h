#pragma once

#include <string>

#include "form/field.h"

namespace vantor {

// One contact as a line of the log buffer: the 15 fields of a REG1TEST QSO record separated by
// ";" and ended by CR LF, so the line goes into the EDI file unchanged. Every field is the text
// of its source as it stands: nothing is quoted, escaped, padded or trimmed.
struct QsoLine {
  enum class Kind { Normal, Duplicate };

  Kind kind = Kind::Normal;
  std::string date;
  std::string time;
  std::string call;
  std::string modeCode;
  // The screen has one RST field; it stands for the sent and the received report.
  std::string rst;
  std::string sentNumber;
  std::string receivedNumber;
  std::string locator;
  // The QRB as the points of a normal line; a duplicate line always carries "0".
  std::string points;

  [[nodiscard]] std::string text() const;
};

// Appends the line to the log buffer. A buffer whose text does not end with CR LF (after an
// export, or after the operator edited its last line) gets a CR LF first, so two contacts never
// share a line.
void appendQsoLine(Field& logBuffer, const QsoLine& line);

}  // namespace vantor
