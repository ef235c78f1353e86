#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "known/known_station.h"

namespace vantor {

// The files of earlier contests the known stations are imported from.
enum class ImportFormat {
  // An EDI file: its QSO records, on the band its "PBand=" line names.
  Edi,
  // Comma-separated values in the columns a "!!Order!!,Call,Name,Loc1,..." line names.
  CallHistory,
  // "CALL LOCATOR YYYYMMDD BANDS" lines, the date and the bands optional.
  CallLocatorList,
  // One call per line, as MASTER.SCP holds them.
  CallList,
};

// The format of a file by its name and its bytes: EDI when it starts with a "[REG1TEST;" line,
// the call history when a line starts with "!!Order!!", the call list when the file is MASTER.SCP
// (in any case) or every line but comments and blank ones is one word, the call-locator list when
// a line starts with a call and its locator. Nothing for any other file.
[[nodiscard]] std::optional<ImportFormat> detectFormat(std::string_view fileName,
                                                       std::string_view bytes);

// The stations of a file read as `format`, and the lines that give none with the reason. Any bytes
// are read to their end; the lines may end with LF or CR LF.
[[nodiscard]] ImportBatch parseKnownStations(ImportFormat format, std::string_view bytes);

// What an import read, for the operator: "QQ_history.txt: 1.234 stazioni, 3 righe scartate
// (riga 17: nominativo non valido: QQ; …)", naming the first bad lines.
[[nodiscard]] std::string importReport(std::string_view fileName, const ImportBatch& batch);

// A count as the reports write it: "1.234", the thousands apart.
[[nodiscard]] std::string grouped(std::size_t count);

}  // namespace vantor
