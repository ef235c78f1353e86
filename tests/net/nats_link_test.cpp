#include "net/nats_link.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "net/nats_server.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Kind = LinkMessage::Kind;

constexpr const char* kKey = "00112233AABBCCDD";
constexpr const char* kOtherKey = "FFEEDDCCBBAA9988";
constexpr auto kWithin = 5s;

template <typename Condition>
bool awaitTrue(Condition condition, std::chrono::milliseconds within = kWithin) {
  const auto deadline = Clock::now() + within;
  while (!condition()) {
    if (Clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// What a link delivered, kept across takes: the events by origin and sequence, the rest in order.
struct Received {
  std::map<std::string, std::map<std::uint64_t, std::string>> events;
  std::size_t eventCount = 0;
  std::vector<LinkMessage> others;

  void takeFrom(NatsLink& link) {
    for (LinkMessage& message : link.take()) {
      if (message.kind == Kind::Event) {
        events[message.origin][message.sequence] = message.payload;
        ++eventCount;
      } else {
        others.push_back(std::move(message));
      }
    }
  }
  [[nodiscard]] bool has(Kind kind, const std::string& origin) const {
    for (const LinkMessage& message : others) {
      if (message.kind == kind && message.origin == origin) {
        return true;
      }
    }
    return false;
  }
};

std::string payloadOf(std::uint64_t sequence) {
  return "evento " + std::to_string(sequence);
}

void publishRange(NatsLink& link, std::uint64_t first, std::uint64_t last) {
  for (std::uint64_t sequence = first; sequence <= last; ++sequence) {
    link.publish(sequence, payloadOf(sequence));
  }
}

bool storedIs(const NatsLink& link, std::uint64_t sequence) {
  return awaitTrue([&] { return link.storedSequence() == sequence; });
}

// A hub on loopback with the leaf servers of two stations, ALFA and BRAVO, each with its link.
class NatsLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hub = startHub();
    alfaServer = startLeaf("ALFA");
    bravoServer = startLeaf("BRAVO");
    alfa = linkTo(*alfaServer, "ALFA");
    bravo = linkTo(*bravoServer, "BRAVO");
  }

  std::unique_ptr<NatsServer> startHub() {
    HubServerConfig config;
    config.folder = folder.path() / "hub";
    config.leafHost = "127.0.0.1";
    config.leafPort = hubLeafPort;
    return NatsServer::startHub(config);
  }

  std::unique_ptr<NatsServer> startLeaf(const std::string& station, int clientPort = 0) {
    LeafServerConfig config;
    config.folder = folder.path() / station;
    config.domain = domainOf(station);
    config.clientPort = clientPort;
    config.hubAddress = "127.0.0.1:" + std::to_string(hubLeafPort);
    return NatsServer::startLeaf(config);
  }

  static std::unique_ptr<NatsLink> linkTo(const NatsServer& server, const std::string& station,
                                          const std::string& key = kKey) {
    NatsLinkConfig config;
    config.serverUrl = server.clientUrl();
    config.station = station;
    config.contestKey = key;
    return std::make_unique<NatsLink>(config);
  }

  // Until each station hears the other's presence: the hub carries their interest both ways.
  void awaitLinked() {
    alfa->announce("ALFA presente");
    bravo->announce("BRAVO presente");
    ASSERT_TRUE(awaitTrue([&] {
      alfaGot.takeFrom(*alfa);
      bravoGot.takeFrom(*bravo);
      return alfaGot.has(Kind::Presence, "BRAVO") && bravoGot.has(Kind::Presence, "ALFA");
    }));
  }

  // Asks again, as the program would, until BRAVO holds ALFA's events `first`..`last`.
  bool fetchUntilHeld(std::uint64_t first, std::uint64_t last, std::chrono::milliseconds within) {
    auto& held = bravoGot.events["ALFA"];
    return awaitTrue(
        [&] {
          bravo->fetch("ALFA", first, last);
          return awaitTrue(
              [&] {
                bravoGot.takeFrom(*bravo);
                return held.count(first) != 0 && held.count(last) != 0;
              },
              300ms);
        },
        within);
  }

  testing::TempFolder folder;
  int hubLeafPort = freeLoopbackPort();
  std::unique_ptr<NatsServer> hub;
  std::unique_ptr<NatsServer> alfaServer;
  std::unique_ptr<NatsServer> bravoServer;
  std::unique_ptr<NatsLink> alfa;
  std::unique_ptr<NatsLink> bravo;
  Received alfaGot;
  Received bravoGot;
};

TEST_F(NatsLinkTest, PublishedEventArrivesLiveAtTheOtherStation) {
  std::atomic<int> wakeUps = 0;
  bravo->onArrival([&] { ++wakeUps; });
  awaitLinked();
  publishRange(*alfa, 1, 3);
  ASSERT_TRUE(storedIs(*alfa, 3));
  ASSERT_TRUE(awaitTrue([&] {
    bravoGot.takeFrom(*bravo);
    return bravoGot.eventCount == 3;
  }));
  const auto& events = bravoGot.events["ALFA"];
  ASSERT_EQ(events.size(), 3U);
  EXPECT_EQ(events.at(1), payloadOf(1));
  EXPECT_EQ(events.at(3), payloadOf(3));
  EXPECT_GE(wakeUps.load(), 1);
  alfaGot.takeFrom(*alfa);
  EXPECT_EQ(alfaGot.eventCount, 0U) << "a station does not hear itself";
  EXPECT_TRUE(alfa->status().serverUp);
  EXPECT_EQ(alfa->status().problem, "");
}

TEST_F(NatsLinkTest, PresenceArrivesWithItsPayload) {
  awaitLinked();
  const auto presence = std::find_if(bravoGot.others.begin(), bravoGot.others.end(),
                                     [](const LinkMessage& m) { return m.origin == "ALFA"; });
  ASSERT_NE(presence, bravoGot.others.end());
  EXPECT_EQ(presence->kind, Kind::Presence);
  EXPECT_EQ(presence->payload, "ALFA presente");
}

TEST_F(NatsLinkTest, HubResponderAnswersTheQuestion) {
  const HubResponder responder(hub->clientUrl(),
                               [](const std::string& question) { return "ok " + question; });
  alfa->askHub("chi c'è?");
  ASSERT_TRUE(awaitTrue([&] { return !alfa->status().hubAnswer.empty(); }));
  const LinkStatus status = alfa->status();
  EXPECT_EQ(status.hubAnswer, "ok chi c'è?");
  EXPECT_GT(status.hubAnsweredAtMs, 0);
}

TEST_F(NatsLinkTest, EventsMissedWhileTheHubWasAwayAreFetched) {
  awaitLinked();
  publishRange(*alfa, 1, 2);
  ASSERT_TRUE(storedIs(*alfa, 2));
  hub->kill();
  publishRange(*alfa, 3, 6);
  ASSERT_TRUE(storedIs(*alfa, 6)) << "the own leaf stores without the hub";
  hub = startHub();
  ASSERT_TRUE(fetchUntilHeld(3, 6, 8s));
  const auto& events = bravoGot.events["ALFA"];
  for (std::uint64_t sequence = 3; sequence <= 6; ++sequence) {
    EXPECT_EQ(events.at(sequence), payloadOf(sequence));
  }
}

TEST_F(NatsLinkTest, FetchGivesOnlyTheSequencesTheOriginHolds) {
  awaitLinked();
  publishRange(*alfa, 1, 8);
  ASSERT_TRUE(awaitTrue([&] {
    bravoGot.takeFrom(*bravo);
    return bravoGot.eventCount == 8;
  }));
  bravoGot.events.clear();
  bravo->fetch("ALFA", 3, 5);
  bravo->fetch("ALFA", 7, 12);
  ASSERT_TRUE(awaitTrue([&] {
    bravoGot.takeFrom(*bravo);
    return bravoGot.events["ALFA"].size() == 5;
  }));
  std::this_thread::sleep_for(200ms);
  bravoGot.takeFrom(*bravo);
  std::vector<std::uint64_t> sequences;
  for (const auto& [sequence, payload] : bravoGot.events["ALFA"]) {
    sequences.push_back(sequence);
    EXPECT_EQ(payload, payloadOf(sequence));
  }
  EXPECT_EQ(sequences, (std::vector<std::uint64_t>{3, 4, 5, 7, 8}));
}

TEST_F(NatsLinkTest, PublishingStoredSequencesAgainDoesNotDoubleThem) {
  publishRange(*alfa, 1, 3);
  ASSERT_TRUE(storedIs(*alfa, 3));
  alfa = linkTo(*alfaServer, "ALFA");  // the program started again publishes its log anew
  alfa->publish(1, "altro");
  alfa->publish(2, "altro");
  alfa->publish(3, "altro");
  alfa->publish(4, payloadOf(4));
  ASSERT_TRUE(storedIs(*alfa, 4));
  awaitLinked();
  bravoGot.events.clear();
  ASSERT_TRUE(fetchUntilHeld(1, 4, kWithin));
  const auto& events = bravoGot.events["ALFA"];
  EXPECT_EQ(events.size(), 4U);
  EXPECT_EQ(events.at(2), payloadOf(2)) << "the stream keeps the first";
}

TEST_F(NatsLinkTest, RestartedLeafKeepsItsStream) {
  publishRange(*alfa, 1, 5);
  ASSERT_TRUE(storedIs(*alfa, 5));
  const int port = alfaServer->clientPort();
  alfaServer.reset();
  EXPECT_TRUE(awaitTrue([&] { return !alfa->status().serverUp; }));
  EXPECT_EQ(alfa->storedSequence(), std::nullopt);
  alfa->publish(6, payloadOf(6));  // kept while the server is down
  alfaServer = startLeaf("ALFA", port);
  ASSERT_TRUE(storedIs(*alfa, 6));
  EXPECT_TRUE(alfa->status().serverUp);
  awaitLinked();
  ASSERT_TRUE(fetchUntilHeld(1, 6, kWithin));
  EXPECT_EQ(bravoGot.events["ALFA"].size(), 6U);
}

TEST_F(NatsLinkTest, LinkMadeBeforeItsServerConnectsOnceItStarts) {
  const int port = freeLoopbackPort();
  NatsLinkConfig config;
  config.serverUrl = "nats://127.0.0.1:" + std::to_string(port);
  config.station = "DELTA";
  config.contestKey = kKey;
  const auto start = Clock::now();
  NatsLink delta(config);
  delta.publish(1, payloadOf(1));
  EXPECT_LT(Clock::now() - start, 500ms) << "the link does not wait for its server";
  ASSERT_TRUE(awaitTrue([&] { return !delta.status().problem.empty(); }));
  EXPECT_FALSE(delta.status().serverUp);
  const auto server = startLeaf("DELTA", port);
  ASSERT_TRUE(storedIs(delta, 1));
  EXPECT_EQ(delta.status().problem, "");
}

TEST_F(NatsLinkTest, AnotherContestArrivesAsForeign) {
  const auto charlie = linkTo(*alfaServer, "CHARLIE", kOtherKey);
  awaitLinked();
  charlie->publish(1, "evento di un altro contest");
  ASSERT_TRUE(storedIs(*charlie, 1));
  charlie->announce("CHARLIE altrove");
  std::set<std::string> payloads;
  ASSERT_TRUE(awaitTrue([&] {
    bravoGot.takeFrom(*bravo);
    for (const LinkMessage& message : bravoGot.others) {
      if (message.origin == "CHARLIE") {
        EXPECT_EQ(message.kind, Kind::Foreign);
        payloads.insert(message.payload);
      }
    }
    return payloads.size() == 2;
  }));
  EXPECT_EQ(payloads, (std::set<std::string>{"evento di un altro contest", "CHARLIE altrove"}));
  EXPECT_EQ(bravoGot.eventCount, 0U);
}

TEST_F(NatsLinkTest, TenThousandEventsAreFetchedThroughTheHub) {
  constexpr std::uint64_t kEvents = 10'000;
  const auto publishing = Clock::now();
  for (std::uint64_t sequence = 1; sequence <= kEvents; ++sequence) {
    alfa->publish(sequence, std::string(120, 'x') + std::to_string(sequence));
  }
  ASSERT_TRUE(awaitTrue([&] { return alfa->storedSequence() == kEvents; }, 20s));
  const auto published = Clock::now() - publishing;
  bravo = linkTo(*bravoServer, "BRAVO");  // none of the live events
  awaitLinked();
  const auto fetching = Clock::now();
  bravo->fetch("ALFA", 1, kEvents);
  ASSERT_TRUE(awaitTrue(
      [&] {
        bravoGot.takeFrom(*bravo);
        return bravoGot.events["ALFA"].size() == kEvents;
      },
      10s));
  const auto fetched = Clock::now() - fetching;
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  std::printf("10000 events: published in %lld ms, fetched in %lld ms\n",
              static_cast<long long>(duration_cast<milliseconds>(published).count()),
              static_cast<long long>(duration_cast<milliseconds>(fetched).count()));
  EXPECT_LT(fetched, 6s);
}

TEST(NatsServerTest, DestructorLeavesNoChild) {
  const testing::TempFolder folder;
  HubServerConfig config;
  config.folder = folder.path() / "hub";
  config.leafHost = "127.0.0.1";
  config.leafPort = freeLoopbackPort();
  auto server = NatsServer::startHub(config);
  const pid_t child = server->pid();
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "running";
  EXPECT_EQ(testing::permissionsOf(config.folder), 0700U);
  server.reset();
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(NatsServerTest, PortTakenByAnotherProgramIsToldInItalian) {
  const testing::TempFolder folder;
  const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(::listen(taken, 8), 0);
  ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &size);
  LeafServerConfig config;
  config.folder = folder.path() / "leaf";
  config.domain = "SPROVA";
  config.clientPort = ntohs(address.sin_port);
  try {
    (void)NatsServer::startLeaf(config);
    ADD_FAILURE() << "a server started on a port another program holds";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Il server NATS non parte: ", 0), 0U) << error.what();
  }
  ::close(taken);
}

}  // namespace
}  // namespace vantor
