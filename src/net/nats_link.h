#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/event_transport.h"

namespace vantor {

// A station's JetStream domain: "S" + station (station names are [A-Z0-9-], 1..16 chars).
[[nodiscard]] std::string domainOf(std::string_view station);

struct NatsLinkConfig {
  std::string serverUrl;  // the station's own leaf server
  std::string station;
  std::string contestKey;  // 16 hex characters
};

// One station's connection to its own leaf server, on a thread of its own: no call waits on the
// network. Events go into the station's stream `V<contestKey>` on the subject
// `vantor.<contestKey>.ev.<station>`; presences go on `vantor.<contestKey>.here.<station>`.
class NatsLink final : public EventTransport {
 public:
  explicit NatsLink(NatsLinkConfig config);
  NatsLink(const NatsLink&) = delete;
  NatsLink& operator=(const NatsLink&) = delete;
  // Bounded: stops the thread, closes the connection.
  ~NatsLink() override;

  // Stores event `sequence` (1, 2, 3... for this station) in the station's own stream, in order,
  // with the message id "<station>-<sequence>" and the stream's last sequence expected to be
  // sequence-1, so the stream's sequence of an event always equals `sequence`. A sequence the
  // stream already holds is skipped. Queued: the thread retries until the local server takes it.
  void publish(std::uint64_t sequence, std::string payload) override;
  // The highest sequence the own stream holds, once the link has asked the server (after each
  // connect); nothing before.
  [[nodiscard]] std::optional<std::uint64_t> storedSequence() const;
  // Fetches origin's events `first`..`last` from its stream, through the hub, by JetStream's
  // direct get in origin's domain, many requests in flight. Each found arrives through take() as
  // an Event; a sequence the origin does not answer is skipped silently. Queued.
  void fetch(std::string origin, std::uint64_t first, std::uint64_t last) override;
  // Sets the presence payload this link publishes every second (core NATS, not stored).
  void announce(std::string payload) override;
  // Sets the question the link asks the hub every 2 s on "vantor.hub"; an answer within 1 s goes
  // into status().
  void askHub(std::string question) override;
  // What arrived since the last call: events (live and fetched), presences, and messages on other
  // contests' subjects (Foreign: origin and payload as they came). Own station's messages are left
  // out. Beyond 500,000 messages waiting, newer ones are dropped.
  [[nodiscard]] std::vector<LinkMessage> take() override;
  [[nodiscard]] LinkStatus status() const override;
  // Called on a thread of the link when take() turns from having nothing to having something; the
  // program posts itself a wake-up from it and takes everything there is each time.
  void onArrival(std::function<void()> wakeUp);

 private:
  struct Worker;
  std::unique_ptr<Worker> m_worker;
};

// The hub's side: answers every request on "vantor.hub" with answer(question), on a thread of the
// NATS library. The connection to the hub's client port is retried while the hub is away.
class HubResponder {
 public:
  HubResponder(std::string serverUrl, std::function<std::string(const std::string&)> answer);
  HubResponder(const HubResponder&) = delete;
  HubResponder& operator=(const HubResponder&) = delete;
  ~HubResponder();

 private:
  struct Worker;
  std::unique_ptr<Worker> m_worker;
};

}  // namespace vantor
