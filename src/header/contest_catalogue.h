#pragma once

#include <array>
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

// Every category, in the order of each band's section codes: the three of the standard contests,
// then the three of the Sicilian field day (whose 50 MHz band offers only the first two).
inline constexpr std::array<std::string_view, 6> categories{
    "Singolo Operatore", "Multi operatore",    "6 ore",
    "Stazione Fissa",    "Stazione Portatile", "Stazione Siciliana",
};

// A band as the header offers it, the log screen shows it and the EDI header codes it.
struct Band {
  std::string_view item;  // the list item, "144 Mhz"
  std::string_view code;  // the log screen's band field, "144"
  // The EDI section code of each category, in the order of `categories`; "" where the pair has
  // none.
  std::array<std::string_view, 6> sections;
  bool fieldDay;  // offered in the Sicilian field day
};

inline constexpr std::array<Band, 10> bands{{
    {"50 Mhz", "50", {"", "", "", "6F", "6P", ""}, true},
    {"144 Mhz", "144", {"01", "02", "59", "1A", "1B", "1C"}, true},
    {"432 Mhz", "432", {"03", "04", "60", "", "", ""}, false},
    {"1296 Mhz", "1296", {"05", "06", "", "", "", ""}, false},
    {"2320 Mhz", "2320", {"07", "08", "", "", "", ""}, false},
    {"5700 Mhz", "5700", {"11", "12", "", "", "", ""}, false},
    {"10 Ghz", "10G", {"13", "14", "", "", "", ""}, false},
    {"24 Ghz", "24G", {"15", "16", "", "", "", ""}, false},
    {"47 Ghz", "47G", {"17", "18", "", "", "", ""}, false},
    {"76 Ghz", "76G", {"19", "20", "", "", "", ""}, false},
}};

// The band whose field day categories leave out the Sicilian stations.
inline constexpr std::string_view band50 = bands[0].item;

// The band of a list item; nothing for a text that is no band item (case included).
[[nodiscard]] const Band* findBand(std::string_view item);

[[nodiscard]] const std::vector<std::string>& standardCategories();
[[nodiscard]] const std::vector<std::string>& fieldDayCategories();
[[nodiscard]] const std::vector<std::string>& fieldDay50Categories();

[[nodiscard]] const std::vector<std::string>& allBands();
[[nodiscard]] const std::vector<std::string>& fieldDayBands();

// The bands the header offers once `contest` is picked, and the categories it offers once
// `contest` and then `band` are picked: the field day sets for the Sicilian field day (at 50 MHz
// without the Sicilian stations), the standard ones for every other contest.
[[nodiscard]] const std::vector<std::string>& bandsFor(std::string_view contest);
[[nodiscard]] const std::vector<std::string>& categoriesFor(std::string_view contest,
                                                            std::string_view band);

// The category whose section code for `band` is `section`; nothing when the band has none.
[[nodiscard]] std::optional<std::string_view> categoryOfSection(const Band& band,
                                                                std::string_view section);

// The short code the log screen's band field shows for a band item ("144 Mhz" → "144",
// "10 Ghz" → "10G"); nothing for a text that is no band item.
[[nodiscard]] std::optional<std::string> bandCode(std::string_view band);

}  // namespace vantor::catalogue
