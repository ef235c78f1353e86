#include "log/call_index.h"

#include "form/text.h"
#include "log/log_rules.h"
#include "log/qso_line.h"

namespace vantor {

void CallIndex::rebuild(std::string_view logBuffer) {
  m_calls.clear();
  m_contacts = 0;
  forEachLine(logBuffer, [this](std::string_view line) {
    if (const auto fields = readQsoRecord(line)) {
      add((*fields)[qso::call], isDuplicateRecord(*fields));
    }
  });
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
