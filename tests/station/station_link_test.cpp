#include "station/station_link.h"

#include <gtest/gtest.h>
#include <hamlib/riglist.h>
#include <hamlib/rotlist.h>

#include <chrono>
#include <clocale>
#include <memory>
#include <string>
#include <thread>

#include "support/hamlib_daemon.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::HamlibDaemon;

constexpr auto kLostWithin = 2s;
constexpr auto kConnectedWithin = 3s;

// Reads the link until `wanted` holds of its reading or the time is out; the last reading.
template <typename Wanted>
StationReading awaitReading(const StationLink& link, Wanted wanted,
                            std::chrono::milliseconds within) {
  const auto deadline = Clock::now() + within;
  StationReading reading = link.reading();
  while (!wanted(reading) && Clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
    reading = link.reading();
  }
  return reading;
}

bool rigIs(const StationReading& reading, LinkState state) {
  return reading.rig.state == state;
}
bool rotatorIs(const StationReading& reading, LinkState state) {
  return reading.rotator.state == state;
}

StationSettings throughDaemons(const HamlibDaemon* rig, const HamlibDaemon* rotator) {
  StationSettings settings;
  if (rig != nullptr) {
    settings.rig = {kNetRigctlModel, rig->address()};
  }
  if (rotator != nullptr) {
    settings.rotator = {kNetRotctlModel, rotator->address()};
  }
  return settings;
}

std::chrono::milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

TEST(StationLink, ReadsTheRigsFrequencyAndTheModeAsTheLogNamesIt) {
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  StationLink link;
  link.configure(throughDaemons(&rig, nullptr));
  for (const std::int64_t hz : {144'300'000, 432'210'500}) {
    ASSERT_EQ(rig.command("F " + std::to_string(hz)), "RPRT 0\n");
    const auto reading = awaitReading(
        link, [hz](const StationReading& now) { return now.rig.frequencyHz == hz; }, 2s);
    EXPECT_EQ(reading.rig.frequencyHz, hz);
    EXPECT_EQ(reading.rig.state, LinkState::Connected);
    EXPECT_EQ(reading.rig.problem, "");
  }
  const std::pair<std::string, std::string> kModes[] = {
      {"CW", "CW"}, {"USB", "SSB"},    {"CWR", "CW"}, {"LSB", "SSB"},
      {"FM", "FM"}, {"PKTUSB", "SSB"}, {"AM", "AM"},
  };
  for (const auto& [hamlibMode, shown] : kModes) {
    ASSERT_EQ(rig.command("M " + hamlibMode + " 0"), "RPRT 0\n");
    const auto reading = awaitReading(
        link, [&](const StationReading& now) { return now.rig.mode == shown; }, 2s);
    EXPECT_EQ(reading.rig.mode, shown) << "after " << hamlibMode;
  }
}

// The dummy rotator turns a few degrees a second: it moves toward the azimuth asked for, and
// stays where it is once stopped.
TEST(StationLink, TurnsTheRotatorTowardTheAzimuthAndStopsIt) {
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  StationLink link;
  link.configure(throughDaemons(nullptr, &rotator));
  const auto start = awaitReading(
      link, [](const StationReading& now) { return rotatorIs(now, LinkState::Connected); },
      kConnectedWithin);
  ASSERT_EQ(start.rotator.state, LinkState::Connected) << start.rotator.problem;
  link.turnTo(90);
  const auto turning = awaitReading(
      link,
      [&](const StationReading& now) { return now.rotator.azimuth >= start.rotator.azimuth + 3; },
      3s);
  EXPECT_GE(turning.rotator.azimuth, start.rotator.azimuth + 3);
  EXPECT_LT(turning.rotator.azimuth, 90);
  link.stopRotator();
  std::this_thread::sleep_for(500ms);
  const double stopped = link.reading().rotator.azimuth;
  std::this_thread::sleep_for(750ms);
  EXPECT_EQ(link.reading().rotator.azimuth, stopped);
  EXPECT_LT(stopped, 90);
}

