#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <string_view>

#include "geo/bearing_form.h"
#include "geo/locator.h"
#include "support/fakes.h"

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

// The same contacts as the log screen asks for their distance: through the hidden screen, whose
// fields take every result.
void distanceThroughTheBearingForm(benchmark::State& state) {
  vantor::testing::RecordingDialogs dialogs;
  dialogs.recording = false;
  vantor::BearingForm form(dialogs, [] {});
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(form.distanceTo(kOtherLocators[next]));
    next = (next + 1) % kOtherLocators.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(distanceThroughTheBearingForm);

// The yardstick for the calculator: the plainest great-circle distance and initial bearing in
// double, from points worked out beforehand, rounded to whole kilometres and degrees.
struct Radians {
  double latitude;
  double longitude;
};

Radians radiansOf(vantor::GeoPoint point) {
  constexpr double kPerDegree = 3.14159265358979323846 / 180;
  return {point.latitude * kPerDegree, point.longitude * kPerDegree};
}

void bareDistanceAndBearing(benchmark::State& state) {
  constexpr double kEarthRadius = 6371.0;
  constexpr double kDegreesPerRadian = 180 / 3.14159265358979323846;
  const Radians home = radiansOf(vantor::locatorToPoint("JN81GD"));
  std::array<Radians, kOtherLocators.size()> others{};
  for (std::size_t i = 0; i < others.size(); ++i) {
    others[i] = radiansOf(vantor::locatorToPoint(vantor::preparedLocator(kOtherLocators[i])));
  }
  std::size_t next = 0;
  for (auto _ : state) {
    const Radians other = others[next];
    const double deltaLongitude = other.longitude - home.longitude;
    const double angle =
        std::acos(std::sin(home.latitude) * std::sin(other.latitude) +
                  std::cos(home.latitude) * std::cos(other.latitude) * std::cos(deltaLongitude));
    const double bearing = std::atan2(
        std::sin(deltaLongitude) * std::cos(other.latitude),
        std::cos(home.latitude) * std::sin(other.latitude) -
            std::sin(home.latitude) * std::cos(other.latitude) * std::cos(deltaLongitude));
    const auto kilometres = static_cast<int>(std::lround(kEarthRadius * angle));
    const auto degrees =
        static_cast<int>(std::lround(std::fmod(bearing * kDegreesPerRadian + 360, 360)));
    benchmark::DoNotOptimize(kilometres);
    benchmark::DoNotOptimize(degrees);
    next = (next + 1) % others.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(bareDistanceAndBearing);

}  // namespace
