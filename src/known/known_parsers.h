#pragma once

#include <string_view>

#include "known/known_station.h"

namespace vantor {

// One parser per format of known_import.h; each reads any bytes and tells the lines it cannot
// take as bad lines.

// An EDI file: each QSO record's call, locator and date, on the band of the "PBand=" line.
[[nodiscard]] ImportBatch readEdiStations(std::string_view bytes);

// A call-history file: comma-separated values in the columns its "!!Order!!" lines name.
[[nodiscard]] ImportBatch readCallHistory(std::string_view bytes);

// Whether a line names the columns of the call-history lines after it: its first field is
// "!!Order!!", in any case.
[[nodiscard]] bool isOrderLine(std::string_view line);

// "CALL LOCATOR YYYYMMDD BANDS" lines.
[[nodiscard]] ImportBatch readCallLocatorList(std::string_view bytes);

// One call per line.
[[nodiscard]] ImportBatch readCallList(std::string_view bytes);

}  // namespace vantor
