#pragma once

#include <string_view>

namespace vantor {

// The calls and locators the known stations keep, both upper case.

// A callsign a record may carry (isCallsign: 3 to 14 letters, digits and "/") with at least one
// digit and one letter, so "QQ1ABC/P" and "I/QQ1ABC" pass and "ABC" or "123" do not. A longer call
// could never be logged, so it is no use as a suggestion.
[[nodiscard]] bool isKnownCall(std::string_view call);

// Six characters that isValidLocator takes. A four-character square is refused: it gives no QRB,
// and what the store suggests must be a whole locator.
[[nodiscard]] bool isKnownLocator(std::string_view locator);

}  // namespace vantor
