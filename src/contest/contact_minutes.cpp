#include "contest/contact_minutes.h"

namespace vantor {

void ContactMinutes::count(std::int64_t minute, int step) {
  if (step > 0) {
    ++m_counts[minute];
    return;
  }
  const auto found = m_counts.find(minute);
  if (found != m_counts.end() && --found->second == 0) {
    m_counts.erase(found);
  }
}

std::size_t ContactMinutes::within(std::int64_t now, int minutes) const {
  std::size_t contacts = 0;
  for (std::int64_t minute = now - minutes + 1; minute <= now; ++minute) {
    if (const auto found = m_counts.find(minute); found != m_counts.end()) {
      contacts += found->second;
    }
  }
  return contacts;
}

}  // namespace vantor
