#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "form/text.h"

namespace vantor {

// What tells one contact from every other of a log, whatever its fields become by corrections.
// It is never written into a file. 0 is no contact.
using ContactId = std::uint32_t;

inline constexpr std::size_t kQsoRecordFieldCount = 15;
using QsoFields = std::array<std::string_view, kQsoRecordFieldCount>;

// The places of the QSO record's fields that the program reads.
namespace qso {
enum Field : std::size_t {
  date = 0,
  time = 1,
  call = 2,
  mode = 3,
  sentNumber = 5,
  locator = 9,
  points = 10,
  newSquare = 12,
  duplicate = 14,
};
}  // namespace qso

// The fields of a line (without its line end); nothing when it has not exactly 15.
[[nodiscard]] inline std::optional<QsoFields> splitQsoRecord(std::string_view line) {
  return splitFields<kQsoRecordFieldCount>(line);
}

// Whether a record's last field marks it a duplicate.
[[nodiscard]] inline bool isDuplicateMark(std::string_view mark) {
  return mark == "D";
}

// The new-square field of the first contact of each square in a band log.
inline constexpr std::string_view kNewSquareMark = "N";

// One contact as the values of a REG1TEST QSO record, the line the log holds it in: its 15 fields
// separated by ";" and ended by CR LF, so the line goes into the EDI file unchanged. Every field
// is the text of its source as it stands: nothing is quoted, escaped, padded or trimmed.
struct Contact {
  ContactId id = 0;
  std::string date;
  std::string time;
  std::string call;
  std::string modeCode;
  std::string rstSent;
  std::string serialSent;
  std::string rstReceived;
  std::string serialReceived;
  std::string exchangeReceived;
  std::string locator;
  // The QRB times the Sicily factor for a contact; a duplicate carries "0".
  std::string points;
  std::string newExchange;
  // kNewSquareMark on the first contact of its square in the log, empty on every other record.
  std::string newSquare;
  std::string newCountry;
  // "D" for a duplicate.
  std::string duplicateMark;
  // The factor "Auto x2 Sicilia" applied to the points; a record read back from a line does not
  // say it, and has 1.
  double sicilyFactor = 1;
  // The frequency on the air, in Hz, as the rig told it when the contact was logged; 0 when no
  // rig told it. Not in the record line: other export formats take it.
  std::int64_t frequencyHz = 0;

  // A record of the line's shape: 15 fields, of which the first is a date of six digits and the
  // second a time of four. The header lines of an earlier export never have it. The contact
  // written again gives the same line.
  [[nodiscard]] static std::optional<Contact> read(std::string_view line);

  [[nodiscard]] bool isDuplicate() const { return isDuplicateMark(duplicateMark); }
  // Marks the contact a duplicate (points "0", no new square) or a contact worth `points`, as the
  // insertion writes each. Whether a contact opens a square is the log's to tell.
  void markDuplicate(bool duplicate, std::string_view contactPoints);

  // The record line, ended by CR LF.
  [[nodiscard]] std::string line() const;
};

// The fields of a line of the QSO record's shape (see Contact::read).
[[nodiscard]] std::optional<QsoFields> readQsoRecord(std::string_view line);

// Whether a line is a record a contest robot takes: the QSO record's shape with a real date and
// time, a callsign, a locator of six or four characters and points that are a whole number.
[[nodiscard]] bool isWellFormedRecord(std::string_view line);

}  // namespace vantor
