#include "net/club_station.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/event_bus.h"
#include "support/fakes.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

// One PC of a club station: its session on the example header, logging `band`, sharing through
// the bus.
struct Station {
  Station(EventBus& bus, std::string name, std::string_view band) : port(bus.join(name)) {
    session.setProgramFolder(folder.path());
    fillRequiredHeader(header);
    header.bandList.pickText(band);
    header.proceedButton.press();
    log.autoTimeBox.click();
    this->name = std::move(name);
    start();
  }

  // The program started again on what the disk holds: the log as the journal keeps it.
  void start() {
    const StationHeader station = header.stationHeader();
    ClubLinks links;
    links.nowMs = [this] { return nowMs; };
    club.reset();
    club = std::make_unique<ClubStation>(log, dialogs, port, name,
                                         ContestClaim{contestKeyOf(station), station}, links);
    EXPECT_FALSE(club->open(files, folder.path() / "eventi"));
  }

  void insert(std::string_view time, std::string_view call, std::string_view locator) {
    log.timeField.setText(time);
    log.callsignField.clear();
    for (std::size_t typed = 1; typed <= call.size(); ++typed) {
      log.callsignField.setText(call.substr(0, typed));
    }
    log.locatorField.setText(locator);
    log.insertButton.press();
    operated();
  }

  // What the session does after every operator action.
  void operated() {
    club->takeOperatorChanges();
    club->send();
  }

  [[nodiscard]] std::vector<std::string> records(const std::string& band) {
    std::vector<std::string> records;
    LogDocument& document = log.bandLog(band).document();
    for (std::size_t line = 0; line < document.lines().size(); ++line) {
      if (document.lines()[line].isRecord()) {
        records.emplace_back(document.lineText(line));
      }
    }
    return records;
  }

  [[nodiscard]] std::size_t lineOf(const std::string& band, std::string_view call) {
    LogDocument& document = log.bandLog(band).document();
    return document.recordsOf(call).at(0);
  }

  std::string name;
  TempFolder folder;
  PinnedClock clock{{2026, 12, 7, 14, 32}};
  RecordingDialogs dialogs;
  RecordingScreens screens;
  Session session{clock, dialogs, screens};
  HeaderForm& header = session.header();
  LogForm& log = session.log();
  EventBus::Port& port;
  platform::FileSystem files;
  std::int64_t nowMs = 1'796'000'000'000;
  std::unique_ptr<ClubStation> club;
};

const std::vector<std::string> kBands{"144 Mhz", "432 Mhz", "1296 Mhz"};
const std::vector<std::string> kFiles{"01_QQ9XYZ.edi", "03_QQ9XYZ.edi", "05_QQ9XYZ.edi"};

class ClubStationTest : public ::testing::Test {
 protected:
  ClubStationTest() {
    for (std::size_t index = 0; index < kBands.size(); ++index) {
      stations.push_back(std::make_unique<Station>(bus, names[index], kBands[index]));
    }
  }

  // A few seconds of the network: presences told and heard, arrivals taken.
  void settle() {
    for (int round = 0; round < 4; ++round) {
      for (auto& station : stations) {
        station->club->tick();
      }
      bus.deliverPresences();
      for (auto& station : stations) {
        station->club->takeArrivals();
      }
    }
  }

  // Every station holds the same records in the same order in every band log, and writes the
  // same EDI files.
  void expectConverged(std::size_t contacts) {
    std::size_t held = 0;
    for (const std::string& band : kBands) {
      const std::vector<std::string> first = stations[0]->records(band);
      held += first.size();
      for (auto& station : stations) {
        EXPECT_EQ(station->records(band), first) << station->name << " " << band;
      }
    }
    EXPECT_EQ(held, contacts);
    for (auto& station : stations) {
      station->log.exportButton.press();
    }
    for (std::size_t band = 0; band < kBands.size(); ++band) {
      if (stations[0]->records(kBands[band]).empty()) {
        continue;
      }
      const std::string file = kFiles[band];
      const std::string text = readBytes(stations[0]->folder.path() / file);
      EXPECT_FALSE(text.empty()) << file;
      for (auto& station : stations) {
        EXPECT_EQ(readBytes(station->folder.path() / file), text) << station->name << " " << file;
      }
    }
  }

