#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "contest/contact.h"

namespace vantor {

// A record's square when its locator has none (see squareOf).
inline constexpr std::uint16_t kNoSquare = std::numeric_limits<std::uint16_t>::max();

// What a record's new-square field holds: nothing, the mark "N" or any other text.
enum class SquareMark : std::uint8_t { None, New, Other };

// What a log keeps of each of its lines: where it starts and, for a record, what its score, its
// duplicates and its squares need without reading the line again. 32 bytes, so 100,000 lines take
// 3.2 MB.
struct LogLine {
  std::size_t start = 0;
  double points = 0;
  // The contact's identity; 0 for a line that is not a record.
  std::uint32_t id = 0;
  // Whole kilometres from the home locator; negative when the locator cannot be measured.
  std::int32_t distance = -1;
  // A short hash of the normalized call, so that the records of a call are found by a scan of
  // numbers.
  std::uint16_t callHash = 0;
  // The square of the record's locator, kNoSquare when it is no valid locator.
  std::uint16_t square = kNoSquare;
  bool duplicate = false;
  SquareMark squareMark = SquareMark::None;

  [[nodiscard]] bool isRecord() const { return id != 0; }
  // A record that is not marked as a duplicate.
  [[nodiscard]] bool isContact() const { return id != 0 && !duplicate; }
};

static_assert(sizeof(LogLine) == 32, "a log of 100,000 lines keeps 3.2 MB of them");

}  // namespace vantor
