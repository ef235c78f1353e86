#include "contest/call_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The calls that hold a fragment, against a plain scan of the calls held, while calls come and go
// (a call that leaves has the search's lists written anew): every call found holds the fragment,
// those beginning with it apart, and none is missed while fewer than the limit begin with it.
TEST(CallCounts, FindTheCallsThatHoldAFragmentAsAPlainScanDoes) {
  std::vector<std::string> calls;
  for (int i = 0; i < 2000; ++i) {
    calls.push_back("Q" + std::string(1, static_cast<char>('A' + i % 5)) + std::to_string(i % 10) +
                    std::string(1, static_cast<char>('A' + i / 10 % 26)) +
                    (i % 7 == 0 ? "/P" : "") + (i % 50 == 0 ? "/LONGER-THAN-15" : ""));
  }
  const std::vector<std::string> fragments = {"QA1",  "A1B", "1BQ",    "/P",      "Q",
                                              "QB7C", "ZZZ", "QA1B/P", "/LONGER", "C3"};
  std::mt19937 random(7);
  CallCounts table;
  std::map<std::string, int> plain;
  for (int step = 0; step < 6000; ++step) {
    const std::string& call = calls[random() % calls.size()];
    if (step % 4 != 3) {
      table.add(call);
      ++plain[call];
    } else if (plain[call] > 0) {
      table.remove(call);
      --plain[call];
    }
    if (step % 500 != 499) {
      continue;
    }
    for (const std::string& fragment : fragments) {
      std::vector<std::string> beginning;
      std::vector<std::string> holding;
      table.findHolding(fragment, 1000, beginning, holding);
      std::vector<std::string> expectedBeginning;
      std::vector<std::string> expectedHolding;
      for (const auto& [each, count] : plain) {
        const std::size_t at = count > 0 ? each.find(fragment) : std::string::npos;
        (at == 0 ? expectedBeginning : expectedHolding).push_back(each);
        if (at == std::string::npos) {
          expectedHolding.pop_back();
        }
      }
      std::sort(beginning.begin(), beginning.end());
      std::sort(holding.begin(), holding.end());
      EXPECT_EQ(beginning, expectedBeginning) << fragment << " at step " << step;
      EXPECT_EQ(holding, expectedHolding) << fragment << " at step " << step;
    }
  }
}

}  // namespace
}  // namespace vantor
