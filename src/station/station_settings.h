#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantor {

// A rig or a rotator as hamlib knows it: its model number and the port it answers on.
struct DeviceSettings {
  int model = 0;     // hamlib's model number; 0 when none is configured
  std::string port;  // a serial device ("/dev/ttyUSB0"), or host:port for the NET models
  int speed = 0;     // serial speed in baud; 0 keeps the model's own

  [[nodiscard]] bool configured() const { return model != 0; }
  friend bool operator==(const DeviceSettings&, const DeviceSettings&) = default;
};

// What the operator configured of the station: nothing until it is configured.
struct StationSettings {
  DeviceSettings rig;
  DeviceSettings rotator;
  // By band code ("432"): what a transverter adds to the rig's frequency, in Hz.
  std::map<std::string, std::int64_t> transverterOffsets;

  friend bool operator==(const StationSettings&, const StationSettings&) = default;
};

// One model of hamlib's list, as the settings offer it.
struct DeviceModel {
  int number = 0;
  std::string name;  // maker and model, "Hamlib NET rigctl"
};

// Hamlib's rig and rotator models, by maker and name.
[[nodiscard]] std::vector<DeviceModel> rigModels();
[[nodiscard]] std::vector<DeviceModel> rotatorModels();

// The models that reach a running daemon over the network.
inline constexpr int kNetRigctlModel = 2;
inline constexpr int kNetRotctlModel = 2;

}  // namespace vantor
