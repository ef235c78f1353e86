#include "header/contest_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace vantor {
namespace {

using Items = std::vector<std::string>;

TEST(ContestCatalogue, ListsTheItemsCharacterForCharacter) {
  ASSERT_EQ(catalogue::contests().size(), 16U);
  EXPECT_EQ(catalogue::contests().front(), "IAC");
  EXPECT_EQ(catalogue::contests()[1], "Città di Firenze - Trofeo ARI");
  EXPECT_EQ(catalogue::contests()[5], "Contest IARU Reg. I VHF");
  EXPECT_EQ(catalogue::contests()[10], "Contest Alpe Adria UHF & SHF");
  EXPECT_EQ(catalogue::contests()[11], "Field day Sicilia");
  EXPECT_EQ(catalogue::contests()[12], "Contest IARU Reg. 1 50 MHz");
  EXPECT_EQ(catalogue::contests().back(), "Contest Grosseto 50 MHz");
  EXPECT_EQ(catalogue::allBands(), (Items{"50 Mhz", "144 Mhz", "432 Mhz", "1296 Mhz", "2320 Mhz",
                                          "5700 Mhz", "10 Ghz", "24 Ghz", "47 Ghz", "76 Ghz"}));
  EXPECT_EQ(catalogue::fieldDayCategories(),
            (Items{"Stazione Fissa", "Stazione Portatile", "Stazione Siciliana"}));
}

TEST(ContestCatalogue, GivesEveryBandItsCodeAndNothingElseACode) {
  const Items codes{"50", "144", "432", "1296", "2320", "5700", "10G", "24G", "47G", "76G"};
  for (std::size_t i = 0; i < codes.size(); ++i) {
    EXPECT_EQ(catalogue::bandCode(catalogue::allBands()[i]), codes[i]);
  }
  EXPECT_EQ(catalogue::bandCode("144 MHz"), std::nullopt);
  EXPECT_EQ(catalogue::bandCode("..."), std::nullopt);
  EXPECT_EQ(catalogue::bandCode(""), std::nullopt);
}

class ContestPicks : public ::testing::Test {
 protected:
  testing::PinnedClock clock;
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
  HeaderForm& header = session.header();
};

struct ContestPickCase {
  std::string contest;
  bool sicilyBoxShown;
  bool serialReceivedShown;
  Items categories;
  std::string categoryText;
  Items bands;
  std::string bandText;
};

class ContestPickRules : public ContestPicks,
                         public ::testing::WithParamInterface<ContestPickCase> {};

TEST_P(ContestPickRules, SwitchTheOtherListsAndTheLogScreen) {
  const ContestPickCase& expected = GetParam();
  header.categoryList.pickText("Multi operatore");
  header.bandList.pickText("432 Mhz");
  ASSERT_TRUE(header.contestList.pickText(expected.contest));
  const LogForm& log = session.log();
  EXPECT_EQ(log.sicilyDoublingBox.visible(), expected.sicilyBoxShown);
  EXPECT_EQ(log.serialReceivedField.visible(), expected.serialReceivedShown);
  EXPECT_EQ(header.categoryList.items(), expected.categories);
  EXPECT_EQ(header.categoryList.text(), expected.categoryText);
  EXPECT_EQ(header.bandList.items(), expected.bands);
  EXPECT_EQ(header.bandList.text(), expected.bandText);
  EXPECT_EQ(log.bandField.text(), "432") << "a contest pick keeps the band code";
}

INSTANTIATE_TEST_SUITE_P(Contests, ContestPickRules,
                         ::testing::Values(ContestPickCase{"Field day Sicilia", true, true,
                                                           catalogue::fieldDayCategories(), "",
                                                           catalogue::fieldDayBands(), ""},
                                           ContestPickCase{"IAC", false, false,
                                                           catalogue::standardCategories(), "...",
                                                           catalogue::allBands(), "..."},
                                           ContestPickCase{"Contest IARU Reg. I VHF", false, true,
                                                           catalogue::standardCategories(), "...",
                                                           catalogue::allBands(), "..."}));

TEST_F(ContestPicks, TheLogScreenIsCreatedByTheFirstContestPickWithItsDefaults) {
  EXPECT_FALSE(session.hasLog());
  header.contestList.setText("Field day Sicilia");
  EXPECT_FALSE(session.hasLog()) << "typing is no pick";
  header.contestList.pick(0);
  ASSERT_TRUE(session.hasLog());
  EXPECT_FALSE(session.log().serialReceivedField.visible());
  header.contestList.pickText("Contest IARU Reg. I VHF");
  EXPECT_TRUE(session.log().serialReceivedField.visible());
}

TEST_F(ContestPicks, BeforeAnyPickTheLogScreenShowsSerialAndHidesTheSicilyBox) {
  EXPECT_TRUE(session.log().serialReceivedField.visible());
  EXPECT_FALSE(session.log().sicilyDoublingBox.visible());
}

TEST_F(ContestPicks, ContestPickClearsOnlyItsOwnHighlight) {
  header.proceedButton.press();
  ASSERT_EQ(header.contestList.background(), colors::yellow);
  header.contestList.pickText("IAC");
  EXPECT_EQ(header.contestList.background(), colors::white);
  EXPECT_EQ(header.categoryList.background(), colors::yellow);
  EXPECT_EQ(header.bandList.background(), colors::yellow);
  header.categoryList.setText("Singolo Operatore");
  EXPECT_EQ(header.categoryList.background(), colors::yellow) << "typing keeps the highlight";
  header.categoryList.pickText("6 ore");
  EXPECT_EQ(header.categoryList.background(), colors::white);
  header.bandList.pickText("76 Ghz");
  EXPECT_EQ(header.bandList.background(), colors::white);
}

TEST_F(ContestPicks, FiftyMegahertzInTheSicilianFieldDayNarrowsTheCategories) {
  header.contestList.pickText("Field day Sicilia");
  header.categoryList.pickText("Stazione Siciliana");
  header.bandList.pickText("50 Mhz");
  const LogForm& log = session.log();
  EXPECT_EQ(log.bandField.text(), "50");
  EXPECT_FALSE(log.sicilyDoublingBox.visible());
  EXPECT_EQ(header.categoryList.items(), catalogue::fieldDay50Categories());
  EXPECT_EQ(header.categoryList.text(), "...");

  header.bandList.pickText("144 Mhz");
  EXPECT_EQ(log.bandField.text(), "144");
  EXPECT_FALSE(log.sicilyDoublingBox.visible()) << "only a new contest pick brings it back";
  EXPECT_EQ(header.categoryList.items(), catalogue::fieldDay50Categories());
}

TEST_F(ContestPicks, HidingTheSicilyBoxUnticksItSoNoContactIsDoubledUnseen) {
  header.contestList.pickText("Field day Sicilia");
  session.log().sicilyDoublingBox.click();
  ASSERT_TRUE(session.log().sicilyDoublingBox.checked());
  header.bandList.pickText("50 Mhz");
  EXPECT_FALSE(session.log().sicilyDoublingBox.checked());

  header.contestList.pickText("Field day Sicilia");
  session.log().sicilyDoublingBox.click();
  header.contestList.pickText("Contest Alpe Adria VHF");
  EXPECT_FALSE(session.log().sicilyDoublingBox.visible());
  EXPECT_FALSE(session.log().sicilyDoublingBox.checked());
}

TEST_F(ContestPicks, FiftyMegahertzInAnotherContestOnlySetsTheBand) {
  header.contestList.pickText("Contest Romagna 50 MHz");
  header.categoryList.pickText("6 ore");
  header.bandList.pickText("50 Mhz");
  EXPECT_EQ(session.log().bandField.text(), "50");
  EXPECT_EQ(header.categoryList.text(), "6 ore");
  EXPECT_EQ(header.categoryList.items(), catalogue::standardCategories());
}

TEST_F(ContestPicks, HighMicrowaveBandsShowTheirOwnCodes) {
  header.bandList.pickText("24 Ghz");
  EXPECT_EQ(session.log().bandField.text(), "24G");
  header.bandList.pickText("47 Ghz");
  EXPECT_EQ(session.log().bandField.text(), "47G");
  header.bandList.pickText("76 Ghz");
  EXPECT_EQ(session.log().bandField.text(), "76G");
}

TEST_F(ContestPicks, ATypedBandWritesNoCodeAndCreatesNoLogScreen) {
  header.bandList.setText("144 Mhz");
  EXPECT_FALSE(session.hasLog());
}

}  // namespace
}  // namespace vantor