  EventBus bus;
  const std::vector<std::string> names{"144", "432", "1296"};
  std::vector<std::unique_ptr<Station>> stations;
};

TEST_F(ClubStationTest, EveryStationHoldsEveryContactInTheSameOrder) {
  Station& a = *stations[0];
  Station& b = *stations[1];
  a.insert("1430", "I4AAA", "JN61FU");
  b.insert("1431", "I5BBB", "JN53AA");
  a.insert("1429", "I4CCC", "JN54AA");
  stations[2]->insert("1440", "I4AAA", "JN61FU");
  settle();
  EXPECT_EQ(b.records("144 Mhz").size(), 2u);
  EXPECT_NE(b.records("144 Mhz")[0].find("I4CCC"), std::string::npos) << "by time, not arrival";
  EXPECT_EQ(b.club->ownerOf(b.log.bandLog("144 Mhz"), 0), "");
  const ContactId aaa =
      b.log.bandLog("144 Mhz").document().lines()[b.lineOf("144 Mhz", "I4AAA")].id;
  EXPECT_EQ(b.club->ownerOf(b.log.bandLog("144 Mhz"), aaa), "144");
  expectConverged(4);
}

TEST_F(ClubStationTest, CorrectionsAndRemovalsReachEveryStation) {
  Station& a = *stations[0];
  a.insert("1430", "I4AAA", "JN61FU");
  a.insert("1431", "I4BBB", "JN61FU");
  a.insert("1432", "I4AAA", "JN61FU");
  settle();
  EXPECT_NE(stations[1]->records("144 Mhz")[2].find(";D"), std::string::npos);
  LogDocument& document = a.log.document();
  const Contact first = *document.contactAt(a.lineOf("144 Mhz", "I4BBB"));
  ContactCorrection correction;
  correction.id = first.id;
  correction.time = first.time;
  correction.date = first.date;
  correction.call = "I4BBC";
  correction.rst = first.rstSent;
  correction.locator = "JN54AA";
  ASSERT_TRUE(a.log.correct(correction));
  a.operated();
  a.log.removeContact(document.contactAt(a.lineOf("144 Mhz", "I4AAA"))->id);
  a.operated();
  settle();
  const std::vector<std::string> records = stations[2]->records("144 Mhz");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NE(records[0].find("I4BBC;1;59;002;59;;;JN54AA"), std::string::npos);
  EXPECT_EQ(records[1].find(";D"), std::string::npos) << "the duplicate became the contact";
  expectConverged(2);
}

TEST_F(ClubStationTest, AnotherStationsRecordTouchedHereIsPutBack) {
  stations[0]->insert("1430", "I4AAA", "JN61FU");
  settle();
  Station& b = *stations[1];
  Field& buffer = b.log.bandLog("144 Mhz").buffer;
  const std::string before = buffer.text();
  // As the program's boxes do: what came before a box is asked for again while it opens.
  b.dialogs.whileShown = [&](const Message&) { b.operated(); };
  buffer.editPart(before.find("I4AAA") + 3, 2, "XX", 0);
  b.operated();
  EXPECT_EQ(buffer.text(), before);
  buffer.editPart(0, before.size(), "", 0);
  b.operated();
  EXPECT_EQ(buffer.text(), before);
  ASSERT_EQ(b.dialogs.messages.size(), 2u);
  EXPECT_EQ(b.dialogs.messages[0].text,
            "Il contatto I4AAA è della stazione 144: solo lei può correggerlo");
  EXPECT_EQ(b.dialogs.messages[1].text,
            "Il contatto I4AAA è della stazione 144: solo lei può eliminarlo");
  EXPECT_EQ(bus.streamSize("432"), 0u);
}

