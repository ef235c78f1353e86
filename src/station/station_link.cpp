#include "station/station_link.h"

#include <hamlib/rig.h>
#include <hamlib/rotator.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>

#include "station/hamlib_access.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;

// The longest hamlib waits for one answer, and so about the longest any of its calls takes: an
// open against a daemon that hangs waits twice. Closing waits less, since its answer is not needed.
constexpr const char* kAnswerTimeoutMs = "400";
constexpr const char* kClosingTimeoutMs = "50";
constexpr auto kPollPeriod = 250ms;
constexpr auto kRetryPeriod = 1s;
constexpr auto kUntilChanged = 24h;

// A device that answers is polled again soon, a lost one tried again later, one that is not
// configured left until its settings change.
std::chrono::milliseconds periodAfter(LinkState state) {
  switch (state) {
    case LinkState::Connected:
      return kPollPeriod;
    case LinkState::Lost:
      return kRetryPeriod;
    case LinkState::Off:
      break;
  }
  return kUntilChanged;
}

// How the texts name a rig or a rotator, and the names hamlib gives its settings.
struct Kind {
  const char* noun;     // "radio"
  const char* subject;  // "La radio"
  const char* lost;     // "Radio scollegata"
  const char* portSetting;
};

constexpr Kind kRigKind{"radio", "La radio", "Radio scollegata", "rig_pathname"};
constexpr Kind kRotatorKind{"rotore", "Il rotore", "Rotore scollegato", "rot_pathname"};

std::string portSuffix(const char* preposition, const DeviceSettings& settings) {
  return settings.port.empty() ? std::string() : std::string(preposition) + settings.port;
}

std::string noAnswer(const Kind& kind, const DeviceSettings& settings) {
  return std::string(kind.lost) + ": nessuna risposta" + portSuffix(" da ", settings);
}

std::string connecting(const Kind& kind, const DeviceSettings& settings) {
  return std::string(kind.lost) + ": collegamento in corso" + portSuffix(" con ", settings);
}

std::string missingModel(const Kind& kind, int model) {
  return std::string("Il modello di ") + kind.noun + ' ' + std::to_string(model) + " non esiste";
}

// A serial port that cannot be opened is told before hamlib tries it: hamlib's own open of a
// missing port goes on trying for two seconds. Empty when the port may be opened.
std::string serialPortProblem(const std::string& port) {
  if (port.empty()) {
    return {};
  }
  if (::access(port.c_str(), F_OK) != 0) {
    return "Porta inesistente: " + port;
  }
  if (::access(port.c_str(), R_OK | W_OK) != 0) {
    return "Porta non accessibile: " + port + " (manca il permesso)";
  }
  return {};
}

// Gives hamlib the port, the speed and the short waits; the problem when it refuses one.
template <typename SetConf>
std::string applySettings(const Kind& kind, const DeviceSettings& settings, SetConf set) {
  if (!settings.port.empty() && set(kind.portSetting, settings.port) != RIG_OK) {
    return "Porta non valida: " + settings.port;
  }
  if (settings.speed > 0 && set("serial_speed", std::to_string(settings.speed)) != RIG_OK) {
    return std::string(kind.subject) + " non accetta la velocità di " +
           std::to_string(settings.speed) + " baud";
  }
  set("timeout", kAnswerTimeoutMs);
  set("retry", "0");
  return {};
}

std::string modeName(rmode_t mode) {
  constexpr rmode_t kSideband = RIG_MODE_USB | RIG_MODE_LSB | RIG_MODE_PKTUSB | RIG_MODE_PKTLSB;
  constexpr rmode_t kTelegraphy = RIG_MODE_CW | RIG_MODE_CWR;
  if ((mode & kSideband) != 0) {
    return "SSB";
  }
  if ((mode & kTelegraphy) != 0) {
    return "CW";
  }
  return rig_strrmode(mode);
}

double compassAzimuth(double azimuth) {
  const double turned = std::fmod(azimuth, 360.0);
  return turned < 0 ? turned + 360.0 : turned;
}

// The compass azimuth as the rotator's range takes it: 270 is -90 for a range of -180 to 180.
double azimuthWithin(double azimuth, double minimum, double maximum) {
  const double compass = compassAzimuth(azimuth);
  return compass > maximum && compass - 360.0 >= minimum ? compass - 360.0 : compass;
}

struct RigClose {
  void operator()(RIG* rig) const {
    rig_set_conf(rig, rig_token_lookup(rig, "timeout"), kClosingTimeoutMs);
    rig_close(rig);
    rig_cleanup(rig);
  }
};

struct RotatorClose {
  void operator()(ROT* rotator) const {
    rot_set_conf(rotator, rot_token_lookup(rotator, "timeout"), kClosingTimeoutMs);
    rot_close(rotator);
    rot_cleanup(rotator);
  }
};

// The rig while it answers: opened, asked for its frequency and mode, closed.
class RigDevice {
 public:
  using Reading = RigReading;
  static constexpr const Kind& kKind = kRigKind;

  [[nodiscard]] bool isOpen() const { return m_rig != nullptr; }
  void close() { m_rig.reset(); }

