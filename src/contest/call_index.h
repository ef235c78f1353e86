#pragma once

#include <cstddef>
#include <string_view>

#include "contest/call_counts.h"
#include "form/field.h"

namespace vantor {

// The calls of the QSO records in the log buffer, so that the duplicate test of each keystroke in
// the call field is one lookup however long the log is.
class CallIndex {
 public:
  // Reads the whole buffer again: its lines of the QSO record's shape are its records.
  void rebuild(std::string_view logBuffer);
  // Follows one change of the buffer, now `logBuffer`: the records of the lines it touched leave
  // the index and those of the lines standing there now enter it. False, and the index is to be
  // rebuilt, when the change did not keep what it removed.
  [[nodiscard]] bool follow(std::string_view logBuffer, const Field::Change& change);

  // Whether `call`, compared as normalizedCall, is the call of a record. An empty call never is.
  [[nodiscard]] bool holds(std::string_view call) const;
  // The records that are not marked as duplicates.
  [[nodiscard]] std::size_t contacts() const { return m_contacts; }

 private:
  // Adds (`step` 1) or takes out (-1) the records of whole lines.
  void count(std::string_view lines, int step);

  CallCounts m_calls;
  std::size_t m_contacts = 0;
};

}  // namespace vantor
