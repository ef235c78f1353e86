#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace vantor {

// How many contacts a log holds at each minute its records give (recordMinute), so that those of
// the last minutes are counted in one step per minute, whatever the log's length and order.
class ContactMinutes {
 public:
  void clear() { m_counts.clear(); }
  // A contact at `minute` came (a step of 1) or went (-1).
  void count(std::int64_t minute, int step);
  // The contacts of the `minutes` minutes that end with the minute `now`, that one included.
  [[nodiscard]] std::size_t within(std::int64_t now, int minutes) const;

 private:
  // Only minutes that hold a contact.
  std::unordered_map<std::int64_t, std::size_t> m_counts;
};

}  // namespace vantor
