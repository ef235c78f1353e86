#include "edi/edi_header.h"

#include <algorithm>

#include "edi/edi_sections.h"
#include "form/text.h"
#include "header/contest_catalogue.h"
#include "header/date_text.h"

namespace vantor {

std::optional<std::string> convertDate(std::string_view dateText) {
  const auto parts = splitDate(dateText);
  if (!parts) {
    return std::nullopt;
  }
  return std::string(parts->year) + std::string(parts->month) + std::string(parts->day);
}

std::string sectionCode(std::string_view band, std::string_view category) {
  const catalogue::Band* row = catalogue::findBand(band);
  const auto& categories = catalogue::categories;
  const auto column = std::find(categories.begin(), categories.end(), category);
  if (row == nullptr || column == categories.end()) {
    return {};
  }
  return std::string(row->sections[static_cast<std::size_t>(column - categories.begin())]);
}

std::array<std::string, 3> buildHeaderSection(const StationHeader& header,
                                              std::string_view startDate, std::string_view endDate,
                                              std::string_view section) {
  std::array<std::string, 3> pieces;
  auto& contest = pieces[0];
  appendLine(contest, ediFirstLine);
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

std::vector<std::string_view> nonAsciiFields(const StationHeader& header) {
  std::vector<std::string_view> captions;
  for (const auto& [caption, text] : stationHeaderCaptions) {
    const std::string& value = header.*text;
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      captions.push_back(caption);
    }
  }
  return captions;
}

}  // namespace vantor
