#pragma once

#include <string_view>

namespace vantor {

// The lines that start the sections of an EDI file and the line that ends it, as the export writes
// them and the reader looks for them.

// The first line, which starts the header section. The reader takes a file whose first line
// starts as this one does up to its ";", whatever follows.
inline constexpr std::string_view ediFirstLine = "[REG1TEST;1]";
inline constexpr std::string_view ediFirstLinePrefix =
    ediFirstLine.substr(0, ediFirstLine.find(';') + 1);

// The line before the comments line.
inline constexpr std::string_view ediRemarksLine = "[Remarks]";

// How the line before the QSO records starts: "[QSORecords;N]", N the number of records.
inline constexpr std::string_view ediRecordsLinePrefix = "[QSORecords;";

// The last line of every EDI file. The log buffer ends with it after an export. The reader takes
// any line that starts as this one does up to its ";" for the end, whatever program wrote it.
inline constexpr std::string_view ediEndLine = "[END;Created by Vantor by Karsel]";
inline constexpr std::string_view ediEndLinePrefix = ediEndLine.substr(0, ediEndLine.find(';') + 1);

}  // namespace vantor
