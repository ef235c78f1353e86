#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// A call of this many characters or more is searched for in the log while it is typed.
inline constexpr std::size_t kShortestSearchedCall = 4;

// Whether the call field's (upper-case) call marks a duplicate: a call of at least
// kShortestSearchedCall characters that the log's text holds anywhere.
[[nodiscard]] bool callIsInLog(std::string_view log, std::string_view call);

// "Auto x2 Sicilia": a "9" as the call's third character doubles the QRB, and a "9" as its last
// character doubles it again.
[[nodiscard]] double sicilianFactor(std::string_view call);

// A mode of the mode list: the RST its pick writes and the code its contacts carry.
struct Mode {
  std::string_view name;
  std::string_view rst;
  std::string_view code;
};

inline constexpr std::array<Mode, 2> modes{{{"SSB", "59", "1"}, {"CW", "599", "2"}}};

// The mode of a mode list text; nothing for a text typed by hand.
[[nodiscard]] const Mode* findMode(std::string_view name);
// The mode whose contacts carry `code`; nothing for any other code.
[[nodiscard]] const Mode* findModeByCode(std::string_view code);

// The entry row texts an insertion checks before it asks for the distance.
struct EntryRow {
  std::string_view time;
  std::string_view date;
  std::string_view serialSent;
};

// The message of the first check the entry row fails (the time, then the date, then the serial
// number), nothing when it passes them all.
[[nodiscard]] std::optional<std::string_view> entryRowProblem(const EntryRow& row);

// The statistics rows as an insertion finds them.
struct ShownStatistics {
  std::string_view serialSent;  // "001" for the first contact of the log
  std::string_view odxDistance;
  std::string_view total;
};

// What one insertion writes into the statistics rows.
struct StatisticsStep {
  bool replacesOdx;
  std::string total;
  std::string average;
};

// The statistics after a contact of `distance` km worth `points` with serial number `serial`:
// the first contact sets the ODX and the total, every later one adds its points and replaces the
// ODX when it is farther. The average is the total over the serial number, rounded down.
[[nodiscard]] StatisticsStep nextStatistics(const ShownStatistics& shown, double distance,
                                            std::string_view points, int serial);

}  // namespace vantor
