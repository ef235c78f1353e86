#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "station/station_settings.h"

namespace vantor {

// Where a rig or rotator stands as the screens show it.
enum class LinkState {
  Off,        // not configured
  Connected,  // answering
  Lost,       // configured but not answering ("scollegato"); the link keeps trying
};

struct RigReading {
  LinkState state = LinkState::Off;
  std::int64_t frequencyHz = 0;  // as the rig reports it, without any transverter offset
  std::string mode;              // "SSB", "CW", or hamlib's name of another mode ("FM")
  std::string problem;           // why it is not connected, in Italian; empty when it is
};

struct RotatorReading {
  LinkState state = LinkState::Off;
  double azimuth = 0;  // degrees
  std::string problem;
};

struct StationReading {
  RigReading rig;
  RotatorReading rotator;
};

// The rig and the rotator through hamlib, on a worker thread of their own: no call here waits on
// the hardware. A device that stops answering reads as lost within 2 s and is opened again when it
// answers.
class StationLink {
 public:
  StationLink();
  ~StationLink();
  StationLink(const StationLink&) = delete;
  StationLink& operator=(const StationLink&) = delete;

  // Closes what the earlier settings opened and opens what these name.
  void configure(const StationSettings& settings);
  // The latest reading: a copy under a lock, never a call to the hardware.
  [[nodiscard]] StationReading reading() const;
  // Turns the rotator to `azimuth` degrees, or stops it.
  void turnTo(double azimuth);
  void stopRotator();

 private:
  struct Worker;
  std::unique_ptr<Worker> m_worker;
};

}  // namespace vantor
