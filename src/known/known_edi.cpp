#include <string>
#include <utility>

#include "contest/contact.h"
#include "contest/contact_rules.h"
#include "edi/edi_reader.h"
#include "form/text.h"
#include "known/known_lines.h"
#include "known/known_parsers.h"

namespace vantor {

namespace {

// The header line that names the file's band, "PBand=144 MHz".
constexpr std::string_view kBandKey = "PBand";

std::string bandOf(const EdiContent& content) {
  for (const EdiHeaderLine& line : content.header) {
    if (line.key == kBandKey) {
      return std::string(trimmed(line.value));
    }
  }
  return {};
}

// A record's date, yymmdd, as the store keeps it, YYYYMMDD.
std::string fullDate(std::string_view date) {
  return "20" + std::string(date);
}

void takeRecord(BatchBuilder& batch, std::string_view record, std::size_t line,
                const std::string& band) {
  if (record.empty()) {
    return;
  }
  const auto fields = splitQsoRecord(record);
  if (!fields) {
    batch.bad(line, "riga di QSO non valida");
    return;
  }
  // A record marked "D" is kept: the station was heard all the same.
  KnownStation station;
  station.call = (*fields)[qso::call];
  station.locator = (*fields)[qso::locator];
  station.bands = band;
  const std::string_view date = (*fields)[qso::date];
  std::optional<std::string> problem;
  if (isRealDate(date)) {
    station.lastSeen = fullDate(date);
  } else {
    problem = "data non valida: " + quotedText(date);
  }
  batch.add(line, std::move(station), std::move(problem));
}

}  // namespace

ImportBatch readEdiStations(std::string_view bytes) {
  BatchBuilder batch;
  const auto content = readEdiText(withoutByteOrderMark(bytes));
  if (!content) {
    batch.bad(1, "manca la riga [REG1TEST;");
    return std::move(batch).take();
  }
  const std::string band = bandOf(*content);
  std::size_t index = 0;
  forEachLine(content->records(), [&](std::string_view record) {
    takeRecord(batch, record, content->recordLines[index++], band);
  });
  if (content->refusal) {
    batch.bad(content->refusal->line,
              content->refusal->wholeLine ? "riga troppo lunga" : "valore troppo lungo");
  }
  return std::move(batch).take();
}

}  // namespace vantor
