#include "contest/call_index.h"

#include <algorithm>
#include <string>

#include "contest/contact_rules.h"
#include "contest/qso_line.h"
#include "form/text.h"

namespace vantor {

namespace {

// A record line holds at least its date, its time and the separators of its fields.
constexpr std::size_t kShortestRecord = 6 + 4 + (kQsoRecordFieldCount - 1);

// How many records the buffer can hold: no more than its lines, nor than its bytes allow.
std::size_t mostRecords(std::string_view logBuffer) {
  const auto lines =
      static_cast<std::size_t>(std::count(logBuffer.begin(), logBuffer.end(), '\n')) + 1;
  return std::min(lines, logBuffer.size() / kShortestRecord + 1);
}

}  // namespace

void CallIndex::rebuild(std::string_view logBuffer) {
  m_calls.clear(mostRecords(logBuffer));
  m_contacts = 0;
  count(logBuffer, 1);
}

// The lines touched run from the start of the line the change begins in to the first line end
// behind it; the text before and behind those lines is the same as before the change.
bool CallIndex::follow(std::string_view logBuffer, const Field::Change& change) {
  if (!change.removedKept) {
    return false;
  }
  const std::size_t changeEnd = change.at + change.inserted;
  const auto lineBefore = logBuffer.substr(0, change.at).rfind(kLineEnd);
  const std::size_t from = lineBefore == std::string_view::npos ? 0 : lineBefore + kLineEnd.size();
  const auto lineAfter = logBuffer.find(kLineEnd, changeEnd);
  const std::size_t to =
      lineAfter == std::string_view::npos ? logBuffer.size() : lineAfter + kLineEnd.size();
  std::string before(logBuffer.substr(from, change.at - from));
  before += change.removed;
  before += logBuffer.substr(changeEnd, to - changeEnd);
  count(before, -1);
  count(logBuffer.substr(from, to - from), 1);
  return true;
}

void CallIndex::count(std::string_view lines, int step) {
  forEachLine(lines, [this, step](std::string_view line) {
    const auto fields = readQsoRecord(line);
    if (!fields) {
      return;
    }
    if (!isDuplicateRecord(*fields)) {
      m_contacts += static_cast<std::size_t>(step);
    }
    const std::string call = normalizedCall((*fields)[qso::call]);
    if (call.empty()) {
      return;
    }
    if (step > 0) {
      m_calls.add(call);
    } else {
      m_calls.remove(call);
    }
  });
}

bool CallIndex::holds(std::string_view call) const {
  const std::string normalized = normalizedCall(call);
  return !normalized.empty() && m_calls.contains(normalized);
}

}  // namespace vantor
