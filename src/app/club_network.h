#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "net/club_station.h"

namespace vantor {

class Session;
class NatsLink;
struct LeafServerConfig;

// This PC's place in a shared contest, from the "Rete" settings: the station's name and the hub's
// address ("host" or "host:port"). Without a name the program works alone.
struct NetworkSettings {
  std::string station;
  std::string hubAddress;
  bool operator==(const NetworkSettings&) const = default;
};

// Why the settings cannot be taken, in Italian; nothing when they can.
[[nodiscard]] std::optional<std::string> networkSettingsProblem(const NetworkSettings& settings);
// The hub's address with the port hubs take leaf connections on when it names none.
[[nodiscard]] std::string hubAddressWithPort(const std::string& address);

// The program's side of a shared contest: its own NATS server (a child process, started and kept
// by a thread of its own so the windows never wait for it: the system ends a child whose forking
// thread ends), the link to it, and the station's part,
// made for the contest the header names once the log screen is open and made anew when the
// contest changes.
class ClubNetwork {
 public:
  // `folder` keeps the server's store and the contests' events; `wakeUp` runs on a thread of the
  // link when something arrives, to have the view poll at once.
  ClubNetwork(Session& session, std::filesystem::path folder, NetworkSettings settings,
              std::function<void()> wakeUp);
  ClubNetwork(const ClubNetwork&) = delete;
  ClubNetwork& operator=(const ClubNetwork&) = delete;
  ~ClubNetwork();

  // After each operator action: this station's changes stored, then sent once the journal holds
  // them.
  void takeOperatorChanges();
  void send();
  // The view's poll: what arrived shown, and once a second the presence told.
  void poll();

  [[nodiscard]] const NetworkSettings& settings() const { return m_settings; }
  // Nothing until the server runs and the log screen is open.
  [[nodiscard]] ClubStation* club() { return m_club.get(); }
  // Why the sharing does not work; empty when it does.
  [[nodiscard]] std::string problem() const;

 private:
  void keepServer(const LeafServerConfig& config);
  bool takeServer();
  void join(const StationHeader& header, const std::string& key);
  void takeHubContest(const ContestClaim& claim);

  Session& m_session;
  std::filesystem::path m_folder;
  NetworkSettings m_settings;
  std::function<void()> m_wakeUp;
  std::string m_problem;
  // The server's thread, and what it tells: the server's address once it runs, or why it does
  // not; it stops the server when told to stop.
  std::thread m_serverThread;
  std::mutex m_serverMutex;
  std::condition_variable m_serverStop;
  bool m_serverTold = false;
  bool m_stopping = false;
  std::string m_serverUrl;
  std::string m_serverProblem;
  std::unique_ptr<NatsLink> m_link;
  std::unique_ptr<ClubStation> m_club;
  std::chrono::steady_clock::time_point m_lastTick;
};

}  // namespace vantor