  std::string open(const DeviceSettings& settings) {
    RIG* rig = nullptr;
    {
      const auto lock = hamlib::lockBackends();
      rig = rig_init(static_cast<rig_model_t>(settings.model));
    }
    if (rig == nullptr) {
      return missingModel(kKind, settings.model);
    }
    std::string problem = prepare(rig, settings);
    if (problem.empty() && rig_open(rig) != RIG_OK) {
      problem = noAnswer(kKind, settings);
    }
    if (!problem.empty()) {
      rig_cleanup(rig);
      return problem;
    }
    m_rig.reset(rig);
    return {};
  }

  std::optional<RigReading> poll() {
    freq_t hz = 0;
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t width = 0;
    if (rig_get_freq(m_rig.get(), RIG_VFO_CURR, &hz) != RIG_OK ||
        rig_get_mode(m_rig.get(), RIG_VFO_CURR, &mode, &width) != RIG_OK) {
      return std::nullopt;
    }
    return RigReading{
        LinkState::Connected, static_cast<std::int64_t>(std::llround(hz)), modeName(mode), {}};
  }

 private:
  static std::string prepare(RIG* rig, const DeviceSettings& settings) {
    if (rig->caps->port_type == RIG_PORT_SERIAL) {
      if (std::string problem = serialPortProblem(settings.port); !problem.empty()) {
        return problem;
      }
    }
    // Every poll asks the rig: a reading from hamlib's cache would hide a rig gone silent.
    rig_set_cache_timeout_ms(rig, HAMLIB_CACHE_ALL, 0);
    return applySettings(kKind, settings, [rig](const char* name, const std::string& value) {
      return rig_set_conf(rig, rig_token_lookup(rig, name), value.c_str());
    });
  }

  std::unique_ptr<RIG, RigClose> m_rig;
};

// A request to the rotator: turn to an azimuth, or stop where it is.
struct RotatorRequest {
  std::optional<double> azimuth;
};

// The rotator while it answers: opened, turned or stopped as asked, asked where it points, closed.
// It takes the requests from the link as it polls, and drops those made while it does not answer.
class RotatorDevice {
 public:
  using Reading = RotatorReading;
  static constexpr const Kind& kKind = kRotatorKind;

  explicit RotatorDevice(std::function<std::optional<RotatorRequest>()> requests)
      : m_requests(std::move(requests)) {}

  [[nodiscard]] bool isOpen() const { return m_rotator != nullptr; }
  void close() { m_rotator.reset(); }

  std::string open(const DeviceSettings& settings) {
    std::string problem = openRotator(settings);
    if (!problem.empty()) {
      m_requests();
    }
    return problem;
  }

  std::optional<RotatorReading> poll() {
    if (const auto request = m_requests(); request && !carryOut(*request)) {
      return std::nullopt;
    }
    azimuth_t azimuth = 0;
    elevation_t elevation = 0;
    if (rot_get_position(m_rotator.get(), &azimuth, &elevation) != RIG_OK) {
      return std::nullopt;
    }
    return RotatorReading{LinkState::Connected, compassAzimuth(azimuth), {}};
  }

 private:
  std::string openRotator(const DeviceSettings& settings) {
    ROT* rotator = nullptr;
    {
      const auto lock = hamlib::lockBackends();
      rotator = rot_init(static_cast<rot_model_t>(settings.model));
    }
    if (rotator == nullptr) {
      return missingModel(kKind, settings.model);
    }
    std::string problem = prepare(rotator, settings);
    if (problem.empty() && rot_open(rotator) != RIG_OK) {
      problem = noAnswer(kKind, settings);
    }
    if (!problem.empty()) {
      rot_cleanup(rotator);
      return problem;
    }
    m_rotator.reset(rotator);
    return {};
  }

  static std::string prepare(ROT* rotator, const DeviceSettings& settings) {
    if (rotator->caps->port_type == RIG_PORT_SERIAL) {
      if (std::string problem = serialPortProblem(settings.port); !problem.empty()) {
        return problem;
      }
    }
    return applySettings(kKind, settings, [rotator](const char* name, const std::string& value) {
      return rot_set_conf(rotator, rot_token_lookup(rotator, name), value.c_str());
    });
  }

  // The range comes from the rotator's state once open: the NET model takes the daemon's.
  bool carryOut(const RotatorRequest& request) {
    ROT* rotator = m_rotator.get();
    if (!request.azimuth) {
      return rot_stop(rotator) == RIG_OK;
    }
    const double azimuth =
        azimuthWithin(*request.azimuth, rotator->state.min_az, rotator->state.max_az);
    return rot_set_position(rotator, static_cast<azimuth_t>(azimuth), 0) == RIG_OK;
  }

  std::function<std::optional<RotatorRequest>()> m_requests;
  std::unique_ptr<ROT, RotatorClose> m_rotator;
};

// What the link keeps of one device: its settings, their number (one more at every change, so a
// reading of earlier settings is never shown) and its latest reading.
template <typename Reading>
struct Slot {
  DeviceSettings settings;
  std::uint64_t generation = 0;
  Reading reading;
};

