#pragma once

#include <string>

namespace vantor {

// A coordinate as the bearing screen's scratch fields show it: the value rounded to 15
// significant digits (ties to even), trailing zeros dropped, "." as decimal separator, no blanks
// ("41.1458333333333"). A value below 0.0001 or from 10^15 on is written with an exponent
// ("1e-05").
[[nodiscard]] std::string formatScratchNumber(double value);

}  // namespace vantor
