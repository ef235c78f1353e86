#include "edi/edi_header.h"

#include <algorithm>
#include <stdexcept>

#include "edi/edi_sections.h"
#include "form/text.h"
#include "header/contest_catalogue.h"
#include "header/date_text.h"

namespace vantor {

namespace {

// The line of ediTextLines that holds `text`.
consteval EdiTextLine lineHolding(std::string StationHeader::*text) {
  for (const EdiTextLine& line : ediTextLines) {
    if (line.text == text) {
      return line;
    }
  }
  throw std::logic_error("no header line holds this text");
}

// A line of ediTextLines named by the text it holds, so that the writer names it by its text
// alone. It is found as the program compiles: a text that no line holds does not compile.
struct TextLine {
  consteval TextLine(std::string StationHeader::*text) : line(lineHolding(text)) {}
  EdiTextLine line;
};

// A key of ediEmptyLines, checked as the program compiles: any other key does not compile.
struct EmptyKey {
  consteval EmptyKey(const char* name) : key(name) {
    if (std::find(ediEmptyLines.begin(), ediEmptyLines.end(), key) == ediEmptyLines.end()) {
      throw std::logic_error("not a line the export leaves empty");
    }
  }
  std::string_view key;
};

// "key=text" for a station header text.
void appendText(std::string& piece, const StationHeader& header, TextLine text) {
  appendLine(piece, text.line.key, "=", header.*text.line.text);
}

// "key=" for a line the export leaves empty.
void appendEmpty(std::string& piece, EmptyKey empty) {
  appendLine(piece, empty.key, "=");
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
  appendText(contest, header, &StationHeader::callsign);
  appendText(contest, header, &StationHeader::locator);
  appendEmpty(contest, "PExch");
  appendEmpty(contest, "PAdr1");
  appendEmpty(contest, "PAdr2");
  appendLine(contest, "PSect=", section);
  appendLine(contest, "PBand=", header.band);

  auto& address = pieces[1];
  appendText(address, header, &StationHeader::club);
  appendText(address, header, &StationHeader::name);
  appendLine(address, "RCall=", header.callsign);
  appendText(address, header, &StationHeader::address);
  appendEmpty(address, "RAdr2");
  appendText(address, header, &StationHeader::postcode);
  appendText(address, header, &StationHeader::city);
  appendText(address, header, &StationHeader::country);
  appendText(address, header, &StationHeader::phone);

  auto& station = pieces[2];
  appendText(station, header, &StationHeader::email);
  appendText(station, header, &StationHeader::operators);
  appendEmpty(station, "MOpe2");
  appendText(station, header, &StationHeader::transmitter);
  appendText(station, header, &StationHeader::power);
  appendText(station, header, &StationHeader::receiver);
  appendText(station, header, &StationHeader::antennas);
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
