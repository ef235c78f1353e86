#pragma once

#include <string>
#include <string_view>

namespace vantor {

// The last line of every EDI file. The log buffer ends with it after an export.
inline constexpr std::string_view ediEndLine = "[END;Created by Vantor by Karsel]";

// The log screen and header screen texts behind the claimed-score and remarks lines.
struct ScoreTexts {
  std::string serialSent;  // the number of the next contact, "001" before the first
  std::string total;
  std::string odxCall;
  std::string odxLocator;
  std::string odxDistance;
  std::string comments;
};

// Lines 28 to 40 of the EDI file, each ended by CR LF: the claimed score, the remarks and the
// "[QSORecords;N]" line. The QSO count N is the numeric value of the serial-sent text minus 1
// ("001" → 0, "013" → 12, "" → -1), the same in "CQSOs=" and "[QSORecords;".
[[nodiscard]] std::string buildScoreLines(const ScoreTexts& texts);

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

}  // namespace vantor
