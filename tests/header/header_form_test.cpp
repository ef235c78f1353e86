#include "header/header_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "geo/bearing_form.h"
#include "log/log_form.h"
#include "support/fakes.h"
#include "support/header_fill.h"

namespace vantor {
namespace {

class HeaderScreen : public ::testing::Test {
 protected:
  testing::PinnedClock clock{{2026, 12, 7, 9, 5}};
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
  HeaderForm& header = session.header();
};

TEST_F(HeaderScreen, StartsWithTodayAndPlaceholdersAndFocusOnTheCallsign) {
  EXPECT_EQ(header.startDateField.text(), "07/12/2026");
  EXPECT_EQ(header.endDateField.text(), "07/12/2026");
  EXPECT_EQ(header.contestList.text(), "...");
  EXPECT_EQ(header.categoryList.text(), "...");
  EXPECT_EQ(header.bandList.text(), "...");
  EXPECT_EQ(header.contestList.items().size(), 16U);
  EXPECT_EQ(header.focusRequest(), &header.callsignField);
  EXPECT_FALSE(header.ediHeaderBuffer.visible());
  EXPECT_FALSE(session.hasLog());
  EXPECT_FALSE(session.hasBearing());
}

TEST_F(HeaderScreen, UpperCasesOnlyTheNamingFieldsWithTheCaretAtTheEnd) {
  struct Case {
    Field& field;
    bool upperCased;
  };
  const std::vector<Case> cases{
      {header.callsignField, true},     {header.locatorField, true},
      {header.nameField, true},         {header.addressField, true},
      {header.cityField, true},         {header.countryField, true},
      {header.postcodeField, false},    {header.phoneField, false},
      {header.emailField, false},       {header.operatorsField, false},
      {header.clubField, false},        {header.receiverField, false},
      {header.transmitterField, false}, {header.antennasField, false},
      {header.powerField, false},       {header.antennaHeightField, false},
      {header.altitudeField, false},    {header.commentsField, false},
      {header.startDateField, false}};
  for (const Case& c : cases) {
    c.field.setText("axbc è");
    EXPECT_EQ(c.field.text(), c.upperCased ? "AXBC È" : "axbc è") << c.field.name();
    if (c.upperCased) {
      EXPECT_EQ(c.field.caret(), c.field.text().size()) << c.field.name();
    }
  }
}

TEST_F(HeaderScreen, ProceedWithNothingFilledHighlightsAllFiveAndShowsOneMessage) {
  header.proceedButton.press();
  for (const Field* field :
       std::vector<const Field*>{&header.callsignField, &header.locatorField, &header.contestList,
                                 &header.categoryList, &header.bandList}) {
    EXPECT_EQ(field->background(), colors::yellow) << field->name();
  }
  EXPECT_EQ(header.nameField.background(), colors::white);
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0],
            (Message{"Inserire campi mancanti", "Vantor by Karsel", Message::Icon::Information}));
  EXPECT_TRUE(screens.events.empty());
  EXPECT_FALSE(session.hasLog());
  EXPECT_FALSE(session.hasBearing());
}

TEST_F(HeaderScreen, TypingIntoAHighlightedCallsignTurnsItWhiteAtOnce) {
  header.proceedButton.press();
  header.callsignField.setText("Q");
  EXPECT_EQ(header.callsignField.background(), colors::white);
  header.callsignField.setText("");
  EXPECT_EQ(header.callsignField.background(), colors::white);
}

TEST(RequiredFields, AreMissingOnlyWhenExactlyEmptyOrThePlaceholder) {
  StationHeader station{};
  station.callsign = "  ";
  station.locator = "JN70AA";
  station.contest = "";
  station.category = "typed by hand";
  station.band = "...";
  EXPECT_EQ(missingRequiredFields(station), std::vector<RequiredField>{RequiredField::Band});
  station.callsign.clear();
  station.contest = "...";
  EXPECT_EQ(missingRequiredFields(station),
            (std::vector<RequiredField>{RequiredField::Callsign, RequiredField::Contest,
                                        RequiredField::Band}));
}

