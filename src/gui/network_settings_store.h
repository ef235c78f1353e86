#pragma once

#include <QSettings>

#include "app/club_network.h"

namespace vantor::gui {

// The "Rete" settings as the program keeps them: "rete/stazione" and "rete/hub". Settings that
// are not right (a name typed into the file by hand) read as working alone.
[[nodiscard]] NetworkSettings loadNetworkSettings(QSettings& settings);
void saveNetworkSettings(QSettings& settings, const NetworkSettings& network);

}  // namespace vantor::gui
