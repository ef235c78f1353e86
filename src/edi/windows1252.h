#pragma once

#include <string>
#include <string_view>

namespace vantor {

// A UTF-8 text in Windows-1252, the single-byte code page of the EDI file, without a byte-order
// mark. A character the code page cannot hold becomes "?", and so does every byte that does not
// start a well-formed UTF-8 sequence.
[[nodiscard]] std::string toWindows1252(std::string_view utf8);

}  // namespace vantor
