#include "edi/edi_header.h"

#include "form/text.h"
#include "header/date_text.h"

namespace vantor {

namespace {

constexpr std::array<std::string_view, 6> categories{
    "Singolo Operatore", "Multi operatore",    "6 ore",
    "Stazione Fissa",    "Stazione Portatile", "Stazione Siciliana",
};

struct BandSections {
  std::string_view band;
  // One code per category, in the order of `categories`; "" where the pair has none.
  std::array<std::string_view, 6> codes;
};

constexpr std::array<BandSections, 10> sectionTable{{
    {"50 Mhz", {"", "", "", "6F", "6P", ""}},
    {"144 Mhz", {"01", "02", "59", "1A", "1B", "1C"}},
    {"432 Mhz", {"03", "04", "60", "", "", ""}},
    {"1296 Mhz", {"05", "06", "", "", "", ""}},
    {"2320 Mhz", {"07", "08", "", "", "", ""}},
    {"5700 Mhz", {"11", "12", "", "", "", ""}},
    {"10 Ghz", {"13", "14", "", "", "", ""}},
    {"24 Ghz", {"15", "16", "", "", "", ""}},
    {"47 Ghz", {"17", "18", "", "", "", ""}},
    {"76 Ghz", {"19", "20", "", "", "", ""}},
}};

}  // namespace

std::optional<std::string> convertDate(std::string_view dateText) {
  const auto parts = splitDate(dateText);
  if (!parts) {
    return std::nullopt;
  }
  return std::string(parts->year) + std::string(parts->month) + std::string(parts->day);
}

std::string sectionCode(std::string_view band, std::string_view category) {
  for (const auto& row : sectionTable) {
    if (row.band != band) {
      continue;
    }
    for (std::size_t i = 0; i < categories.size(); ++i) {
      if (categories[i] == category) {
        return std::string(row.codes[i]);
      }
    }
  }
  return {};
}

std::array<std::string, 3> buildHeaderSection(const StationHeader& header,
                                              std::string_view startDate, std::string_view endDate,
                                              std::string_view section) {
  std::array<std::string, 3> pieces;
  auto& contest = pieces[0];
  appendLine(contest, "[REG1TEST;1]");
  appendLine(contest, "TName=", header.contest);
  appendLine(contest, "TDate=", startDate, ";", endDate);
  appendLine(contest, "PCall=", header.callsign);
  appendLine(contest, "PWWLo=", header.locator);
  appendLine(contest, "PExch=");
  appendLine(contest, "PAdr1=");
  appendLine(contest, "PAdr2=");
  appendLine(contest, "PSect=", section);
  appendLine(contest, "PBand=", header.band);

  auto& address = pieces[1];
  appendLine(address, "PClub=", header.club);
  appendLine(address, "RName=", header.name);
  appendLine(address, "RCall=", header.callsign);
  appendLine(address, "RAdr1=", header.address);
  appendLine(address, "RAdr2=");
  appendLine(address, "RPoCo=", header.postcode);
  appendLine(address, "RCity=", header.city);
  appendLine(address, "RCoun=", header.country);
  appendLine(address, "RPhon=", header.phone);

  auto& station = pieces[2];
  appendLine(station, "RHBBS=", header.email);
  appendLine(station, "MOpe1=", header.operators);
  appendLine(station, "MOpe2=");
  appendLine(station, "STXEq=", header.transmitter);
  appendLine(station, "SPowe=", header.power);
  appendLine(station, "SRXEq=", header.receiver);
  appendLine(station, "SAnte=", header.antennas);
  appendLine(station, "SAntH=", header.antennaHeight, ";", header.altitude);
  return pieces;
}

}  // namespace vantor
