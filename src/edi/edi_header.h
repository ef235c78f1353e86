#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "header/station_header.h"

namespace vantor {

// What the log screen tells the operator when a date field cannot be converted; the export then
// stops before it changes anything.
inline constexpr std::string_view invalidDateMessage =
    "Data non valida: usare il formato gg/mm/aaaa";

// A header line whose value is one text of the station header as it stands.
struct EdiTextLine {
  std::string_view key;
  std::string StationHeader::*text;
};

// Those lines in the file's order: the export writes each from its text, and the reopen puts each
// value back into it.
inline constexpr std::array<EdiTextLine, 15> ediTextLines{{
    {"PCall", &StationHeader::callsign},
    {"PWWLo", &StationHeader::locator},
    {"PClub", &StationHeader::club},
    {"RName", &StationHeader::name},
    {"RAdr1", &StationHeader::address},
    {"RPoCo", &StationHeader::postcode},
    {"RCity", &StationHeader::city},
    {"RCoun", &StationHeader::country},
    {"RPhon", &StationHeader::phone},
    {"RHBBS", &StationHeader::email},
    {"MOpe1", &StationHeader::operators},
    {"STXEq", &StationHeader::transmitter},
    {"SPowe", &StationHeader::power},
    {"SRXEq", &StationHeader::receiver},
    {"SAnte", &StationHeader::antennas},
}};

// The keys of the header lines the export always leaves empty, in the file's order: no screen
// field could hold their value.
inline constexpr std::array<std::string_view, 5> ediEmptyLines{"PExch", "PAdr1", "PAdr2", "RAdr2",
                                                               "MOpe2"};

// A header screen date (dd/mm/yyyy) as the EDI header writes it: the first three "/"-separated
// parts in reverse order, joined as they stand ("07/12/2026" → "20261207", "7/12/2026" →
// "2026127"). Parts after the third are ignored. Nothing when there are fewer than three parts.
[[nodiscard]] std::optional<std::string> convertDate(std::string_view dateText);

// The two-character section code of a band and category pair ("144 Mhz", "Singolo Operatore" →
// "01"), or "" for a pair without one. Both texts must match exactly, case included.
[[nodiscard]] std::string sectionCode(std::string_view band, std::string_view category);

// The 27 lines of the EDI header section, from "[REG1TEST;1]" to "SAntH=", each ended by CR LF,
// in the three pieces the header screen's EDI header buffer takes them: lines 1 to 10 replace
// its text, lines 11 to 19 and then lines 20 to 27 are appended. The dates are converted ones.
[[nodiscard]] std::array<std::string, 3> buildHeaderSection(const StationHeader& header,
                                                            std::string_view startDate,
                                                            std::string_view endDate,
                                                            std::string_view section);

// The captions of the header fields that hold characters outside 7-bit ASCII, which many contest
// robots refuse, in the header screen's order.
[[nodiscard]] std::vector<std::string_view> nonAsciiFields(const StationHeader& header);

}  // namespace vantor
