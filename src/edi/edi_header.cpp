#include "edi/edi_header.h"

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

template <typename... Parts>
void addLine(std::string& text, const Parts&... parts) {
  (text.append(parts), ...);
  text.append("\r\n");
}

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
  addLine(contest, "[REG1TEST;1]");
  addLine(contest, "TName=", header.contest);
  addLine(contest, "TDate=", startDate, ";", endDate);
  addLine(contest, "PCall=", header.callsign);
  addLine(contest, "PWWLo=", header.locator);
  addLine(contest, "PExch=");
  addLine(contest, "PAdr1=");
  addLine(contest, "PAdr2=");
  addLine(contest, "PSect=", section);
  addLine(contest, "PBand=", header.band);

  auto& address = pieces[1];
  addLine(address, "PClub=", header.club);
  addLine(address, "RName=", header.name);
  addLine(address, "RCall=", header.callsign);
  addLine(address, "RAdr1=", header.address);
  addLine(address, "RAdr2=");
  addLine(address, "RPoCo=", header.postcode);
  addLine(address, "RCity=", header.city);
  addLine(address, "RCoun=", header.country);
  addLine(address, "RPhon=", header.phone);

  auto& station = pieces[2];
  addLine(station, "RHBBS=", header.email);
  addLine(station, "MOpe1=", header.operators);
  addLine(station, "MOpe2=");
  addLine(station, "STXEq=", header.transmitter);
  addLine(station, "SPowe=", header.power);
  addLine(station, "SRXEq=", header.receiver);
  addLine(station, "SAnte=", header.antennas);
  addLine(station, "SAntH=", header.antennaHeight, ";", header.altitude);
  return pieces;
}

}  // namespace vantor
