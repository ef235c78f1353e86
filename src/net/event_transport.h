#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// A message that reached a station: an event (live or fetched), a presence, or a message on
// another contest's subject. `origin` is the station its subject names.
struct LinkMessage {
  enum class Kind { Event, Presence, Foreign };
  Kind kind = Kind::Event;
  std::string origin;
  std::string payload;
  // An event's sequence in its origin's stream as the transport knows it; 0 when it does not.
  std::uint64_t sequence = 0;
};

struct LinkStatus {
  // Connected to the station's own server.
  bool serverUp = false;
  // The hub's last answer to the question askHub set, and when (std::chrono::steady_clock, ms
  // since its epoch; 0 never).
  std::string hubAnswer;
  std::int64_t hubAnsweredAtMs = 0;
  // The last failure, in Italian; empty when none.
  std::string problem;
};

// How a station's events travel. Every call returns at once: the work is done elsewhere.
class EventTransport {
 public:
  virtual ~EventTransport() = default;
  // Stores event `sequence` (1, 2, 3... for the station) in the station's own stream, in order;
  // a sequence the stream holds already is passed over.
  virtual void publish(std::uint64_t sequence, std::string payload) = 0;
  // Fetches `origin`'s events `first`..`last` from its stream; each found arrives through take().
  virtual void fetch(std::string origin, std::uint64_t first, std::uint64_t last) = 0;
  // The presence told every second, and the question put to the hub every few seconds.
  virtual void announce(std::string payload) = 0;
  virtual void askHub(std::string question) = 0;
  [[nodiscard]] virtual std::vector<LinkMessage> take() = 0;
  [[nodiscard]] virtual LinkStatus status() const = 0;
};

}  // namespace vantor
