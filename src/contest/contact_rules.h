#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// A call as the duplicate test compares it: upper case, without leading and trailing blanks.
[[nodiscard]] std::string normalizedCall(std::string_view call);

// Whether a text is a callsign a record may carry: 3 to 14 letters, digits and "/".
[[nodiscard]] bool isCallsign(std::string_view text);
// Whether a text is a real time of day written hhmm, from "0000" to "2359".
[[nodiscard]] bool isRealTime(std::string_view text);
// Whether a text is a real date written yymmdd in the years 2000 to 2099.
[[nodiscard]] bool isRealDate(std::string_view text);

// A contact's distance as the log counts it: a contact in the home square, 0 km, counts as 1.
[[nodiscard]] inline double countedDistance(double kilometres) {
  return kilometres == 0 ? 1 : kilometres;
}

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
  std::string_view call;
  std::string_view rst;
  std::string_view serialReceived;
  bool serialReceivedShown = false;
};

// The message of the first check the entry row fails (the time, the date, the serial number sent,
// the call, the report, then the serial number received), nothing when it passes them all. Every
// text that passes holds neither ";" nor a control character, so each record keeps its 15 fields.
[[nodiscard]] std::optional<std::string_view> entryRowProblem(const EntryRow& row);

// The statistics rows as an insertion of a contact that is not a duplicate finds them.
struct ShownStatistics {
  std::string_view serialSent;  // "001" for the first contact of the log
  std::string_view odxDistance;
  std::string_view total;
  // The contacts already in the log, duplicates not counted.
  std::size_t contacts = 0;
};

// What one insertion writes into the statistics rows.
struct StatisticsStep {
  bool replacesOdx;
  std::string total;
  std::string average;
};

// The statistics after a contact of `distance` km worth `points`: the first contact sets the ODX
// and the total, every later one adds its points and replaces the ODX when it is farther. The
// average is the total over the contacts with this one, rounded down. A duplicate changes none
// of them.
[[nodiscard]] StatisticsStep nextStatistics(const ShownStatistics& shown, double distance,
                                            std::string_view points);

}  // namespace vantor
