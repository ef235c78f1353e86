#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::catalogue {

// The contests offered in the header screen, in the order shown.
[[nodiscard]] const std::vector<std::string>& contests();

// The contest whose log screen offers "Auto x2 Sicilia" and whose lists are the field day sets.
inline constexpr std::string_view fieldDaySicily = "Field day Sicilia";
// The contest without a received serial number.
inline constexpr std::string_view iac = "IAC";
inline constexpr std::string_view band50 = "50 Mhz";

[[nodiscard]] const std::vector<std::string>& standardCategories();
[[nodiscard]] const std::vector<std::string>& fieldDayCategories();
[[nodiscard]] const std::vector<std::string>& fieldDay50Categories();

[[nodiscard]] const std::vector<std::string>& allBands();
[[nodiscard]] const std::vector<std::string>& fieldDayBands();

// The short code the log screen's band field shows for a band item ("144 Mhz" → "144",
// "10 Ghz" → "10G"); nothing for a text that is no band item.
[[nodiscard]] std::optional<std::string> bandCode(std::string_view band);

}  // namespace vantor::catalogue
