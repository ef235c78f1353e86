#include "header/contest_catalogue.h"

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

namespace {

std::vector<std::string> categoryItems(std::size_t first, std::size_t count) {
  return {categories.begin() + first, categories.begin() + first + count};
}

std::vector<std::string> bandItems(bool fieldDayOnly) {
  std::vector<std::string> items;
  for (const Band& band : bands) {
    if (band.fieldDay || !fieldDayOnly) {
      items.emplace_back(band.item);
    }
  }
  return items;
}

}  // namespace

const std::vector<std::string>& standardCategories() {
  static const std::vector<std::string> items = categoryItems(0, 3);
  return items;
}

const std::vector<std::string>& fieldDayCategories() {
  static const std::vector<std::string> items = categoryItems(3, 3);
  return items;
}

const std::vector<std::string>& fieldDay50Categories() {
  static const std::vector<std::string> items = categoryItems(3, 2);
  return items;
}

const std::vector<std::string>& allBands() {
  static const std::vector<std::string> items = bandItems(false);
  return items;
}

const std::vector<std::string>& fieldDayBands() {
  static const std::vector<std::string> items = bandItems(true);
  return items;
}

const std::vector<std::string>& bandsFor(std::string_view contest) {
  return contest == fieldDaySicily ? fieldDayBands() : allBands();
}

const std::vector<std::string>& categoriesFor(std::string_view contest, std::string_view band) {
  if (contest != fieldDaySicily) {
    return standardCategories();
  }
  return band == band50 ? fieldDay50Categories() : fieldDayCategories();
}

std::optional<std::string_view> categoryOfSection(const Band& band, std::string_view section) {
  for (std::size_t column = 0; column < categories.size(); ++column) {
    if (!section.empty() && band.sections[column] == section) {
      return categories[column];
    }
  }
  return std::nullopt;
}

const Band* findBand(std::string_view item) {
  for (const Band& band : bands) {
    if (band.item == item) {
      return &band;
    }
  }
  return nullptr;
}

std::optional<std::string> bandCode(std::string_view band) {
  const Band* found = findBand(band);
  return found ? std::optional<std::string>(found->code) : std::nullopt;
}

}  // namespace vantor::catalogue
