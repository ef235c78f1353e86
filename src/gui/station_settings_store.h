#pragma once

#include <QSettings>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

#include "header/contest_catalogue.h"
#include "station/station_settings.h"

namespace vantor::gui {

// The station's settings as the program keeps them: the groups "radio" and "rotore" (modello,
// porta, velocita) and "transverter", one offset in Hz by band code ("transverter/432").
// A device whose model is missing or no number reads as not configured, a speed that is no
// number as the model's own, an offset that is no number or of an unknown band as none. A model
// number hamlib's list does not hold is kept as it is.
[[nodiscard]] StationSettings loadStationSettings(QSettings& settings);
// Replaces what the groups held: a device not configured and a band without an offset leave no
// key behind.
void saveStationSettings(QSettings& settings, const StationSettings& station);

// The bands a transverter may be set up for: the catalogue's, up to 10 GHz.
[[nodiscard]] std::span<const catalogue::Band> transverterBands();

// No transverter adds or takes more than this.
inline constexpr std::int64_t kMaxTransverterOffsetHz = 100'000'000'000;

// An offset as the operator types it in MHz, "288", "-94" or "288,5" (a comma or a point before
// at most six decimals), in Hz; nothing for any other text, the empty one included.
[[nodiscard]] std::optional<std::int64_t> offsetFromText(const QString& text);
// An offset in Hz as the operator reads it in MHz, without trailing zeros: "288", "288.5".
[[nodiscard]] QString offsetText(std::int64_t hz);

}  // namespace vantor::gui
