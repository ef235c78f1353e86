#include "log/call_index.h"

#include "form/text.h"
#include "log/log_rules.h"
#include "log/qso_line.h"

namespace vantor {

void CallIndex::rebuild(std::string_view logBuffer) {
  m_calls.clear();
  m_contacts = 0;
  for (std::size_t from = 0; from < logBuffer.size();) {
    const std::size_t end = std::min(logBuffer.find(kLineEnd, from), logBuffer.size());
    if (const auto fields = readQsoRecord(logBuffer.substr(from, end - from))) {
      add((*fields)[qso::call], isDuplicateRecord(*fields));
    }
    from = end + kLineEnd.size();
  }
}

void CallIndex::add(std::string_view call, bool duplicate) {
  if (std::string normalized = normalizedCall(call); !normalized.empty()) {
    m_calls.insert(std::move(normalized));
  }
  if (!duplicate) {
    ++m_contacts;
  }
}

bool CallIndex::holds(std::string_view call) const {
  const std::string normalized = normalizedCall(call);
  return !normalized.empty() && m_calls.contains(normalized);
}

}  // namespace vantor