class LostDaemon : public ::testing::TestWithParam<HamlibDaemon::Kind> {
 protected:
  [[nodiscard]] bool isRig() const { return GetParam() == HamlibDaemon::Kind::Rig; }
  [[nodiscard]] LinkState stateOf(const StationReading& reading) const {
    return isRig() ? reading.rig.state : reading.rotator.state;
  }
  [[nodiscard]] std::string problemOf(const StationReading& reading) const {
    return isRig() ? reading.rig.problem : reading.rotator.problem;
  }
  [[nodiscard]] StationReading await(const StationLink& link, LinkState state,
                                     std::chrono::milliseconds within) const {
    return awaitReading(
        link, [&](const StationReading& now) { return stateOf(now) == state; }, within);
  }
  [[nodiscard]] std::string lostText(const HamlibDaemon& daemon) const {
    return std::string(isRig() ? "Radio scollegata" : "Rotore scollegato") +
           ": nessuna risposta da " + daemon.address();
  }
};

TEST_P(LostDaemon, AKilledDaemonIsLostWithin2SecondsAndConnectedOnceItIsBack) {
  HamlibDaemon daemon(GetParam());
  StationLink link;
  link.configure(isRig() ? throughDaemons(&daemon, nullptr) : throughDaemons(nullptr, &daemon));
  ASSERT_EQ(stateOf(await(link, LinkState::Connected, kConnectedWithin)), LinkState::Connected);

  daemon.stop();
  const auto killed = Clock::now();
  const auto lost = await(link, LinkState::Lost, kLostWithin);
  EXPECT_LT(since(killed), kLostWithin);
  EXPECT_EQ(stateOf(lost), LinkState::Lost);
  EXPECT_EQ(problemOf(lost), lostText(daemon));

  daemon.restart();
  const auto back = await(link, LinkState::Connected, kConnectedWithin);
  EXPECT_EQ(stateOf(back), LinkState::Connected);
  EXPECT_EQ(problemOf(back), "");
}

TEST_P(LostDaemon, AHungDaemonIsLostWithin2SecondsAndConnectedOnceItAnswers) {
  HamlibDaemon daemon(GetParam());
  StationLink link;
  link.configure(isRig() ? throughDaemons(&daemon, nullptr) : throughDaemons(nullptr, &daemon));
  ASSERT_EQ(stateOf(await(link, LinkState::Connected, kConnectedWithin)), LinkState::Connected);

  daemon.hang();
  const auto hung = Clock::now();
  const auto lost = await(link, LinkState::Lost, kLostWithin);
  EXPECT_LT(since(hung), kLostWithin);
  EXPECT_EQ(problemOf(lost), lostText(daemon));

  daemon.resume();
  EXPECT_EQ(stateOf(await(link, LinkState::Connected, kConnectedWithin)), LinkState::Connected);
}

INSTANTIATE_TEST_SUITE_P(RigAndRotator, LostDaemon,
                         ::testing::Values(HamlibDaemon::Kind::Rig, HamlibDaemon::Kind::Rotator),
                         [](const auto& kind) {
                           return kind.param == HamlibDaemon::Kind::Rig ? "Rig" : "Rotator";
                         });

// A hung rig holds up neither the rotator, nor the settings, nor the end of the link, whichever
// hamlib call its worker is waiting in.
TEST(StationLink, AHungRigHoldsUpNothingElse) {
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  auto link = std::make_unique<StationLink>();
  link->configure(throughDaemons(&rig, &rotator));
  const auto both = [](const StationReading& now) {
    return rigIs(now, LinkState::Connected) && rotatorIs(now, LinkState::Connected);
  };
  ASSERT_TRUE(both(awaitReading(*link, both, kConnectedWithin)));

  rig.hang();
  link->turnTo(180);
  const auto lost = awaitReading(
      *link, [](const StationReading& now) { return rigIs(now, LinkState::Lost); }, kLostWithin);
  ASSERT_EQ(lost.rig.state, LinkState::Lost);
  EXPECT_EQ(lost.rotator.state, LinkState::Connected);
  const auto moved = awaitReading(
      *link, [&](const StationReading& now) { return now.rotator.azimuth > lost.rotator.azimuth; },
      2s);
  EXPECT_GT(moved.rotator.azimuth, lost.rotator.azimuth) << "the rotator is still polled";

  const auto configuring = Clock::now();
  link->configure(throughDaemons(&rig, nullptr));
  EXPECT_LT(since(configuring), 50ms);
  rotator.hang();
  link->configure(throughDaemons(&rig, &rotator));
  std::this_thread::sleep_for(600ms);
  const auto ending = Clock::now();
  link.reset();
  EXPECT_LT(since(ending), 1s);
}

