#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "geo/locator.h"

namespace {

// Contacts as a contest brings them: near and far, a short locator, lower case, an invalid one.
constexpr std::array<std::string_view, 8> kOtherLocators = {"JN61FU", "KN02AA", "JN81",   "JM81GD",
                                                            "jn45ox", "IO91WM", "QF22LL", "JNX1GD"};

void calculateBearingCalls(benchmark::State& state) {
  std::size_t next = 0;
  for (auto _ : state) {
    auto result = vantor::calculateBearing("JN81GD", kOtherLocators[next]);
    benchmark::DoNotOptimize(result);
    next = (next + 1) % kOtherLocators.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(calculateBearingCalls);

}  // namespace
