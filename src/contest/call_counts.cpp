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
    if (++m_longCalls[std::string(call)] == 1) {
      listCall(call);
    }
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
    listCall(call);
  }
  ++slot.count;
}

void CallCounts::remove(std::string_view call) {
  if (call.size() > kInlineCall) {
    if (const auto found = m_longCalls.find(std::string(call));
        found != m_longCalls.end() && --found->second == 0) {
      m_longCalls.erase(found);
      m_listStale = true;
    }
    return;
  }
  if (m_slots.empty()) {
    return;
  }
  const std::size_t slot = slotOf(call);
  if (m_slots[slot].count != 0 && --m_slots[slot].count == 0) {
    takeOut(slot);
    m_listStale = true;
  }
}

bool CallCounts::contains(std::string_view call) const {
  if (call.size() > kInlineCall) {
    return m_longCalls.contains(std::string(call));
  }
  return !m_slots.empty() && m_slots[slotOf(call)].count != 0;
}

// The three bytes from `at` as one number.
std::uint32_t CallCounts::trigramAt(std::string_view text, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at])) << 16U |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 1])) << 8U |
         static_cast<unsigned char>(text[at + 2]);
}

void CallCounts::listCall(std::string_view call) const {
  if (m_listStale) {
    return;
  }
  const auto index = static_cast<std::uint32_t>(m_starts.size());
  m_starts.push_back(m_list.size());
  m_list.append(call);
  m_list += '\n';
  for (std::size_t at = 0; at + kTrigram <= call.size(); ++at) {
    std::vector<std::uint32_t>& calls = m_trigrams[trigramAt(call, at)];
    if (calls.empty() || calls.back() != index) {
      calls.push_back(index);
    }
  }
}

std::string_view CallCounts::listedCall(std::uint32_t index) const {
  const std::size_t start = m_starts[index];
  return std::string_view(m_list).substr(start, m_list.find('\n', start) - start);
}

void CallCounts::findHolding(std::string_view fragment, std::size_t limit,
                             std::vector<std::string>& beginning,
                             std::vector<std::string>& holding) const {
  if (fragment.empty() || fragment.find('\n') != std::string_view::npos) {
    return;
  }
  if (m_listStale) {
    relist();
  }
  const auto take = [&](std::string_view call) {
    const std::size_t at = call.find(fragment);
    if (at == 0) {
      beginning.emplace_back(call);
    } else if (at != std::string_view::npos && holding.size() < limit) {
      holding.emplace_back(call);
    }
    return beginning.size() < limit;
  };
  // Only the calls that hold the fragment's rarest trigram can hold the fragment.
  const std::vector<std::uint32_t>* fewest = nullptr;
  for (std::size_t at = 0; at + kTrigram <= fragment.size(); ++at) {
    const auto found = m_trigrams.find(trigramAt(fragment, at));
    if (found == m_trigrams.end()) {
      return;
    }
    if (fewest == nullptr || found->second.size() < fewest->size()) {
      fewest = &found->second;
    }
  }
  if (fewest != nullptr) {
    for (const std::uint32_t index : *fewest) {
      if (!take(listedCall(index))) {
        return;
      }
    }
    return;
  }
  for (std::uint32_t index = 0; index < m_starts.size() && take(listedCall(index)); ++index) {
  }
}

void CallCounts::relist() const {
  m_list.clear();
  m_starts.clear();
  m_trigrams.clear();
  m_listStale = false;
  for (const Slot& slot : m_slots) {
    if (slot.count != 0) {
      listCall(slot.call());
    }
  }
  for (const auto& [call, count] : m_longCalls) {
    listCall(call);
  }
}

void CallCounts::clear(std::size_t calls) {
  m_slots = {};
  m_used = 0;
  m_longCalls.clear();
  // The list is written when first searched: a log read whole adds all its calls at once.
  m_listStale = true;
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
