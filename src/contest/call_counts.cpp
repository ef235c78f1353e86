#include "contest/call_counts.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace vantor {

namespace {

constexpr std::size_t kFirstSlots = 64;

// The table grows before it is seven eighths full, so a probe always meets a free slot.
bool isCrowded(std::size_t used, std::size_t slots) {
  return (used + 1) * 8 > slots * 7;
}

}  // namespace

void CallCounts::add(std::string_view call) {
  if (call.size() > kInlineCall) {
    ++m_longCalls[std::string(call)];
    return;
  }
  if (isCrowded(m_used, m_slots.size())) {
    resize(std::max(kFirstSlots, m_slots.size() * 2));
  }
  Slot& slot = m_slots[slotOf(call)];
  if (slot.count == 0) {
    std::copy(call.begin(), call.end(), slot.bytes.begin());
    slot.length = static_cast<std::uint8_t>(call.size());
    ++m_used;
  }
  ++slot.count;
}

void CallCounts::remove(std::string_view call) {
  if (call.size() > kInlineCall) {
    if (const auto found = m_longCalls.find(std::string(call));
        found != m_longCalls.end() && --found->second == 0) {
      m_longCalls.erase(found);
    }
    return;
  }
  if (m_slots.empty()) {
    return;
  }
  const std::size_t slot = slotOf(call);
  if (m_slots[slot].count != 0 && --m_slots[slot].count == 0) {
    takeOut(slot);
  }
}

bool CallCounts::contains(std::string_view call) const {
  if (call.size() > kInlineCall) {
    return m_longCalls.contains(std::string(call));
  }
  return !m_slots.empty() && m_slots[slotOf(call)].count != 0;
}

void CallCounts::findHolding(std::string_view fragment, std::size_t limit,
                             std::vector<std::string>& beginning,
                             std::vector<std::string>& holding) const {
  const auto take = [&](std::string_view call) {
    const std::size_t at = call.find(fragment);
    if (at == 0) {
      beginning.emplace_back(call);
    } else if (at != std::string_view::npos && holding.size() < limit) {
      holding.emplace_back(call);
    }
    return beginning.size() < limit;
  };
  for (const Slot& slot : m_slots) {
    if (slot.count != 0 && !take(slot.call())) {
      return;
    }
  }
  for (const auto& [call, count] : m_longCalls) {
    if (!take(call)) {
      return;
    }
  }
}

void CallCounts::clear(std::size_t calls) {
  m_slots = {};
  m_used = 0;
  m_longCalls.clear();
  std::size_t slots = kFirstSlots;
  while (isCrowded(calls, slots)) {
    slots *= 2;
  }
  resize(slots);
}

std::size_t CallCounts::homeOf(std::string_view call) const {
  return std::hash<std::string_view>{}(call) & (m_slots.size() - 1);
}

std::size_t CallCounts::slotOf(std::string_view call) const {
  const std::size_t mask = m_slots.size() - 1;
  std::size_t slot = homeOf(call);
  while (m_slots[slot].count != 0 && m_slots[slot].call() != call) {
    slot = (slot + 1) & mask;
  }
  return slot;
}

void CallCounts::resize(std::size_t slots) {
  std::vector<Slot> old(slots);
  std::swap(old, m_slots);
  for (const Slot& slot : old) {
    if (slot.count != 0) {
      m_slots[slotOf(slot.call())] = slot;
    }
  }
}

void CallCounts::takeOut(std::size_t slot) {
  const std::size_t mask = m_slots.size() - 1;
  std::size_t hole = slot;
  for (std::size_t next = (hole + 1) & mask; m_slots[next].count != 0; next = (next + 1) & mask) {
    // The call at `next` moves up when the hole lies on its way from its home slot.
    const std::size_t fromHome = (next - homeOf(m_slots[next].call())) & mask;
    if (fromHome >= ((next - hole) & mask)) {
      m_slots[hole] = m_slots[next];
      hole = next;
    }
  }
  m_slots[hole] = Slot{};
  --m_used;
}

}  // namespace vantor