TEST(LogDate, IsBuiltFromTheStartDateWithoutPadding) {
  EXPECT_EQ(logDateFromStartDate("07/12/2026"), "261207");
  EXPECT_EQ(logDateFromStartDate("7/12/2026"), "26127");
  EXPECT_EQ(logDateFromStartDate("7/1/2026"), "2617");
  EXPECT_EQ(logDateFromStartDate("07/12/26"), "261207");
  EXPECT_EQ(logDateFromStartDate("07/12/6"), "61207");
  EXPECT_EQ(logDateFromStartDate("07/12/2026/x"), "261207");
  EXPECT_EQ(logDateFromStartDate("//"), "");
  EXPECT_EQ(logDateFromStartDate("07-12-2026"), std::nullopt);
  EXPECT_EQ(logDateFromStartDate("07/12"), std::nullopt);
  EXPECT_EQ(logDateFromStartDate(""), std::nullopt);
}

TEST_F(HeaderScreen, ProceedHandsOverTheLocatorAndDateAndOpensTheLogScreen) {
  testing::fillRequiredHeader(header);
  header.proceedButton.press();
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_TRUE(session.hasBearing());
  EXPECT_EQ(session.bearing().homeLocatorField.text(), "JN70AA");
  EXPECT_EQ(session.log().dateField.text(), "261207");
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"});
  EXPECT_EQ(session.log().focusRequest(), &session.log().callsignField);
}

TEST_F(HeaderScreen, ProceedAgainOverwritesTheHandOverButNotTheLog) {
  testing::fillRequiredHeader(header);
  header.proceedButton.press();
  session.log().autoTimeBox.click();
  session.log().dateField.setText("999999");
  header.locatorField.setText("JN61FU");
  header.startDateField.setText("08/12/2026");
  header.proceedButton.press();
  EXPECT_EQ(session.bearing().homeLocatorField.text(), "JN61FU");
  EXPECT_EQ(session.log().dateField.text(), "261208");
  session.log().autoTimeBox.click();
  header.proceedButton.press();
  EXPECT_EQ(session.log().dateField.text(), "261207") << "with Auto the clock's date";
}

TEST_F(HeaderScreen, ProceedRefusesAnInvalidLocatorAndHighlightsIt) {
  testing::fillRequiredHeader(header);
  for (const char* locator : {"JN7", "JN70A", "JZ70AA", "JN70AZ", "J170AA", "JN70AA1"}) {
    dialogs.messages.clear();
    header.locatorField.setText(locator);
    header.proceedButton.press();
    EXPECT_EQ(header.locatorField.background(), colors::yellow) << locator;
    ASSERT_EQ(dialogs.messages.size(), 1U) << locator;
    EXPECT_EQ(dialogs.messages[0],
              (Message{"Locatore non valido", "Vantor by Karsel", Message::Icon::Information}));
    EXPECT_TRUE(screens.events.empty()) << locator;
    EXPECT_FALSE(session.hasBearing()) << locator;
  }
  header.locatorField.setText("JN70");
  header.proceedButton.press();
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"}) << "four characters mean LL";
}

TEST_F(HeaderScreen, ProceedRefusesAStartDateWithoutThreeParts) {
  testing::fillRequiredHeader(header);
  header.startDateField.setText("7.12.2026");
  const std::uint64_t dateWrites = session.log().dateField.rewrites();
  header.proceedButton.press();
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0], (Message{"Data inizio non valida: usare il formato gg/mm/aaaa",
                                          "Vantor by Karsel", Message::Icon::Information}));
  EXPECT_TRUE(screens.events.empty());
  EXPECT_FALSE(session.hasBearing());
  EXPECT_EQ(session.log().dateField.rewrites(), dateWrites);
}

TEST_F(HeaderScreen, ProceedAcceptsTheEmptyListsOfTheSicilianFieldDay) {
  testing::fillRequiredHeader(header);
  header.contestList.pickText("Field day Sicilia");
  header.proceedButton.press();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(screens.events, std::vector<std::string>{"showLog"});
}

TEST_F(HeaderScreen, CloseWithNothingLoggedEndsAtOnce) {
  header.closeButton.press();
  EXPECT_TRUE(session.ended());
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_EQ(screens.events, std::vector<std::string>{"closeAll"});
}

}  // namespace
}  // namespace vantor