struct BadSettings {
  const char* name;
  bool rig;
  DeviceSettings device;
  std::string problem;
};

class StationLinkBadSettings : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  std::string missingPort = (folder.path() / "ttyUSB9").string();
};

// Settings that can never answer are told at once, in the operator's words.
TEST_F(StationLinkBadSettings, ReadAsLostWithTheReason) {
  const BadSettings kCases[] = {
      {"rig model", true, {99999, ""}, "Il modello di radio 99999 non esiste"},
      {"rotator model", false, {99999, ""}, "Il modello di rotore 99999 non esiste"},
      {"rig port", true, {RIG_MODEL_IC7300, missingPort}, "Porta inesistente: " + missingPort},
      {"rotator port", false, {ROT_MODEL_GS232A, missingPort}, "Porta inesistente: " + missingPort},
  };
  for (const BadSettings& bad : kCases) {
    SCOPED_TRACE(bad.name);
    StationLink link;
    StationSettings settings;
    (bad.rig ? settings.rig : settings.rotator) = bad.device;
    link.configure(settings);
    const auto reading = awaitReading(
        link,
        [&](const StationReading& now) {
          return (bad.rig ? now.rig.problem : now.rotator.problem) == bad.problem;
        },
        1s);
    EXPECT_EQ(bad.rig ? reading.rig.problem : reading.rotator.problem, bad.problem);
    EXPECT_EQ(bad.rig ? reading.rig.state : reading.rotator.state, LinkState::Lost);
  }
}

// The reading follows the settings last given: another rig, then none.
TEST(StationLink, ReadsTheDevicesOfTheLatestSettings) {
  HamlibDaemon first(HamlibDaemon::Kind::Rig);
  HamlibDaemon second(HamlibDaemon::Kind::Rig);
  ASSERT_EQ(first.command("F 144300000"), "RPRT 0\n");
  ASSERT_EQ(second.command("F 1296200000"), "RPRT 0\n");
  StationLink link;
  EXPECT_EQ(link.reading().rig.state, LinkState::Off);
  for (const auto& [daemon, hz] : {std::pair{&first, 144'300'000}, {&second, 1'296'200'000}}) {
    link.configure(throughDaemons(daemon, nullptr));
    const auto reading = awaitReading(
        link, [hz](const StationReading& now) { return now.rig.frequencyHz == hz; }, 2s);
    EXPECT_EQ(reading.rig.frequencyHz, hz);
  }
  link.configure(StationSettings{});
  const StationReading off = link.reading();
  EXPECT_EQ(off.rig.state, LinkState::Off);
  EXPECT_EQ(off.rig.frequencyHz, 0);
  EXPECT_EQ(off.rig.problem, "");
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(link.reading().rig.state, LinkState::Off) << "no reading of the earlier rig comes late";
}

// An Italian desktop runs with a numeric locale of its own, which hamlib switches to "C" and back
// on both threads at once while it reads numbers: under the address sanitizer a name freed by one
// thread and read by the other shows here. The link keeps "C" throughout.
TEST(StationLink, ReadsRigAndRotatorTogetherUnderANumericLocaleOfTheDesktop) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C.UTF-8"), nullptr);
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  ASSERT_EQ(rig.command("F 432200000"), "RPRT 0\n");
  {
    StationLink link;
    link.configure(throughDaemons(&rig, &rotator));
    link.turnTo(45);
    const auto both = awaitReading(
        link,
        [](const StationReading& now) {
          return rigIs(now, LinkState::Connected) && rotatorIs(now, LinkState::Connected) &&
                 now.rotator.azimuth >= 3;
        },
        kConnectedWithin);
    EXPECT_EQ(both.rig.frequencyHz, 432'200'000);
    EXPECT_GE(both.rotator.azimuth, 3);
  }
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace vantor
