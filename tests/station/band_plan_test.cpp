#include "station/band_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {
namespace {

struct BandCase {
  std::string_view code;
  std::int64_t hz;
  bool outside;
};

// Each band's edges are in the band; a hertz beyond either is not; a rig left on 144 MHz while the
// log is on 432 is outside.
TEST(OutsideBand, GoesByTheRegion1EdgesOfTheBandCode) {
  constexpr BandCase kCases[] = {
      {"50", 50'150'000, false},      {"50", 52'000'001, true},
      {"144", 144'000'000, false},    {"144", 146'000'000, false},
      {"144", 143'999'999, true},     {"144", 146'000'001, true},
      {"432", 432'200'000, false},    {"432", 144'300'000, true},
      {"432", 429'999'999, true},     {"1296", 1'240'000'000, false},
      {"1296", 1'300'000'001, true},  {"2320", 2'320'200'000, false},
      {"2320", 2'450'000'001, true},  {"5700", 5'760'100'000, false},
      {"5700", 5'649'999'999, true},  {"10G", 10'368'100'000, false},
      {"10G", 10'500'000'001, true},  {"10G", 9'999'999'999, true},
      {"24G", 24'048'100'000, false}, {"", 1, false},
  };
  for (const BandCase& band : kCases) {
    EXPECT_EQ(outsideBand(band.code, band.hz), band.outside) << band.code << ' ' << band.hz;
  }
}

TEST(FrequencyText, ShowsMegahertzToTheNearest100Hz) {
  const std::pair<std::int64_t, std::string_view> kCases[] = {
      {144'300'000, "144.3000"}, {144'300'049, "144.3000"},
      {144'300'050, "144.3001"}, {144'299'950, "144.3000"},
      {144'999'950, "145.0000"}, {432'210'500, "432.2105"},
      {50'000'000, "50.0000"},   {10'368'100'000, "10368.1000"},
      {999, "0.0010"},           {0, "0.0000"},
      {-1'500'000, "-1.5000"},
  };
  for (const auto& [hz, text] : kCases) {
    EXPECT_EQ(frequencyText(hz), text) << hz;
  }
}

// A 432 MHz transverter driven at 144 MHz adds 288 MHz; a band without one goes out as the rig.
TEST(OnAirFrequency, AddsTheTransverterOffsetOfTheBandOnly) {
  StationSettings settings;
  settings.transverterOffsets = {{"432", 288'000'000}, {"10G", 10'224'000'000}};
  EXPECT_EQ(onAirFrequency(settings, "432", 144'210'000), 432'210'000);
  EXPECT_EQ(onAirFrequency(settings, "10G", 144'100'000), 10'368'100'000);
  EXPECT_EQ(onAirFrequency(settings, "144", 144'300'000), 144'300'000);
  EXPECT_EQ(onAirFrequency(StationSettings{}, "432", 432'200'000), 432'200'000);
}

}  // namespace
}  // namespace vantor
