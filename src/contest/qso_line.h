#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "form/field.h"
#include "form/text.h"

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

inline constexpr std::size_t kQsoRecordFieldCount = 15;
using QsoFields = std::array<std::string_view, kQsoRecordFieldCount>;

// The places of the QSO record's fields that the program reads back.
namespace qso {
enum Field : std::size_t {
  date = 0,
  time = 1,
  call = 2,
  mode = 3,
  sentNumber = 5,
  locator = 9,
  points = 10,
  duplicate = 14,
};
}  // namespace qso

// The fields of a line (without its line end); nothing when it has not exactly 15.
[[nodiscard]] inline std::optional<QsoFields> splitQsoRecord(std::string_view line) {
  return splitFields<kQsoRecordFieldCount>(line);
}

// The fields of a line of the QSO record's shape: 15 fields, of which the first is a date of six
// digits and the second a time of four. The header lines of an earlier export never have it.
[[nodiscard]] std::optional<QsoFields> readQsoRecord(std::string_view line);

[[nodiscard]] inline bool isDuplicateRecord(const QsoFields& fields) {
  return fields[qso::duplicate] == "D";
}

// Whether a line is a record a contest robot takes: the QSO record's shape with a real date and
// time, a callsign, a locator of six or four characters and points that are a whole number.
[[nodiscard]] bool isWellFormedRecord(std::string_view line);

}  // namespace vantor
