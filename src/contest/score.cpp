#include "contest/score.h"

#include <cmath>

#include "geo/locator.h"

namespace vantor {

namespace {

// Points summed exactly as whole numbers: 100,000 contacts of up to 2^40 points each stay far
// below 2^63.
constexpr double kLargestWholePoints = 1099511627776.0;

bool isWhole(double points) {
  return points >= 0 && points <= kLargestWholePoints && points == std::floor(points);
}

}  // namespace

void Score::reset(std::span<const LogLine> lines) {
  m_contacts = 0;
  m_wholePoints = 0;
  m_otherPoints = 0;
  m_odxLine.reset();
  m_squareContacts.clear();
  m_squares = 0;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].isContact()) {
      count(lines[line], 1);
      consider(lines, line);
    }
  }
}

void Score::count(const LogLine& line, int step) {
  m_contacts += static_cast<std::size_t>(step);
  if (isWhole(line.points)) {
    m_wholePoints += step * static_cast<std::int64_t>(line.points);
  } else {
    m_otherPoints += static_cast<std::size_t>(step);
  }
  if (line.square != kNoSquare) {
    countSquare(line.square, step);
  }
}

void Score::countSquare(std::uint16_t square, int step) {
  if (m_squareContacts.empty()) {
    m_squareContacts.resize(kSquareCount);
  }
  std::uint32_t& contacts = m_squareContacts[square];
  if (step > 0 && contacts++ == 0) {
    ++m_squares;
  } else if (step < 0 && --contacts == 0) {
    --m_squares;
  }
}

double Score::points(std::span<const LogLine> lines) const {
  if (m_otherPoints == 0) {
    return static_cast<double>(m_wholePoints);
  }
  double sum = 0;
  for (const LogLine& line : lines) {
    sum += line.isContact() ? line.points : 0;
  }
  return sum;
}

void Score::replace(std::span<const LogLine> lines, std::size_t first,
                    std::span<const LogLine> removed, std::size_t removedCount,
                    std::size_t inserted) {
  for (const LogLine& line : removed) {
    if (line.isContact()) {
      count(line, -1);
    }
  }
  const bool odxRemoved = m_odxLine && *m_odxLine >= first && *m_odxLine < first + removedCount;
  if (odxRemoved) {
    m_odxLine.reset();
  } else if (m_odxLine && *m_odxLine >= first) {
    *m_odxLine = *m_odxLine - removedCount + inserted;
  }
  for (std::size_t line = first; line < first + inserted; ++line) {
    if (lines[line].isContact()) {
      count(lines[line], 1);
      if (!odxRemoved) {
        consider(lines, line);
      }
    }
  }
  if (odxRemoved) {
    findOdx(lines);
  }
}

std::optional<double> Score::average(std::span<const LogLine> lines) const {
  if (m_contacts == 0) {
    return std::nullopt;
  }
  return std::floor(points(lines) / static_cast<double>(m_contacts));
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
