#pragma once

#include <cstddef>
#include <cstdint>

#include "contest/contact.h"

namespace vantor {

// What a log keeps of each of its lines: where it starts and, for a record, what its score and
// its duplicates need without reading the line again. 32 bytes, so 100,000 lines take 3.2 MB.
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
  bool duplicate = false;

  [[nodiscard]] bool isRecord() const { return id != 0; }
  // A record that is not marked as a duplicate.
  [[nodiscard]] bool isContact() const { return id != 0 && !duplicate; }
};

}  // namespace vantor
