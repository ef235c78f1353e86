#pragma once

#include <array>
#include <string>
#include <string_view>

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

// Each text of the station header with the caption the header screen shows beside it.
struct StationHeaderCaption {
  std::string_view caption;
  std::string StationHeader::*text;
};

inline constexpr std::array<StationHeaderCaption, 23> stationHeaderCaptions{{
    {"Nominativo", &StationHeader::callsign},
    {"Locatore", &StationHeader::locator},
    {"Contest", &StationHeader::contest},
    {"Categoria", &StationHeader::category},
    {"Banda", &StationHeader::band},
    {"Data inizio", &StationHeader::startDate},
    {"Data fine", &StationHeader::endDate},
    {"Commenti", &StationHeader::comments},
    {"Nome - Cognome", &StationHeader::name},
    {"Indirizzo", &StationHeader::address},
    {"CAP", &StationHeader::postcode},
    {"Città", &StationHeader::city},
    {"Nazione", &StationHeader::country},
    {"Telefono", &StationHeader::phone},
    {"Email", &StationHeader::email},
    {"Operatori", &StationHeader::operators},
    {"Club", &StationHeader::club},
    {"Ricevitore", &StationHeader::receiver},
    {"Trasmettitore", &StationHeader::transmitter},
    {"Antenne", &StationHeader::antennas},
    {"Potenza (w)", &StationHeader::power},
    {"Altezza antenne (m)", &StationHeader::antennaHeight},
    {"Altitudine (m slm)", &StationHeader::altitude},
}};

}  // namespace vantor
