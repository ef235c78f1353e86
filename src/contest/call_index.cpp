#include "contest/call_index.h"

#include <string>

#include "contest/contact_rules.h"

namespace vantor {

void CallIndex::count(std::string_view call, int step) {
  if (call.empty()) {
    return;
  }
  if (step > 0) {
    m_calls.add(call);
  } else {
    m_calls.remove(call);
  }
}

bool CallIndex::holds(std::string_view call) const {
  const std::string normalized = normalizedCall(call);
  return !normalized.empty() && m_calls.contains(normalized);
}

}  // namespace vantor
