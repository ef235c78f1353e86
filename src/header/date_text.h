#pragma once

#include <optional>
#include <string_view>

namespace vantor {

// A header date (DD/MM/YYYY) split at "/" into its first three parts, used as they stand: no
// padding and no check that they are digits. Parts after the third are ignored.
struct DateParts {
  std::string_view day;
  std::string_view month;
  std::string_view year;
};

// Nothing when the text has fewer than three "/"-separated parts.
[[nodiscard]] inline std::optional<DateParts> splitDate(std::string_view text) {
  const auto firstSlash = text.find('/');
  if (firstSlash == std::string_view::npos) {
    return std::nullopt;
  }
  const auto secondSlash = text.find('/', firstSlash + 1);
  if (secondSlash == std::string_view::npos) {
    return std::nullopt;
  }
  const auto thirdSlash = text.find('/', secondSlash + 1);
  return DateParts{text.substr(0, firstSlash),
                   text.substr(firstSlash + 1, secondSlash - firstSlash - 1),
                   text.substr(secondSlash + 1, thirdSlash - secondSlash - 1)};
}

}  // namespace vantor
