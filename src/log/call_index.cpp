#include "log/call_index.h"

#include "form/text.h"
#include "log/log_rules.h"
#include "log/qso_line.h"

namespace vantor {

void CallIndex::rebuild(std::string_view logBuffer) {
  m_calls.clear();
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
    std::string call = normalizedCall((*fields)[qso::call]);
    if (call.empty()) {
      return;
    }
    if (step > 0) {
      ++m_calls[std::move(call)];
    } else if (const auto found = m_calls.find(call);
               found != m_calls.end() && --found->second == 0) {
      m_calls.erase(found);
    }
  });
}

bool CallIndex::holds(std::string_view call) const {
  const std::string normalized = normalizedCall(call);
  return !normalized.empty() && m_calls.contains(normalized);
}

}  // namespace vantor
