#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantor {

// How many records hold each call. A call of up to 15 bytes, as nearly every call is, lives in
// its slot of one flat table, with no allocation of its own: 100,000 calls take about 2.6 MB,
// a third of what a hash node for each would take. Longer calls are kept apart.
class CallCounts {
 public:
  void add(std::string_view call);
  // Takes one record of the call out; a call the table does not hold is left alone.
  void remove(std::string_view call);
  [[nodiscard]] bool contains(std::string_view call) const;
  // The calls that hold `fragment`, in no order: up to `limit` that begin with it into
  // `beginning`, and while those are fewer, up to `limit` others into `holding`.
  void findHolding(std::string_view fragment, std::size_t limit,
                   std::vector<std::string>& beginning, std::vector<std::string>& holding) const;
  // Empties the table and makes room for that many calls at once: a table grown a step at a time
  // leaves each smaller one behind as a hole in the program's memory.
  void clear(std::size_t calls);

 private:
  static constexpr std::size_t kInlineCall = 15;
  struct Slot {
    std::array<char, kInlineCall> bytes{};
    std::uint8_t length = 0;
    // The records that hold the call; 0 marks a free slot. A log buffer cannot hold 2^32
    // records: each takes over ten bytes of it.
    std::uint32_t count = 0;

    [[nodiscard]] std::string_view call() const { return {bytes.data(), length}; }
  };

  [[nodiscard]] std::size_t homeOf(std::string_view call) const;
  // The slot that holds the call, or the free slot where it would go.
  [[nodiscard]] std::size_t slotOf(std::string_view call) const;
  void resize(std::size_t slots);
  // Frees a slot and moves up the calls behind it that probed past it, so no lookup stops short.
  void takeOut(std::size_t slot);

  std::vector<Slot> m_slots;
  std::size_t m_used = 0;
  std::unordered_map<std::string, std::size_t> m_longCalls;
};

}  // namespace vantor
