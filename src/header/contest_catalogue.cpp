#include "header/contest_catalogue.h"

#include <array>
#include <utility>

namespace vantor::catalogue {

const std::vector<std::string>& contests() {
  static const std::vector<std::string> items{
      "IAC",
      "Città di Firenze - Trofeo ARI",
      "Cinisello Balsamo - Trofeo ARI",
      "Città di Terni UHF-SHF - Trofeo ARI",
      "Contest Apulia - Trofeo ARI",
      "Contest IARU Reg. I VHF",
      "Contest IARU Reg. I UHF-SHF",
      "Contest Mem. Marconi CW 144 MHz",
      "Contest Mem. Marconi VHF Italia",
      "Contest Alpe Adria VHF",
      "Contest Alpe Adria UHF & SHF",
      "Field day Sicilia",
      "Contest IARU Reg. 1 50 MHz",
      "Contest Romagna 50 MHz",
      "Contest Gargano 50 MHz",
      "Contest Grosseto 50 MHz",
  };
  return items;
}

const std::vector<std::string>& standardCategories() {
  static const std::vector<std::string> items{"Singolo Operatore", "Multi operatore", "6 ore"};
  return items;
}

const std::vector<std::string>& fieldDayCategories() {
  static const std::vector<std::string> items{"Stazione Fissa", "Stazione Portatile",
                                              "Stazione Siciliana"};
  return items;
}

const std::vector<std::string>& fieldDay50Categories() {
  static const std::vector<std::string> items{"Stazione Fissa", "Stazione Portatile"};
  return items;
}

const std::vector<std::string>& allBands() {
  static const std::vector<std::string> items{"50 Mhz",   "144 Mhz",  "432 Mhz", "1296 Mhz",
                                              "2320 Mhz", "5700 Mhz", "10 Ghz",  "24 Ghz",
                                              "47 Ghz",   "76 Ghz"};
  return items;
}

const std::vector<std::string>& fieldDayBands() {
  static const std::vector<std::string> items{"50 Mhz", "144 Mhz"};
  return items;
}

std::optional<std::string> bandCode(std::string_view band) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> codes{{
      {"50 Mhz", "50"},
      {"144 Mhz", "144"},
      {"432 Mhz", "432"},
      {"1296 Mhz", "1296"},
      {"2320 Mhz", "2320"},
      {"5700 Mhz", "5700"},
      {"10 Ghz", "10G"},
      {"24 Ghz", "24G"},
      {"47 Ghz", "47G"},
      {"76 Ghz", "76G"},
  }};
  for (const auto& [item, code] : codes) {
    if (item == band) {
      return std::string(code);
    }
  }
  return std::nullopt;
}

}  // namespace vantor::catalogue
