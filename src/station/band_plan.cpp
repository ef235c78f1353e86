#include "station/band_plan.h"

#include <algorithm>
#include <array>

namespace vantor {
namespace {

struct BandEdges {
  std::string_view code;
  std::int64_t lowHz;
  std::int64_t highHz;
};

constexpr std::int64_t kMHz = 1'000'000;

constexpr std::array<BandEdges, 7> kRegion1 = {{
    {"50", 50 * kMHz, 52 * kMHz},
    {"144", 144 * kMHz, 146 * kMHz},
    {"432", 430 * kMHz, 440 * kMHz},
    {"1296", 1240 * kMHz, 1300 * kMHz},
    {"2320", 2300 * kMHz, 2450 * kMHz},
    {"5700", 5650 * kMHz, 5850 * kMHz},
    {"10G", 10000 * kMHz, 10500 * kMHz},
}};

}  // namespace

bool outsideBand(std::string_view code, std::int64_t hz) {
  const auto band = std::ranges::find(kRegion1, code, &BandEdges::code);
  return band != kRegion1.end() && (hz < band->lowHz || hz > band->highHz);
}

std::string frequencyText(std::int64_t hz) {
  constexpr std::int64_t kStep = 100;
  constexpr std::int64_t kStepsPerMHz = kMHz / kStep;
  const std::int64_t magnitude = hz < 0 ? -hz : hz;
  const std::int64_t steps = (magnitude + kStep / 2) / kStep;
  std::string fraction = std::to_string(steps % kStepsPerMHz);
  fraction.insert(0, 4 - fraction.size(), '0');
  return (hz < 0 && steps != 0 ? "-" : "") + std::to_string(steps / kStepsPerMHz) + '.' + fraction;
}

std::int64_t onAirFrequency(const StationSettings& settings, std::string_view code,
                            std::int64_t rigHz) {
  const auto offset = settings.transverterOffsets.find(std::string(code));
  return offset == settings.transverterOffsets.end() ? rigHz : rigHz + offset->second;
}

}  // namespace vantor