// Contacts logged while stations are cut off, a station started again while cut off, the hub
// back: each contact once on every station, whatever came when.
TEST_F(ClubStationTest, StationsCutOffAndStartedAgainConvergeWithNothingLostOrDoubled) {
  std::mt19937 random(20261211);
  std::size_t logged = 0;
  for (int round = 0; round < 12; ++round) {
    for (std::size_t index = 0; index < stations.size(); ++index) {
      stations[index]->port.connected = random() % 3 != 0;
    }
    Station& station = *stations[random() % stations.size()];
    for (int contact = 0; contact < 3; ++contact, ++logged) {
      const std::string time = std::to_string(1000 + random() % 1300 / 100 * 100 + random() % 60);
      station.insert(time,
                     "I" + std::to_string(logged % 10) + "A" + std::string(1, 'A' + logged % 26),
                     "JN61FU");
    }
    if (round % 4 == 3) {
      stations[random() % stations.size()]->start();
    }
    settle();
  }
  for (auto& station : stations) {
    station->port.connected = true;
  }
  settle();
  expectConverged(logged);
}

TEST_F(ClubStationTest, MessagesThatCannotBeTakenAreCountedAndNotApplied) {
  Station& a = *stations[0];
  stations[1]->insert("1430", "I5AAA", "JN61FU");
  NetEvent event;
  event.contestKey = "0123456789abcdef";
  event.station = "432";
  event.sequence = 9;
  event.contact = 9;
  event.version = 1;
  event.band = "432 Mhz";
  event.record = "261207;1430;I5ZZZ;1;59;001;59;;;JN61FU;349;;N;;";
  bus.deliver("432", LinkMessage::Kind::Event, "rumore");
  bus.deliver("432", LinkMessage::Kind::Event, encodeEvent(event));
  event.contestKey = a.club->contest().contestKey();
  bus.deliver("1296", LinkMessage::Kind::Event, encodeEvent(event));
  bus.deliver("432", LinkMessage::Kind::Foreign, "altro");
  a.club->takeArrivals();
  EXPECT_EQ(a.club->rejected().unreadable, 1u);
  EXPECT_EQ(a.club->rejected().otherContest, 2u);
  EXPECT_EQ(a.club->rejected().wrongStation, 1u);
  EXPECT_EQ(a.records("432 Mhz").size(), 1u);
}

TEST_F(ClubStationTest, PeersShowTheirClockAndTheBandTheyHold) {
  Station& a = *stations[0];
  Station& b = *stations[1];
  b.nowMs += 25'000;
  settle();
  const std::vector<PeerState> peers = a.club->peers();
  ASSERT_EQ(peers.size(), 2u);
  EXPECT_EQ(peers[1].station, "432");
  EXPECT_EQ(peers[1].band, "432 Mhz");
  EXPECT_EQ(peers[1].clockDifferenceMs, 25'000);
  a.header.bandList.pickText("432 Mhz");
  a.club->tick();
  ASSERT_FALSE(a.dialogs.messages.empty());
  EXPECT_EQ(a.dialogs.messages.back().text,
            "La banda 432 Mhz è tenuta dalla stazione 432: i suoi numeri progressivi andrebbero "
            "in conflitto con questi");
}

TEST_F(ClubStationTest, AHubOfAnotherContestIsTold) {
  Station& a = *stations[0];
  EXPECT_FALSE(a.club->hubAgrees());
  StationHeader other = a.header.stationHeader();
  other.contest = "Altro contest";
  bus.hubAnswer = encodeClaim({contestKeyOf(other), other});
  a.club->tick();
  EXPECT_FALSE(a.club->hubAgrees());
  EXPECT_NE(a.club->problem().find("Il hub è del contest \"Altro contest\""), std::string::npos);
  const StationHeader same = a.header.stationHeader();
  bus.hubAnswer = encodeClaim({contestKeyOf(same), same});
  EXPECT_TRUE(stations[1]->club->hubAgrees());
  bus.hubAnsweredAgoMs = kPresenceLapseMs + 1000;
  EXPECT_FALSE(stations[1]->club->hubAgrees()) << "a hub gone quiet";
}

}  // namespace
}  // namespace vantor::testing
