#pragma once

#include <string>

#include "edi/edi_header.h"
#include "edi/edi_text.h"

namespace vantor::bench {

// The QSO lines of a log of `count` contacts, about 54 bytes each, as insertions write them.
inline std::string qsoLines(int count) {
  std::string log;
  for (int i = 0; i < count; ++i) {
    std::string serial = std::to_string(i + 1);
    serial.insert(0, serial.size() < 3 ? 3 - serial.size() : 0, '0');
    std::string call = "QQ0AAA";
    call[2] = static_cast<char>('0' + i % 10);
    call[3] = static_cast<char>('A' + i / 10 % 26);
    call[4] = static_cast<char>('A' + i / 260 % 26);
    log.append("261207;1432;").append(call).append(";1;59;").append(serial);
    log.append(";59;").append(serial).append(";;JN80XX;");
    log.append(std::to_string(100 + i % 1900)).append(";;N;;\r\n");
  }
  return log;
}

// The EDI header buffer of the benchmarks' station, with the score lines of a log whose next
// serial number is `serialSent`.
inline std::string ediHeaderText(const std::string& serialSent) {
  StationHeader header;
  header.callsign = "QQ9XYZ";
  header.locator = "JN70AA";
  header.contest = "Contest IARU Reg. I VHF";
  header.category = "Singolo Operatore";
  header.band = "144 Mhz";
  header.city = "CITTÀ";
  const auto pieces = buildHeaderSection(header, "20261207", "20261207", "01");
  const std::size_t contacts = std::stoul(serialSent) - 1;
  return pieces[0] + pieces[1] + pieces[2] +
         buildScoreLines(Claims{contacts, contacts, 4990000, "QQ1ABC", "JN80XX", "999"},
                         "Commento è");
}

}  // namespace vantor::bench
