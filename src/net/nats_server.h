#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vantor {

inline constexpr int kHubLeafPort = 7422;  // where a hub takes leaf connections by default

// A station's own NATS server: JetStream in a domain of its own, so an event is stored here first,
// and a leaf connection to the hub when one is named.
struct LeafServerConfig {
  std::filesystem::path folder;  // config file and JetStream store go here (made if missing, 0700)
  std::string domain;            // this station's JetStream domain
  int clientPort = 0;            // 0: a free loopback port picked at start
  std::string hubAddress;        // "host:port" of the hub's leaf listener; empty: no hub
};

// The hub the leaves connect to: no storage, only the leaf listener and a client port on loopback.
struct HubServerConfig {
  std::filesystem::path folder;
  std::string leafHost = "0.0.0.0";  // tests pass "127.0.0.1"
  int leafPort = kHubLeafPort;
  int clientPort = 0;  // the hub's own client port on loopback; 0: a free one
};

// A TCP port on 127.0.0.1 that no one listened on a moment ago.
[[nodiscard]] int freeLoopbackPort();

// nats-server as a child process, which ends with this object and with the thread that started it
// (the system sends it SIGTERM when that thread ends).
class NatsServer {
 public:
  // Writes the configuration into the folder, starts nats-server -c on it as a child process and
  // returns once its client port takes connections (at most 5 s). Throws std::runtime_error with
  // an Italian message ("Il server NATS non parte: ...") on failure.
  static std::unique_ptr<NatsServer> startLeaf(const LeafServerConfig& config);
  static std::unique_ptr<NatsServer> startHub(const HubServerConfig& config);

  NatsServer(const NatsServer&) = delete;
  NatsServer& operator=(const NatsServer&) = delete;
  // SIGTERM, a wait of at most 2 s, then SIGKILL; reaps the child.
  ~NatsServer();

  [[nodiscard]] int clientPort() const { return m_clientPort; }
  [[nodiscard]] std::string clientUrl() const;  // "nats://127.0.0.1:PORT"
  [[nodiscard]] pid_t pid() const { return m_pid; }
  // SIGKILL now and reap, as a crash.
  void kill();

 private:
  NatsServer(pid_t pid, int clientPort) : m_pid(pid), m_clientPort(clientPort) {}
  // `role` names the server (a domain, or "hub"); `roleLines` are the configuration's own lines.
  static std::unique_ptr<NatsServer> start(const std::filesystem::path& folder,
                                           std::string_view role, int clientPort,
                                           const std::string& roleLines);

  pid_t m_pid;
  int m_clientPort;
  bool m_running = true;
};

}  // namespace vantor
