#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "station/band_plan.h"
#include "station/station_link.h"
#include "support/hamlib_daemon.h"

namespace {

using vantor::testing::HamlibDaemon;

// What the log window's poll timer does with each reading: the frequency on the air, its text and
// whether it lies outside the band logged.
std::size_t showOnTheLogScreen(const vantor::StationSettings& settings,
                               const vantor::StationReading& reading) {
  const std::int64_t hz = vantor::onAirFrequency(settings, "432", reading.rig.frequencyHz);
  const std::string text = vantor::frequencyText(hz);
  return text.size() + (vantor::outsideBand("432", hz) ? 1 : 0) + reading.rig.mode.size();
}

// The window's poll while the link's threads poll a real rigctld and rotctld of the dummy models
// (a 432 MHz transverter on a rig at 144 MHz, the rotator turning): a copy of the reading under
// the link's lock and the screen's work with it.
void StationPoll(benchmark::State& state) {
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  static_cast<void>(rig.command("F 144300000"));
  vantor::StationSettings settings;
  settings.rig = {vantor::kNetRigctlModel, rig.address()};
  settings.rotator = {vantor::kNetRotctlModel, rotator.address()};
  settings.transverterOffsets = {{"432", 288'000'000}};
  vantor::StationLink link;
  link.configure(settings);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (link.reading().rig.state != vantor::LinkState::Connected &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (link.reading().rig.state != vantor::LinkState::Connected) {
    state.SkipWithError("the rig daemon does not answer");
    return;
  }
  link.turnTo(180);
  for (auto _ : state) {
    benchmark::DoNotOptimize(showOnTheLogScreen(settings, link.reading()));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StationPoll);

// The plainest code doing the same work: the same reading copied under a mutex no thread shares,
// the frequency printed with printf and compared with the band's edges.
void PlainStationPoll(benchmark::State& state) {
  std::mutex mutex;
  vantor::StationReading shared;
  shared.rig = {vantor::LinkState::Connected, 144'300'000, "SSB", {}};
  shared.rotator = {vantor::LinkState::Connected, 123.5, {}};
  for (auto _ : state) {
    vantor::StationReading reading;
    {
      const std::lock_guard lock(mutex);
      reading = shared;
    }
    const std::int64_t hz = reading.rig.frequencyHz + 288'000'000;
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%.4f", static_cast<double>(hz) / 1e6);
    const bool outside = hz < 430'000'000 || hz > 440'000'000;
    benchmark::DoNotOptimize(length + (outside ? 1 : 0) + reading.rig.mode.size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlainStationPoll);

}  // namespace
