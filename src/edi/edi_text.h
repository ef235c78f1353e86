#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "edi/edi_sections.h"
#include "form/text.h"

namespace vantor {

// What the records an export writes claim.
struct Claims {
  std::size_t recordLines = 0;  // every line written as a record
  std::size_t contacts = 0;     // the records not marked as duplicates
  double points = 0;            // the sum of the records' points
  // The log's ODX: all empty when no contact has a locator to measure.
  std::string odxCall;
  std::string odxLocator;
  std::string odxDistance;
  std::size_t squares = 0;  // the squares the contacts are in
};

// Lines 28 to 40 of the EDI file, each ended by CR LF: the claimed score, the remarks and the
// "[QSORecords;N]" line, where N counts the record lines, "CQSOs=" the contacts and "CWWLs=" the
// squares.
[[nodiscard]] std::string buildScoreLines(const Claims& claims, std::string_view comments);

// Where the lines qsoRecords takes from the log buffer start: behind the "[QSORecords;" line of an
// earlier export, or at the buffer's start; with the number (from 1) of the buffer line there.
struct RecordLinesStart {
  std::size_t offset;
  std::size_t line;
};
[[nodiscard]] RecordLinesStart recordLinesStart(std::string_view logBuffer);

// Whether text added behind a buffer's last whole line could move where its record lines start.
[[nodiscard]] bool movesRecordLinesStart(std::string_view added);

// Calls `visit(piece)` for the records one of those lines (without its CR LF) gives: the line as it
// stands, or the pieces around the end lines in it, each not empty.
void forEachRecordPiece(std::string_view line, const std::function<void(std::string_view)>& visit);

// The QSO records an export writes, taken from the log buffer's text. A buffer of QSO lines
// gives its text exactly as it stands, a last line without CR LF included. A buffer that holds
// an earlier export (its "[QSORecords;" line, its end line, or both) gives the lines after that
// "[QSORecords;" line with every end line taken out: the earlier QSO lines and the contacts
// inserted since, each on its own line ended by CR LF, so that the new file again has one
// header section and one end line.
[[nodiscard]] std::string qsoRecords(std::string_view logBuffer);

// The EDI text an export leaves in the log buffer: the EDI header buffer's text (lines 1 to 40),
// the QSO records of the log buffer, then the end line, with no CR LF after it (the file adds
// one).
[[nodiscard]] std::string buildEdiText(std::string_view headerBuffer, std::string_view logBuffer);
// The edits that make the log buffer's text that EDI text (see editedText): the header in place
// of what stands before the records, the end lines taken out, the end line added. The log buffer
// takes an export this way, so what follows the buffer's changes reads only the lines they touch.
[[nodiscard]] std::vector<TextEdit> ediTextEdits(std::string_view headerBuffer,
                                                 std::string_view logBuffer);

}  // namespace vantor
