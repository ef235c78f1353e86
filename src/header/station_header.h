#pragma once

#include <string>

namespace vantor {

// The station and contest data: the texts of the header screen's 23 user fields and lists, as
// they stand. Nothing else keeps a copy; the export takes a fresh one each time it writes.
struct StationHeader {
  std::string callsign;
  std::string locator;
  std::string contest;
  std::string category;
  std::string band;
  std::string startDate;
  std::string endDate;
  std::string comments;
  std::string name;
  std::string address;
  std::string postcode;
  std::string city;
  std::string country;
  std::string phone;
  std::string email;
  std::string operators;
  std::string club;
  std::string receiver;
  std::string transmitter;
  std::string antennas;
  std::string power;
  std::string antennaHeight;
  std::string altitude;
};

}  // namespace vantor