// Takes the new settings into the slot; false when they are those it holds.
template <typename Reading>
bool change(Slot<Reading>& slot, const DeviceSettings& settings, const Kind& kind) {
  if (slot.settings == settings) {
    return false;
  }
  slot.settings = settings;
  ++slot.generation;
  slot.reading = Reading{};
  if (settings.configured()) {
    slot.reading.state = LinkState::Lost;
    slot.reading.problem = connecting(kind, settings);
  }
  return true;
}

}  // namespace

// Each device has a thread of its own, so a rig that hangs never holds up the rotator. The lock
// guards the slots and the request; no hamlib call is made while it is held.
struct StationLink::Worker {
  std::mutex mutex;
  std::condition_variable_any wake;
  Slot<RigReading> rig;
  Slot<RotatorReading> rotator;
  std::optional<RotatorRequest> request;
  std::jthread rigThread;
  std::jthread rotatorThread;

  std::optional<RotatorRequest> takeRequest() {
    const std::lock_guard lock(mutex);
    return std::exchange(request, std::nullopt);
  }

  void ask(RotatorRequest wanted) {
    {
      const std::lock_guard lock(mutex);
      if (!rotator.settings.configured()) {
        return;
      }
      request = wanted;
    }
    wake.notify_all();
  }

  template <typename Device>
  void run(std::stop_token stop, Device device, Slot<typename Device::Reading>& slot) {
    std::uint64_t generation = 0;
    DeviceSettings settings;
    while (!stop.stop_requested()) {
      if (follow(slot, generation, settings)) {
        device.close();
      }
      auto reading = step(device, settings);
      const LinkState state = reading.state;
      publish(slot, generation, std::move(reading));
      pause(stop, slot, generation, periodAfter(state));
    }
  }

  // Copies the slot's settings when they changed since `generation`; true when they did.
  template <typename Reading>
  bool follow(const Slot<Reading>& slot, std::uint64_t& generation, DeviceSettings& settings) {
    const std::lock_guard lock(mutex);
    if (slot.generation == generation) {
      return false;
    }
    generation = slot.generation;
    settings = slot.settings;
    return true;
  }

  // Opens the device when it is not open and polls it; the reading, or why it is lost.
  template <typename Device>
  static typename Device::Reading step(Device& device, const DeviceSettings& settings) {
    typename Device::Reading lost;
    if (!settings.configured()) {
      return lost;
    }
    lost.state = LinkState::Lost;
    lost.problem = device.isOpen() ? std::string() : device.open(settings);
    if (!lost.problem.empty()) {
      return lost;
    }
    if (auto reading = device.poll()) {
      return std::move(*reading);
    }
    device.close();
    lost.problem = noAnswer(Device::kKind, settings);
    return lost;
  }

  template <typename Reading>
  void publish(Slot<Reading>& slot, std::uint64_t generation, Reading reading) {
    const std::lock_guard lock(mutex);
    if (slot.generation == generation) {
      slot.reading = std::move(reading);
    }
  }

  // Waits out the period, or less when the settings change, a request comes or the link ends.
  template <typename Reading>
  void pause(std::stop_token stop, const Slot<Reading>& slot, std::uint64_t generation,
             std::chrono::milliseconds period) {
    constexpr bool kTakesRequests = std::is_same_v<Reading, RotatorReading>;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, period, [&] {
      return slot.generation != generation || (kTakesRequests && request.has_value());
    });
  }
};

// Hamlib sets the C library's numeric locale to "C" around each open and each number it reads,
// and back to what it was, with nothing to keep two threads apart: one thread's restore frees the
// locale name another still holds. With the numeric locale "C" already, those calls change and
// free nothing. The program formats its own numbers, and Qt's follow QLocale, not this.
StationLink::StationLink() : m_worker(std::make_unique<Worker>()) {
  std::setlocale(LC_NUMERIC, "C");
  Worker& worker = *m_worker;
  worker.rigThread = std::jthread(
      [&worker](std::stop_token stop) { worker.run(std::move(stop), RigDevice(), worker.rig); });
  worker.rotatorThread = std::jthread([&worker](std::stop_token stop) {
    worker.run(std::move(stop), RotatorDevice([&worker] { return worker.takeRequest(); }),
               worker.rotator);
  });
}

// Both threads are told to end before either is waited for, so the wait is that of the slower.
StationLink::~StationLink() {
  m_worker->rigThread.request_stop();
  m_worker->rotatorThread.request_stop();
}

void StationLink::configure(const StationSettings& settings) {
  {
    const std::lock_guard lock(m_worker->mutex);
    change(m_worker->rig, settings.rig, kRigKind);
    if (change(m_worker->rotator, settings.rotator, kRotatorKind)) {
      m_worker->request.reset();
    }
  }
  m_worker->wake.notify_all();
}

StationReading StationLink::reading() const {
  const std::lock_guard lock(m_worker->mutex);
  return {m_worker->rig.reading, m_worker->rotator.reading};
}

void StationLink::turnTo(double azimuth) {
  m_worker->ask({azimuth});
}

void StationLink::stopRotator() {
  m_worker->ask({std::nullopt});
}

}  // namespace vantor
