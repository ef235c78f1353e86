#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "contest/call_counts.h"

namespace vantor {

// The calls of a log's records, so that the duplicate test of each keystroke in the call field
// is one lookup however long the log is. The log adds and takes out each record's call as its
// lines change.
class CallIndex {
 public:
  // Empties the index, with room for that many records.
  void clear(std::size_t records) { m_calls.clear(records); }
  // A record's call enters (`step` 1) or leaves (-1) the index; an empty call is never held.
  void count(std::string_view call, int step);

  // Whether `call`, compared as normalizedCall, is the call of a record. An empty call never is.
  [[nodiscard]] bool holds(std::string_view call) const;
  // The calls of records that hold `fragment` (upper case), as CallCounts::findHolding gives them.
  void findHolding(std::string_view fragment, std::size_t limit,
                   std::vector<std::string>& beginning, std::vector<std::string>& holding) const {
    m_calls.findHolding(fragment, limit, beginning, holding);
  }

 private:
  CallCounts m_calls;
};

}  // namespace vantor
