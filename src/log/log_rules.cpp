#include "log/log_rules.h"

#include <cmath>

#include "form/text.h"
#include "form/utf8.h"
#include "log/serial_number.h"

namespace vantor {

namespace {

// The log is mostly digits and separators, and its calls share their first letters, so the
// search runs to each place of the call's last letter, the character that leaves the fewest
// places to compare.
bool logHolds(std::string_view log, std::string_view call) {
  const std::size_t letter = call.find_last_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const std::size_t anchor = letter == std::string_view::npos ? call.size() - 1 : letter;
  for (std::size_t at = log.find(call[anchor], anchor); at != std::string_view::npos;
       at = log.find(call[anchor], at + 1)) {
    const std::size_t start = at - anchor;
    if (start + call.size() > log.size()) {
      return false;
    }
    if (log.compare(start, call.size(), call) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool callIsInLog(std::string_view log, std::string_view call) {
  return charCount(call) >= kShortestSearchedCall && logHolds(log, call);
}

double sicilianFactor(std::string_view call) {
  const std::size_t third = characterStart(call, 2);
  double factor = 1;
  if (third < call.size() && call[third] == '9') {
    factor *= 2;
  }
  if (call.ends_with('9')) {
    factor *= 2;
  }
  return factor;
}

const Mode* findMode(std::string_view name) {
  for (const Mode& mode : modes) {
    if (mode.name == name) {
      return &mode;
    }
  }
  return nullptr;
}

const Mode* findModeByCode(std::string_view code) {
  for (const Mode& mode : modes) {
    if (mode.code == code) {
      return &mode;
    }
  }
  return nullptr;
}

std::optional<std::string_view> entryRowProblem(const EntryRow& row) {
  if (charCount(row.time) != 4) {
    return "Inserire orario nel formato hhmm";
  }
  if (charCount(row.date) != 6) {
    return "Inserire data nel formato yymmdd";
  }
  if (!readSerialNumber(row.serialSent)) {
    return "Numero progressivo non valido";
  }
  return std::nullopt;
}

StatisticsStep nextStatistics(const ShownStatistics& shown, double distance,
                              std::string_view points, int serial) {
  const bool first = shown.serialSent == "001";
  StatisticsStep step{
      .replacesOdx = first || numericValue(shown.odxDistance) < distance,
      .total = first ? std::string(points)
                     : formatNumber(numericValue(shown.total) + numericValue(points)),
      .average = {},
  };
  step.average = formatNumber(std::floor(numericValue(step.total) / serial));
  return step;
}

}  // namespace vantor
