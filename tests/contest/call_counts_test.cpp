#include "contest/call_counts.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace vantor {
namespace {

// Random records added and taken out, over enough calls for the table to grow several times and
// for calls to share probe runs, short and long alike: after every step the table holds exactly
// the calls a plain count holds, each as many times.
TEST(CallCounts, HoldExactlyTheCallsOfThePlainCount) {
  std::vector<std::string> calls;
  for (int i = 0; i < 3000; ++i) {
    const std::string call = "Q" + std::to_string(i * 7919);
    calls.push_back(i % 10 == 0 ? call + "/LONGER-THAN-15" : call);
  }
  calls.emplace_back(15, 'X');
  calls.emplace_back(16, 'X');
  std::mt19937 random(2026);
  std::uniform_int_distribution<std::size_t> pick(0, calls.size() - 1);
  CallCounts table;
  std::map<std::string, int> plain;
  for (int step = 0; step < 40000; ++step) {
    const std::string& call = calls[pick(random)];
    // More adds than removals early on, the reverse later, so the table fills and empties.
    if ((step < 20000) == (step % 3 != 0)) {
      table.add(call);
      ++plain[call];
    } else {
      table.remove(call);
      if (plain[call] > 0) {
        --plain[call];
      }
    }
    if (step % 997 == 0 || step == 39999) {
      for (const std::string& each : calls) {
        ASSERT_EQ(table.contains(each), plain[each] > 0) << each << " at step " << step;
      }
    }
  }
  table.clear(10);
  for (const std::string& each : calls) {
    EXPECT_FALSE(table.contains(each)) << each;
  }
}

}  // namespace
}  // namespace vantor
