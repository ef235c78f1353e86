#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/event_transport.h"
#include "net/net_clock.h"

namespace vantor::testing {

// Stations' transports joined in one process, for the rules of sharing apart from the network:
// each station's stream kept in order, live delivery to the stations connected, fetches from a
// connected station's stream, presences delivered on deliverPresences(), and a hub that answered
// with `hubAnswer` `hubAnsweredAgoMs` ago. A station cut off neither sends nor receives, but keeps
// storing its own.
class EventBus {
 public:
  class Port : public EventTransport {
   public:
    Port(EventBus& bus, std::string station) : m_bus(bus), m_station(std::move(station)) {}

    void publish(std::uint64_t sequence, std::string payload) override {
      std::vector<std::string>& stream = m_bus.m_streams[m_station];
      if (sequence != stream.size() + 1) {
        return;
      }
      stream.push_back(payload);
      if (connected) {
        m_bus.deliver(m_station, LinkMessage::Kind::Event, payload);
      }
    }
    void fetch(std::string origin, std::uint64_t first, std::uint64_t last) override {
      const Port* from = m_bus.portOf(origin);
      if (!connected || from == nullptr || !from->connected) {
        return;
      }
      const std::vector<std::string>& stream = m_bus.m_streams[origin];
      for (std::uint64_t sequence = first; sequence <= last && sequence <= stream.size();
           ++sequence) {
        inbox.push_back({LinkMessage::Kind::Event, origin, stream[sequence - 1]});
      }
    }
    void announce(std::string payload) override { m_presence = std::move(payload); }
    void askHub(std::string question) override { m_question = std::move(question); }
    std::vector<LinkMessage> take() override { return std::exchange(inbox, {}); }
    LinkStatus status() const override {
      LinkStatus status;
      status.serverUp = true;
      status.hubAnswer = connected ? m_bus.hubAnswer : std::string();
      status.hubAnsweredAtMs = steadyMilliseconds() - m_bus.hubAnsweredAgoMs;
      return status;
    }

    bool connected = true;
    std::vector<LinkMessage> inbox;

   private:
    friend class EventBus;
    EventBus& m_bus;
    std::string m_station;
    std::string m_presence;
    std::string m_question;
  };

  Port& join(const std::string& station) {
    m_ports.push_back(std::make_unique<Port>(*this, station));
    return *m_ports.back();
  }
  // Every connected station's presence reaches every other connected one.
  void deliverPresences() {
    for (const auto& port : m_ports) {
      if (port->connected && !port->m_presence.empty()) {
        deliver(port->m_station, LinkMessage::Kind::Presence, port->m_presence);
      }
    }
  }
  // A message that claims to come from `origin`, sent to every connected station.
  void deliver(const std::string& origin, LinkMessage::Kind kind, const std::string& payload) {
    for (const auto& port : m_ports) {
      if (port->connected && port->m_station != origin) {
        port->inbox.push_back({kind, origin, payload});
      }
    }
  }
  [[nodiscard]] std::size_t streamSize(const std::string& station) {
    return m_streams[station].size();
  }

  std::string hubAnswer;
  // How long ago the hub answered.
  std::int64_t hubAnsweredAgoMs = 0;

 private:
  Port* portOf(const std::string& station) {
    for (const auto& port : m_ports) {
      if (port->m_station == station) {
        return port.get();
      }
    }
    return nullptr;
  }

  std::vector<std::unique_ptr<Port>> m_ports;
  std::map<std::string, std::vector<std::string>> m_streams;
};

}  // namespace vantor::testing
