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
  // `beginning`, and while those are fewer, up to `limit` others into `holding`. Only the calls
  // that hold the fragment's rarest trigram are looked at.
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
  static constexpr std::size_t kTrigram = 3;
  [[nodiscard]] static std::uint32_t trigramAt(std::string_view text, std::size_t at);
  // A call newly held joins the list the searches read, and its trigrams' lists.
  void listCall(std::string_view call) const;
  [[nodiscard]] std::string_view listedCall(std::uint32_t index) const;
  // Writes the lists anew from the table, after a call left it.
  void relist() const;

  std::vector<Slot> m_slots;
  std::size_t m_used = 0;
  std::unordered_map<std::string, std::size_t> m_longCalls;
  // The search's lists: the calls held, each ended by a line feed, where each starts, and for
  // each trigram the calls that hold it. A call that leaves the table makes them stale, and the
  // next search writes them anew.
  mutable std::string m_list;
  mutable std::vector<std::size_t> m_starts;
  mutable std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> m_trigrams;
  mutable bool m_listStale = true;
};

}  // namespace vantor
