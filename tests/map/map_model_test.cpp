#include "map/map_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "header/header_form.h"
#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

using MapModelTest = LogFixture;

// What a map shows, to compare a map that followed each change with one that read the log whole.
using Shown = std::vector<std::tuple<std::string, std::uint32_t, long, long>>;

Shown shown(const MapModel& map) {
  Shown spots;
  for (const MapSpot& spot : map.spots()) {
    spots.emplace_back(std::string(spot.locator.begin(), spot.locator.end()), spot.contacts,
                       std::lround(spot.at.east * 1000), std::lround(spot.at.north * 1000));
  }
  std::sort(spots.begin(), spots.end());
  return spots;
}

TEST_F(MapModelTest, PlacesAnInsertedContactAtItsQrbAndQtf) {
  MapModel map(log);
  map.refresh();
  insert("QQ1ABC", "JN61FU");
  EXPECT_EQ(map.refresh(), LogStep::Added);
  ASSERT_EQ(map.spots().size(), 1u);
  EXPECT_NEAR(distanceOf(map.spots()[0].at), 349, 1);
  const auto last = map.lastContact();
  ASSERT_TRUE(last);
  EXPECT_EQ(last->call, "QQ1ABC");
  EXPECT_EQ(last->qrb, 349);
  EXPECT_NEAR(bearingOf(map.spots()[0].at), last->qtf, 1);
  EXPECT_EQ(last->qtf, 284);
  EXPECT_EQ(map.refresh(), LogStep::None);
}

TEST_F(MapModelTest, LeavesDuplicatesOutAndMarksTheOdxAndTheLast) {
  MapModel map(log);
  insert("QQ1ABC", "JN61FU");
  insert("QQ1ABD", "JN71JK");
  insert("QQ1ABC", "JN61FU");
  map.refresh();
  ASSERT_EQ(map.spots().size(), 2u);
  EXPECT_EQ(map.spots()[0].contacts, 1u);
  EXPECT_EQ(map.workedSquares(), 2u);
  EXPECT_EQ(map.odx()->call, "QQ1ABC");
  EXPECT_EQ(map.lastContact()->call, "QQ1ABD");
  const MapPoint beside{map.spots()[1].at.east + 3, map.spots()[1].at.north};
  const auto near = map.spotNear(beside, 5);
  ASSERT_TRUE(near);
  const auto stations = map.stationsAt(*near, 5);
  ASSERT_EQ(stations.size(), 1u);
  EXPECT_EQ(stations[0].locator, "JN71JK");
  EXPECT_FALSE(map.spotNear({-2000, 0}, 5));
}

// A map that followed every change shows what a map reading the log afresh shows.
TEST_F(MapModelTest, FollowsEveryChangeAsAFreshReadingShowsIt) {
  session.header().bandList.pickText("144 Mhz");
  MapModel followed(log);
  const std::vector<std::function<void()>> changes = {
      [&] { insert("QQ1ABC", "JN61FU"); },
      [&] { insert("QQ1ABD", "jn71jk"); },
      [&] { insert("QQ1ABC", "JN61FU"); },
      [&] { insert("QQ2XX", "KN02"); },
      [&] { log.logBuffer().append("riga scritta a mano\r\n"); },
      [&] {
        const Contact contact = *log.document().contactAt(0);
        ContactCorrection correction;
        correction.id = contact.id;
        correction.time = contact.time;
        correction.date = contact.date;
        correction.call = contact.call;
        correction.rst = contact.rstReceived;
        correction.serialReceived = contact.serialReceived;
        correction.locator = "IO91WM";
        ASSERT_TRUE(log.correct(correction));
      },
      [&] { log.removeContact(log.document().contactAt(1)->id); },
      [&] { session.header().bandList.pickText("432 Mhz"); },
      [&] { insert("QQ3ABC", "JN45KM"); },
      [&] { session.header().bandList.pickText("144 Mhz"); },
      [&] { log.logBuffer().setText(log.logBuffer().text().substr(0, 10)); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    followed.refresh();
    MapModel fresh(log);
    fresh.refresh();
    EXPECT_EQ(shown(followed), shown(fresh)) << "after change " << i;
    EXPECT_EQ(followed.workedSquares(), fresh.workedSquares()) << "after change " << i;
  }
}

TEST_F(MapModelTest, ShowsTheLocatorTypedOnceValid) {
  MapModel map(log);
  map.refresh();
  log.locatorField.setText("JN61F");
  EXPECT_FALSE(map.typedLocator());
  log.locatorField.setText("JN61FU");
  const auto target = map.typedLocator();
  ASSERT_TRUE(target);
  EXPECT_EQ(target->qrb, 349);
  EXPECT_EQ(std::to_string(target->qtf), log.qtfField.text());
  EXPECT_NEAR(distanceOf(target->at), 349, 1);
}

TEST_F(MapModelTest, TurnsTheAntennaOnlyWhileTheRotatorAnswers) {
  MapModel map(log);
  map.refresh();
  EXPECT_EQ(map.turnAntenna(pointAt(300, 90)), LogForm::kRotatorAbsent);
  EXPECT_FALSE(map.antennaHeading());
  StationReading reading;
  reading.rotator = {LinkState::Connected, 123.4, {}};
  log.showStation(reading, {});
  EXPECT_EQ(map.antennaHeading(), 123.4);
  EXPECT_EQ(map.turnAntenna(pointAt(300, 90)), "Antenna verso 90°");
}

}  // namespace
}  // namespace vantor::testing
