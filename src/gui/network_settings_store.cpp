#include "gui/network_settings_store.h"

#include "gui/field_binder.h"

namespace vantor::gui {

NetworkSettings loadNetworkSettings(QSettings& settings) {
  NetworkSettings network;
  network.station = toUtf8(settings.value(QStringLiteral("rete/stazione")).toString());
  network.hubAddress = toUtf8(settings.value(QStringLiteral("rete/hub")).toString());
  return networkSettingsProblem(network) ? NetworkSettings{} : network;
}

void saveNetworkSettings(QSettings& settings, const NetworkSettings& network) {
  settings.setValue(QStringLiteral("rete/stazione"), toQString(network.station));
  settings.setValue(QStringLiteral("rete/hub"), toQString(network.hubAddress));
}

}  // namespace vantor::gui
