#include "log/band_log.h"

#include <algorithm>
#include <utility>

namespace vantor {

BandLog::BandLog(std::string band) : m_band(std::move(band)) {}

bool BandLog::holdsRecords() {
  const auto lines = m_document.lines();
  return std::any_of(lines.begin(), lines.end(),
                     [](const LogLine& line) { return line.isRecord(); });
}

}  // namespace vantor
