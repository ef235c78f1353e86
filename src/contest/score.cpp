#include "contest/score.h"

#include <cmath>

namespace vantor {

void Score::reset(std::span<const LogLine> lines) {
  m_contacts = 0;
  m_points = 0;
  m_odxLine.reset();
  for (std::size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].isContact()) {
      ++m_contacts;
      m_points += lines[line].points;
      consider(lines, line);
    }
  }
}

void Score::replace(std::span<const LogLine> lines, std::size_t first,
                    std::span<const LogLine> removed, std::size_t inserted) {
  for (const LogLine& line : removed) {
    if (line.isContact()) {
      --m_contacts;
      m_points -= line.points;
    }
  }
  const bool odxRemoved = m_odxLine && *m_odxLine >= first && *m_odxLine < first + removed.size();
  if (odxRemoved) {
    m_odxLine.reset();
  } else if (m_odxLine && *m_odxLine >= first) {
    *m_odxLine = *m_odxLine - removed.size() + inserted;
  }
  for (std::size_t line = first; line < first + inserted; ++line) {
    if (lines[line].isContact()) {
      ++m_contacts;
      m_points += lines[line].points;
      if (!odxRemoved) {
        consider(lines, line);
      }
    }
  }
  if (odxRemoved) {
    findOdx(lines);
  }
  if (m_contacts == 0) {
    m_points = 0;
  }
}

std::optional<double> Score::average() const {
  if (m_contacts == 0) {
    return std::nullopt;
  }
  return std::floor(m_points / static_cast<double>(m_contacts));
}

// A contact farther than the ODX, or as far and before it, becomes the ODX.
void Score::consider(std::span<const LogLine> lines, std::size_t line) {
  const std::int32_t distance = lines[line].distance;
  if (distance < 0) {
    return;
  }
  if (!m_odxLine || distance > lines[*m_odxLine].distance ||
      (distance == lines[*m_odxLine].distance && line < *m_odxLine)) {
    m_odxLine = line;
  }
}

void Score::findOdx(std::span<const LogLine> lines) {
  m_odxLine.reset();
  for (std::size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].isContact()) {
      consider(lines, line);
    }
  }
}

}  // namespace vantor
