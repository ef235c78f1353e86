#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "known_calls.h"
#include "support/temp_folder.h"

// The known stations' searches in a store of 200,000 calls, beside a plain scan of the same calls
// held in memory.

namespace {

using vantor::bench::kKnownCalls;

// The fragments searched: one that 10,000 calls begin with, one that many calls hold but few begin
// with, longer ones whose trigrams are common but which few calls hold, and one no call holds.
constexpr std::string_view kFragments[] = {"QQ1", "Q1A", "QQ1AB", "1ABC", "AB/P", "QQZ"};
constexpr std::size_t kShown = 30;

struct KnownFixture {
  vantor::testing::TempFolder folder;
  std::vector<vantor::KnownStation> stations = vantor::bench::knownStations(kKnownCalls);
  std::unique_ptr<vantor::KnownStore> store;

  KnownFixture() {
    const auto file = folder.path() / "stazioni.sqlite";
    if (vantor::bench::makeKnownStore(file, kKnownCalls)) {
      store = vantor::KnownStore::open(file, vantor::KnownStore::Access::Read).store;
    }
  }
};

KnownFixture& known() {
  static KnownFixture fixture;
  return fixture;
}

void KnownCallsHolding(benchmark::State& state) {
  KnownFixture& fixture = known();
  if (!fixture.store) {
    state.SkipWithError("the store could not be made");
    return;
  }
  const std::string fragment(kFragments[static_cast<std::size_t>(state.range(0))]);
  state.SetLabel(fragment);
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.store->callsHolding(fragment, kShown));
  }
}
BENCHMARK(KnownCallsHolding)
    ->DenseRange(0, std::size(kFragments) - 1)
    ->Unit(benchmark::kMicrosecond);

// The baseline: every call looked at for the fragment, those that begin with it sorted first.
void PlainScanCallsHolding(benchmark::State& state) {
  const KnownFixture& fixture = known();
  const std::string fragment(kFragments[static_cast<std::size_t>(state.range(0))]);
  state.SetLabel(fragment);
  for (auto _ : state) {
    std::vector<std::string> beginning;
    std::vector<std::string> holding;
    for (const vantor::KnownStation& station : fixture.stations) {
      const std::size_t at = station.call.find(fragment);
      if (at == 0) {
        beginning.push_back(station.call);
      } else if (at != std::string::npos && holding.size() < kShown) {
        holding.push_back(station.call);
      }
    }
    std::partial_sort(
        beginning.begin(),
        beginning.begin() + static_cast<std::ptrdiff_t>(std::min(kShown, beginning.size())),
        beginning.end());
    benchmark::DoNotOptimize(beginning);
    benchmark::DoNotOptimize(holding);
  }
}
BENCHMARK(PlainScanCallsHolding)
    ->DenseRange(0, std::size(kFragments) - 1)
    ->Unit(benchmark::kMicrosecond);

// A call's known locators, the latest first.
void KnownLocatorsOf(benchmark::State& state) {
  KnownFixture& fixture = known();
  if (!fixture.store) {
    state.SkipWithError("the store could not be made");
    return;
  }
  const std::string call = fixture.stations[kKnownCalls / 2 - kKnownCalls / 2 % 3].call;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.store->locatorsOf(call));
  }
}
BENCHMARK(KnownLocatorsOf)->Unit(benchmark::kMicrosecond);

void PlainScanLocatorsOf(benchmark::State& state) {
  const KnownFixture& fixture = known();
  const std::string call = fixture.stations[kKnownCalls / 2 - kKnownCalls / 2 % 3].call;
  for (auto _ : state) {
    std::vector<const vantor::KnownStation*> found;
    for (const vantor::KnownStation& station : fixture.stations) {
      if (station.call == call && !station.locator.empty()) {
        found.push_back(&station);
      }
    }
    std::sort(found.begin(), found.end(),
              [](const auto* a, const auto* b) { return a->lastSeen > b->lastSeen; });
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(PlainScanLocatorsOf)->Unit(benchmark::kMicrosecond);

}  // namespace
