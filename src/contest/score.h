#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "contest/log_line.h"

namespace vantor {

// The one score rule of a log, for the screen and the file alike: its contacts are the records
// not marked "D"; the total is their points, the ODX the farthest of them by real distance (the
// first in the log of the farthest), the average the total over their number, rounded down.
// It follows each change of the log's lines.
class Score {
 public:
  // Reads every line afresh.
  void reset(std::span<const LogLine> lines);
  // The `removedCount` lines from `first`, whose records were `removed` (empty when none was a
  // record), are now the `inserted` lines there in `lines`.
  void replace(std::span<const LogLine> lines, std::size_t first, std::span<const LogLine> removed,
               std::size_t removedCount, std::size_t inserted);

  [[nodiscard]] std::size_t contacts() const { return m_contacts; }
  // The contacts' points, `lines` being the lines the score follows. Whole points are summed as
  // they come, exactly; while a contact has other points (a fraction, a number past 2^40), they
  // are summed from the lines in their order, so that no order of changes leaves a rounding.
  [[nodiscard]] double points(std::span<const LogLine> lines) const;
  // The ODX's line, when a contact's locator could be measured.
  [[nodiscard]] std::optional<std::size_t> odxLine() const { return m_odxLine; }
  [[nodiscard]] std::optional<double> average(std::span<const LogLine> lines) const;
  // How many squares the contacts are in, and whether one of them is in `square`.
  [[nodiscard]] std::size_t squares() const { return m_squares; }
  [[nodiscard]] bool worked(std::uint16_t square) const {
    return square < m_squareContacts.size() && m_squareContacts[square] > 0;
  }

 private:
  void count(const LogLine& line, int step);
  void countSquare(std::uint16_t square, int step);
  void consider(std::span<const LogLine> lines, std::size_t line);
  void findOdx(std::span<const LogLine> lines);

  std::size_t m_contacts = 0;
  std::int64_t m_wholePoints = 0;
  std::size_t m_otherPoints = 0;
  std::optional<std::size_t> m_odxLine;
  // The contacts in each square, sized at the first contact in one.
  std::vector<std::uint32_t> m_squareContacts;
  std::size_t m_squares = 0;
};

}  // namespace vantor
