#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

StationReading rigLost(std::string problem) {
  StationReading reading;
  reading.rig = {LinkState::Lost, 0, {}, std::move(problem)};
  return reading;
}

StationReading rotatorAt(const RotatorReading& rotator) {
  StationReading reading;
  reading.rotator = rotator;
  return reading;
}

// The log screen shows what the station link reads; the link itself is tried against the real
// daemons elsewhere.
class LogStation : public LogFixture {
 protected:
  LogStation() {
    settings.transverterOffsets["432"] = 288'000'000;
    log.logBand("432 Mhz", "432");
    session.configureStation(settings, false);
  }

  static StationReading rigAt(std::int64_t hz, std::string mode = "SSB") {
    StationReading reading;
    reading.rig = {LinkState::Connected, hz, std::move(mode), {}};
    return reading;
  }

  StationSettings settings;
};

TEST_F(LogStation, ShowsTheFrequencyOnTheAirAndMarksItOutsideTheBand) {
  const struct {
    StationReading reading;
    const char* shown;
    bool warned;
  } cases[] = {
      {rigAt(144'300'000), "432.3000", false},
      {rigAt(144'300'050), "432.3001", false},
      {rigAt(154'000'000), "442.0000", true},
      {rigLost("Radio scollegata"), "scollegato", false},
      {{}, "", false},
  };
  for (const auto& c : cases) {
    log.showStation(c.reading, settings);
    EXPECT_EQ(log.frequencyField.text(), c.shown) << c.shown;
    EXPECT_EQ(log.frequencyField.background(), c.warned ? colors::yellow : colors::white)
        << c.shown;
  }
  EXPECT_TRUE(dialogs.messages.empty()) << "a rig lost during the contest only shows it";
}

// The rig's mode is picked once as it changes, with its report; the operator's own pick then
// stays until the rig changes mode again.
TEST_F(LogStation, PicksTheRigsModeWhenItChanges) {
  const struct {
    const char* rigMode;
    const char* operatorPick;
    bool taken;
    const char* mode;
    const char* rst;
  } steps[] = {
      {"CW", nullptr, true, "CW", "599"},  {"CW", "SSB", false, "SSB", "59"},
      {"CW", nullptr, false, "SSB", "59"}, {"SSB", nullptr, false, "SSB", "59"},
      {"FM", nullptr, false, "SSB", "59"}, {"CW", nullptr, true, "CW", "599"},
  };
  for (const auto& step : steps) {
    if (step.operatorPick != nullptr) {
      log.modeList.pickText(step.operatorPick);
    }
    EXPECT_EQ(log.showStation(rigAt(144'300'000, step.rigMode), settings), step.taken)
        << step.rigMode;
    EXPECT_EQ(log.modeList.text(), step.mode) << step.rigMode;
    EXPECT_EQ(log.rstField.text(), step.rst) << step.rigMode;
  }
}

TEST_F(LogStation, LogsTheRigsFrequencyWithTheContact) {
  log.showStation(rigAt(144'300'000), settings);
  insert("QQ1ABC", "JN61FU");
  log.showStation({}, settings);
  insert("QQ2ABC", "JN61FU");
  const std::vector<std::int64_t> logged = {log.document().contactAt(0)->frequencyHz,
                                            log.document().contactAt(1)->frequencyHz};
  EXPECT_EQ(logged, (std::vector<std::int64_t>{432'300'000, 0}));
  EXPECT_EQ(log.logBuffer().text().find("432300000"), std::string::npos) << "not in the record";
}

TEST_F(LogStation, ShowsTheHeadingInWholeDegrees) {
  const struct {
    RotatorReading rotator;
    const char* shown;
  } cases[] = {
      {{LinkState::Connected, 123.4, {}}, "123"},
      {{LinkState::Connected, 359.6, {}}, "0"},
      {{LinkState::Connected, -90, {}}, "270"},
      {{LinkState::Connected, 450, {}}, "90"},
      {{LinkState::Lost, 0, "Rotore scollegato"}, "scollegato"},
      {{LinkState::Off, 0, {}}, ""},
  };
  for (const auto& c : cases) {
    log.showStation(rotatorAt(c.rotator), settings);
    EXPECT_EQ(log.headingField.text(), c.shown) << c.shown;
  }
}

// Just after the operator set the station up, the first problem of each device is told once.
TEST_F(LogStation, TellsTheFirstProblemOfADeviceJustSetUp) {
  settings.rig.model = 1;
  settings.rotator.model = 1;
  log.expectStation(settings);
  StationReading lost = rigLost("Porta inesistente: /dev/ttyUSB9");
  lost.rotator = {LinkState::Lost, 0, "Rotore scollegato"};
  log.showStation(lost, settings);
  log.showStation(lost, settings);
  EXPECT_EQ(dialogs.messages, (std::vector<Message>{Message{"Porta inesistente: /dev/ttyUSB9"},
                                                    Message{"Rotore scollegato"}}));
}

// The locator typed comes first, then the contact at the log's caret; the QTF from JN81GD.
TEST(LogStationTurn, TurnsTheAntennaToTheLocatorTypedOrTheContactChosen) {
  PinnedClock clock;
  RecordingDialogs dialogs;
  std::vector<int> turns;
  LogLinks links;
  links.distanceTo = [](const std::string&) { return 100.0; };
  links.homeLocator = [] { return std::string("JN81GD"); };
  links.turnAntenna = [&](int bearing) { turns.push_back(bearing); };
  LogForm log(clock, dialogs, links);
  log.showStation(rotatorAt({LinkState::Connected, 0, {}}), {});
  log.logBuffer().setText("261207;1432;QQ1ABC;1;59;001;59;;;JN61FU;349;;N;;\r\n");
  log.locatorField.setText("KN02AA");
  log.turnButton.press();
  log.locatorField.setText("KN02A");
  log.logBuffer().setCaret(3);
  log.turnButton.press();
  log.logBuffer().setCaret(log.logBuffer().text().size());
  log.turnButton.press();
  EXPECT_EQ(turns, (std::vector<int>{70, 284}));
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].text,
            "Scrivere un locatore valido, o scegliere un contatto nel LOG, per puntare l'antenna");
  log.showStation({}, {});
  log.turnButton.press();
  EXPECT_EQ(dialogs.messages.back().text,
            "Il rotore non è collegato: configurarlo in \"Radio e rotore\"");
}

}  // namespace
}  // namespace vantor::testing
