#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

namespace vantor {

// The calls of the QSO records in the log buffer, so that the duplicate test of each keystroke in
// the call field is one lookup however long the log is.
class CallIndex {
 public:
  // Reads the whole buffer again: its lines of the QSO record's shape are its records.
  void rebuild(std::string_view logBuffer);
  // The record an insertion has just appended to the buffer.
  void add(std::string_view call, bool duplicate);

  // Whether `call`, compared as normalizedCall, is the call of a record. An empty call never is.
  [[nodiscard]] bool holds(std::string_view call) const;
  // The records that are not marked as duplicates.
  [[nodiscard]] std::size_t contacts() const { return m_contacts; }

 private:
  std::unordered_set<std::string> m_calls;
  std::size_t m_contacts = 0;
};

}  // namespace vantor
