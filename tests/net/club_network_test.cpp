#include "app/club_network.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "support/journal_run.h"
#include "support/nats_hub.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

// A PC of the club: the program on a data folder of its own, its header filled with `callsign`.
struct Pc {
  Pc(const std::filesystem::path& folder, std::string_view callsign) : run(folder) {
    run.session.keepNetworkFolder(folder / "rete");
    run.act([&] { fillRequiredHeader(run.session.header(), callsign); });
    run.act([&] { run.session.header().proceedButton.press(); });
  }
  void share(const std::string& station, const NatsHub& hub) {
    run.session.configureNetwork({station, hub.address}, {});
  }
  [[nodiscard]] std::string callsign() { return run.session.header().stationHeader().callsign; }

  ProgramRun run;
};

// Polls the PCs as the windows' live update does, until `done` or the patience runs out.
bool pollUntil(std::initializer_list<Pc*> pcs, const std::function<bool()>& done,
               std::chrono::seconds patience = std::chrono::seconds(15)) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (std::chrono::steady_clock::now() < deadline) {
    for (Pc* pc : pcs) {
      pc->run.session.pollNetwork();
    }
    if (done()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

class ClubNetworkTest : public ::testing::Test {
 protected:
  ClubNetworkTest() {
    first.share("144", hub);
    first.run.logContact("I4AAA", "JN61FU");
    EXPECT_TRUE(pollUntil({&first},
                          [&] { return hub.keeper->kept().find("QQ9XYZ") != std::string::npos; }));
  }

  TempFolder folder;
  NatsHub hub{folder.path() / "hub"};
  Pc first{folder.path() / "first", "qq9xyz"};
};

// A PC that joins with an empty log takes the contest the hub serves, keeping its band, and then
// shares it.
TEST_F(ClubNetworkTest, AStationWithAnEmptyLogTakesTheHubsContest) {
  Pc second(folder.path() / "second", "iq4zz");
  second.run.act([&] { second.run.session.header().bandList.pickText("432 Mhz"); });
  second.share("432", hub);
  ASSERT_TRUE(pollUntil({&first, &second}, [&] {
    return second.callsign() == "QQ9XYZ" &&
           second.run.session.log().bandLog("144 Mhz").holdsRecords();
  }));
  EXPECT_EQ(second.run.session.header().stationHeader().band, "432 Mhz");
  second.run.logContact("I5BBB", "JN53AA");
  EXPECT_TRUE(pollUntil({&first, &second},
                        [&] { return first.run.session.log().bandLog("432 Mhz").holdsRecords(); }));
}

// A PC whose log holds contacts of another contest is told, keeps its header and shares nothing.
TEST_F(ClubNetworkTest, AStationWithContactsOfAnotherContestIsToldAndSharesNothing) {
  Pc second(folder.path() / "second", "iq4zz");
  second.run.logContact("I5BBB", "JN53AA");
  second.share("432", hub);
  ASSERT_TRUE(pollUntil({&first, &second}, [&] { return !second.run.dialogs.messages.empty(); }));
  EXPECT_EQ(second.run.dialogs.messages.back().text,
            "Il hub è del contest \"Contest IARU Reg. I VHF\" di QQ9XYZ dal 08/12/2026: questa "
            "stazione è su un altro contest e non ne riceve i contatti");
  EXPECT_EQ(second.callsign(), "IQ4ZZ");
  EXPECT_FALSE(pollUntil(
      {&first, &second},
      [&] {
        return first.run.session.log().bandCount() > 1 ||
               first.run.session.log().document().score().contacts() > 1;
      },
      std::chrono::seconds(3)));
}

}  // namespace
}  // namespace vantor::testing
