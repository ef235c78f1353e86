#include "app/club_network.h"

#include <stdexcept>

#include "app/session.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "net/nats_link.h"
#include "net/nats_server.h"
#include "net/net_clock.h"
#include "platform/folder_lock.h"

namespace vantor {
namespace {

bool isHostName(std::string_view host) {
  return !host.empty() && host.size() <= 253 &&
         host.find_first_not_of(
             "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") ==
             std::string_view::npos;
}

}  // namespace

std::optional<std::string> networkSettingsProblem(const NetworkSettings& settings) {
  if (settings.station.empty()) {
    return std::nullopt;
  }
  if (!isStationName(settings.station)) {
    return "Nome della stazione non valido: lettere maiuscole, cifre e \"-\", al massimo 16";
  }
  const std::string address = hubAddressWithPort(settings.hubAddress);
  const std::size_t colon = address.rfind(':');
  const std::string port = address.substr(colon + 1);
  if (!isHostName(address.substr(0, colon)) || port.empty() || port.size() > 5 ||
      port.find_first_not_of("0123456789") != std::string::npos || std::stoi(port) == 0 ||
      std::stoi(port) > 65535) {
    return "Indirizzo del hub non valido: un nome o un indirizzo IP, con la porta se non è " +
           std::to_string(kHubLeafPort);
  }
  return std::nullopt;
}

std::string hubAddressWithPort(const std::string& address) {
  return address.find(':') == std::string::npos ? address + ":" + std::to_string(kHubLeafPort)
                                                : address;
}

ClubNetwork::ClubNetwork(Session& session, std::filesystem::path folder, NetworkSettings settings,
                         std::function<void()> wakeUp)
    : m_session(session),
      m_folder(std::move(folder)),
      m_settings(std::move(settings)),
      m_wakeUp(std::move(wakeUp)) {
  if (const std::error_code error =
          platform::makePrivateFolder(platform::systemFiles(), m_folder)) {
    m_problem = "Impossibile creare la cartella della rete: " + error.message();
    return;
  }
  LeafServerConfig config;
  config.folder = m_folder / "server";
  config.domain = domainOf(m_settings.station);
  config.hubAddress = hubAddressWithPort(m_settings.hubAddress);
  m_serverThread = std::thread([this, config] { keepServer(config); });
}

ClubNetwork::~ClubNetwork() {
  m_club.reset();
  m_link.reset();
  if (m_serverThread.joinable()) {
    {
      const std::lock_guard lock(m_serverMutex);
      m_stopping = true;
    }
    m_serverStop.notify_all();
    m_serverThread.join();
  }
}

void ClubNetwork::keepServer(const LeafServerConfig& config) {
  std::unique_ptr<NatsServer> server;
  std::string problem;
  try {
    server = NatsServer::startLeaf(config);
  } catch (const std::exception& error) {
    problem = error.what();
  }
  std::unique_lock lock(m_serverMutex);
  m_serverTold = true;
  m_serverUrl = server ? server->clientUrl() : std::string();
  m_serverProblem = problem;
  m_serverStop.wait(lock, [this] { return m_stopping; });
  lock.unlock();
  server.reset();
}

void ClubNetwork::takeOperatorChanges() {
  if (m_club) {
    m_club->takeOperatorChanges();
  }
}

void ClubNetwork::send() {
  if (m_club) {
    m_club->send();
  }
}

bool ClubNetwork::takeServer() {
  const std::lock_guard lock(m_serverMutex);
  if (m_serverTold && m_serverUrl.empty() && m_problem.empty()) {
    m_problem = m_serverProblem;
  }
  return !m_serverUrl.empty();
}

void ClubNetwork::poll() {
  if (!takeServer()) {
    return;
  }
  if (!m_session.hasLog() || !m_session.logShown()) {
    return;
  }
  const StationHeader header = m_session.header().stationHeader();
  if (header.callsign.empty() || header.contest.empty()) {
    return;
  }
  const std::string key = contestKeyOf(header);
  if (!m_club || m_club->contest().contestKey() != key) {
    join(header, key);
  }
  if (m_club->takeArrivals()) {
    m_session.apply([] {});
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - m_lastTick >= std::chrono::seconds(1)) {
    m_lastTick = now;
    m_club->tick();
  }
}

// The station takes part in the contest `key`: its link and its part made anew, the events kept
// for that contest read, and the band logs made to agree with them.
void ClubNetwork::join(const StationHeader& header, const std::string& key) {
  m_club.reset();
  m_link.reset();
  NatsLinkConfig config;
  config.serverUrl = m_serverUrl;
  config.station = m_settings.station;
  config.contestKey = key;
  m_link = std::make_unique<NatsLink>(config);
  m_link->onArrival(m_wakeUp);
  ClubLinks links;
  links.nowMs = utcMilliseconds;
  links.otherContest = [this](const ContestClaim& claim) { takeHubContest(claim); };
  m_club = std::make_unique<ClubStation>(m_session.log(), m_session.dialogs(), *m_link,
                                         m_settings.station, ContestClaim{key, header}, links);
  if (const std::error_code error =
          m_club->open(platform::systemFiles(), m_folder / ("eventi-" + key))) {
    m_problem = "Impossibile leggere gli eventi della rete: " + error.message();
  }
  m_session.apply([] {});
}

// The hub keeps another contest (the station tells it once): a station with an empty log takes
// it, band apart; one with contacts is told, and shares nothing until the operator picks the same
// contest.
void ClubNetwork::takeHubContest(const ContestClaim& claim) {
  if (!m_session.log().holdsContacts()) {
    StationHeader header = claim.header;
    header.band = m_session.header().stationHeader().band;
    m_session.header().resume(header);
    return;
  }
  m_session.dialogs().showMessage(Message{m_club->problem()});
}

std::string ClubNetwork::problem() const {
  if (!m_problem.empty()) {
    return m_problem;
  }
  if (m_club && !m_club->problem().empty()) {
    return m_club->problem();
  }
  return {};
}

}  // namespace vantor
