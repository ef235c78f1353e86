#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "contest/contact_time.h"
#include "known/known_lines.h"
#include "known/known_parsers.h"

namespace vantor {

namespace {

// The years a list's dates may name: those of the logs an operator may still hold.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2099;

int digitsValue(std::string_view digits) {
  int value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
  }
  return value;
}

// Whether a text is a real date written YYYYMMDD, in the years kFirstYear to kLastYear.
bool isRealLongDate(std::string_view text) {
  if (text.size() != 8 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const int year = digitsValue(text.substr(0, 4));
  const int month = digitsValue(text.substr(4, 2));
  const int day = digitsValue(text.substr(6, 2));
  return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

// The station of a list line: its call, its locator, then its date and its bands if it has them,
// the bands being the rest of the line as it stands.
void takeListLine(BatchBuilder& batch, std::string_view line, std::size_t number) {
  std::string_view rest = line;
  KnownStation station;
  station.call = nextWord(rest);
  station.locator = nextWord(rest);
  const std::string_view date = nextWord(rest);
  station.bands = asUtf8(trimmed(rest));
  std::optional<std::string> problem;
  if (station.locator.empty()) {
    problem = "manca il locatore";
  } else if (isRealLongDate(date)) {
    station.lastSeen = date;
  } else if (!date.empty()) {
    problem = "data non valida: " + quotedText(date);
  }
  batch.add(number, std::move(station), std::move(problem));
}

}  // namespace

ImportBatch readCallLocatorList(std::string_view bytes) {
  BatchBuilder batch;
  forEachFileLine(bytes, [&batch](std::string_view line, std::size_t number) {
    if (!isSkippedLine(line)) {
      takeListLine(batch, line, number);
    }
  });
  return std::move(batch).take();
}

ImportBatch readCallList(std::string_view bytes) {
  BatchBuilder batch;
  forEachFileLine(bytes, [&batch](std::string_view line, std::size_t number) {
    if (!isSkippedLine(line)) {
      KnownStation station;
      station.call = line;
      batch.add(number, std::move(station));
    }
  });
  return std::move(batch).take();
}

}  // namespace vantor
