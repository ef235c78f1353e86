#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The highest serial number; the serial-sent field is not advanced past it.
inline constexpr int kLastSerialNumber = 9999;

// The number a serial-sent text holds, when it is a whole number from 1 to 9999 written with
// digits only ("001", "12", "1000"); nothing for "", "0", "abc", "10000", "1.5", "+5" or " 12".
[[nodiscard]] std::optional<int> readSerialNumber(std::string_view text);

// A serial number as the serial-sent field shows it: leading zeros to three digits ("002", "010",
// "100"), plain digits from 1000 on.
[[nodiscard]] std::string serialNumberText(int number);

}  // namespace vantor
