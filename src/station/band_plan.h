#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "station/station_settings.h"

namespace vantor {

// Whether `hz` lies outside the IARU Region 1 edges of the band of that code ("144": 144 to 146
// MHz, edges included). A code the plan does not know is never outside.
[[nodiscard]] bool outsideBand(std::string_view code, std::int64_t hz);

// The frequency in MHz to the nearest 100 Hz, with a point: "144.3000", "10368.1000".
[[nodiscard]] std::string frequencyText(std::int64_t hz);

// What goes on the air on that band: the rig's frequency plus the band's transverter offset.
[[nodiscard]] std::int64_t onAirFrequency(const StationSettings& settings, std::string_view code,
                                          std::int64_t rigHz);

}  // namespace vantor
