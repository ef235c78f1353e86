#include "contest/qso_line.h"

#include <string_view>

#include "contest/contact_rules.h"
#include "form/text.h"
#include "geo/locator.h"

namespace vantor {

std::string QsoLine::text() const {
  std::string line;
  line.reserve(64);
  for (const std::string* field :
       {&date, &time, &call, &modeCode, &rst, &sentNumber, &rst, &receivedNumber}) {
    line += *field;
    line += ';';
  }
  // Position 9, the received exchange, is always empty.
  line += ';';
  line += locator;
  line += ';';
  if (kind == Kind::Normal) {
    line += points;
    line += ";;N;;";
  } else {
    line += "0;;;;D";
  }
  line += kLineEnd;
  return line;
}

void appendQsoLine(Field& logBuffer, const QsoLine& line) {
  const std::string& buffer = logBuffer.text();
  if (buffer.empty() || buffer.ends_with(kLineEnd)) {
    logBuffer.append(line.text());
  } else {
    logBuffer.append(std::string(kLineEnd) + line.text());
  }
}

std::optional<QsoFields> readQsoRecord(std::string_view line) {
  auto fields = splitQsoRecord(line);
  if (!fields || (*fields)[qso::date].size() != 6 || (*fields)[qso::time].size() != 4 ||
      (*fields)[qso::date].find_first_not_of("0123456789") != std::string_view::npos ||
      (*fields)[qso::time].find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return fields;
}

bool isWellFormedRecord(std::string_view line) {
  const auto fields = splitQsoRecord(line);
  if (!fields) {
    return false;
  }
  const std::string_view locator = (*fields)[qso::locator];
  const std::string_view points = (*fields)[qso::points];
  return isRealDate((*fields)[qso::date]) && isRealTime((*fields)[qso::time]) &&
         isCallsign((*fields)[qso::call]) && (locator.size() == 4 || locator.size() == 6) &&
         isValidLocator(locator) && !points.empty() &&
         points.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace vantor
