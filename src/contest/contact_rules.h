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

}  // namespace vantor
