#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "contest/contact_time.h"
#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

using LogScreen = LogFixture;

TEST_F(LogScreen, OpensWithTheUtcTimeAndItsDefaults) {
  const std::pair<const Field*, const char*> texts[] = {
      {&log.serialSentField, "001"},    {&log.bandField, "Text2"},  {&log.modeList, "SSB"},
      {&log.timeField, "1432"},         {&log.dateField, "261207"}, {&log.rstField, "59"},
      {&log.utcClockField, "14:32:00"},
  };
  for (const auto& [field, text] : texts) {
    EXPECT_EQ(field->text(), text) << field->name();
  }
  EXPECT_EQ(log.modeList.items(), (std::vector<std::string>{"SSB", "CW"}));
  EXPECT_TRUE(log.bandField.locked() && log.qrbField.locked() && log.utcClockField.locked());
  EXPECT_TRUE(log.inContestBox.checked() && log.autoTimeBox.checked() && log.utcOption.checked());
  for (const Toggle* option : {&log.plusOneOption, &log.plusTwoOption, &log.utcOption}) {
    EXPECT_TRUE(option->visible()) << option->name();
  }
  EXPECT_FALSE(log.sicilyDoublingBox.visible());
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::None);
  EXPECT_EQ(log.callsignField.textColor(), Color::windowText());
}

TEST_F(LogScreen, SetsTheReportOfAPickedModeButNotOfATypedOne) {
  log.modeList.pickText("CW");
  EXPECT_EQ(log.rstField.text(), "599");
  log.modeList.pickText("SSB");
  EXPECT_EQ(log.rstField.text(), "59");
  log.modeList.setText("CW");
  EXPECT_EQ(log.rstField.text(), "59");
}

TEST_F(LogScreen, KeepsTheOptionsShownAndOneSelected) {
  log.autoTimeBox.click();
  EXPECT_FALSE(log.autoTimeBox.checked());
  log.plusOneOption.click();
  EXPECT_TRUE(log.plusOneOption.visible() && log.plusTwoOption.visible() &&
              log.utcOption.visible());
  EXPECT_TRUE(log.plusOneOption.checked());
  EXPECT_FALSE(log.plusTwoOption.checked() || log.utcOption.checked());
}

TEST_F(LogScreen, ShowsTheUtcClockTicking) {
  clock.pin({2026, 12, 8, 0, 5, 9}, 1);
  log.tick();
  EXPECT_EQ(log.utcClockField.text(), "23:05:09");
}

// The summary counts the contacts of the 10 and of the 60 minutes that end with the minute a
// contact made now would carry, as the clock goes on and by the time option picked; a duplicate
// is no contact.
TEST_F(LogScreen, CountsTheContactsOfTheLastMinutesAsTheClockGoesOn) {
  for (const auto& [minute, call] :
       {std::pair<DateTime, const char*>{{2026, 12, 7, 13, 40}, "QQ1AAA"},
        {{2026, 12, 7, 14, 20}, "QQ2AAA"},
        {{2026, 12, 7, 14, 30}, "QQ3AAA"},
        {{2026, 12, 7, 14, 31}, "QQ3AAA"}}) {
    clock.pin(minute);
    insert(call, "JN61FU");
  }
  EXPECT_EQ(log.squaresField.text(), "1");
  EXPECT_EQ(log.bandContactsField.text(), "3");
  EXPECT_EQ(log.bandPointsField.text(), "1047");
  const struct {
    DateTime now;
    int utcOffset;
    Toggle* option;
    const char* tenMinutes;
    const char* sixtyMinutes;
  } steps[] = {
      {{2026, 12, 7, 14, 30}, 0, &log.utcOption, "1", "3"},
      {{2026, 12, 7, 14, 39, 59}, 0, &log.utcOption, "1", "3"},
      {{2026, 12, 7, 14, 40}, 0, &log.utcOption, "0", "2"},
      {{2026, 12, 7, 15, 29}, 0, &log.utcOption, "0", "1"},
      {{2026, 12, 8, 14, 30}, 0, &log.utcOption, "0", "0"},
      {{2026, 12, 7, 15, 25}, 1, &log.utcOption, "1", "2"},
      {{2026, 12, 7, 15, 35}, 1, &log.plusOneOption, "1", "3"},
      {{2026, 12, 7, 16, 35}, 1, &log.plusTwoOption, "1", "3"},
  };
  for (const auto& step : steps) {
    step.option->click();
    clock.pin(step.now, step.utcOffset);
    log.tick();
    EXPECT_EQ(log.tenMinutesField.text(), step.tenMinutes) << clockText(step.now);
    EXPECT_EQ(log.sixtyMinutesField.text(), step.sixtyMinutes) << clockText(step.now);
  }
}

TEST_F(LogScreen, UpperCasesTheCallWithTheCaretAtTheEnd) {
  type(log.callsignField, "iw");
  EXPECT_EQ(log.callsignField.text(), "IW");
  EXPECT_EQ(log.callsignField.caret(), 2U);
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::NotDuplicate);
  EXPECT_EQ(log.callsignField.textColor(), Color::buttonText());
  log.callsignField.edit("IxW", 2);
  EXPECT_EQ(log.callsignField.text(), "IXW");
  EXPECT_EQ(log.callsignField.caret(), 3U);
  log.callsignField.edit("IZXW", 2);
  EXPECT_EQ(log.callsignField.caret(), 4U);
}

TEST_F(LogScreen, MarksOnlyTheCallOfARecordWhileItIsTyped) {
  type(log.callsignField, "qq1abc");
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::NotDuplicate) << "an empty log holds no call";
  log.logBuffer().setText("260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");

  const struct {
    const char* call;
    DuplicateMark mark;
  } steps[] = {
      {"QQ1", DuplicateMark::NotDuplicate},     {"QQ1A", DuplicateMark::NotDuplicate},
      {"QQ1AB", DuplicateMark::NotDuplicate},   {"QQ1ABC", DuplicateMark::Duplicate},
      {"QQ1ABCD", DuplicateMark::NotDuplicate}, {"JN80XX", DuplicateMark::NotDuplicate},
      {"260509;", DuplicateMark::NotDuplicate}, {"qq1abc", DuplicateMark::Duplicate},
  };
  for (const auto& step : steps) {
    log.callsignField.setText(step.call);
    EXPECT_EQ(log.duplicateMark(), step.mark) << step.call;
    EXPECT_EQ(log.callsignField.textColor(),
              step.mark == DuplicateMark::Duplicate ? colors::red : Color::buttonText())
        << step.call;
  }
  // The operator's edit of the buffer is what the next keystroke compares with.
  log.logBuffer().edit("260509;1432;QQ1ABD;1;59;001;59;005;;JN80XX;123;;N;;\r\n", 0);
  log.callsignField.clear();
  log.callsignField.setText("QQ1ABC");
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::NotDuplicate);
  log.callsignField.setText("QQ1ABD");
  EXPECT_EQ(log.duplicateMark(), DuplicateMark::Duplicate);
}

// With "Auto" each keystroke writes the time and the date of that moment: with "UTC" the clock's
// UTC, whatever the computer's own offset or its summer time; with an offset option the local
// time less that offset, reaching back past local midnight to the evening of the day before.
TEST_F(LogScreen, WritesTheUtcMomentOfEachKeystrokeWithAuto) {
  const struct {
    DateTime local;
    int pcOffset;  // the computer's local time ahead of UTC
    Toggle LogForm::*option;
    const char* time;
    const char* date;
  } cases[] = {
      {{2026, 12, 7, 15, 7}, 1, &LogForm::utcOption, "1407", "261207"},
      {{2026, 9, 12, 6, 30}, 2, &LogForm::utcOption, "0430", "260912"},
      {{2026, 9, 12, 6, 30}, 2, &LogForm::plusOneOption, "0530", "260912"},
      {{2027, 1, 1, 0, 30}, 1, &LogForm::utcOption, "2330", "261231"},
      {{2026, 10, 25, 2, 30}, 2, &LogForm::utcOption, "0030", "261025"},
      {{2026, 10, 25, 2, 30}, 1, &LogForm::utcOption, "0130", "261025"},
      {{2026, 10, 25, 2, 30}, 1, &LogForm::plusOneOption, "0130", "261025"},
      {{2026, 10, 25, 2, 30}, 2, &LogForm::plusTwoOption, "0030", "261025"},
      {{2026, 3, 29, 1, 59}, 1, &LogForm::utcOption, "0059", "260329"},
      {{2026, 3, 29, 3, 0}, 2, &LogForm::utcOption, "0100", "260329"},
      {{2026, 12, 7, 15, 7}, 0, &LogForm::plusTwoOption, "1307", "261207"},
      {{2026, 12, 7, 0, 30}, 0, &LogForm::plusOneOption, "2330", "261206"},
      {{2027, 1, 1, 1, 59}, 0, &LogForm::plusTwoOption, "2359", "261231"},
      {{2026, 5, 1, 0, 0}, 0, &LogForm::plusTwoOption, "2200", "260430"},
      {{2028, 3, 1, 1, 10}, 0, &LogForm::plusTwoOption, "2310", "280229"},
      {{2026, 3, 1, 0, 10}, 0, &LogForm::plusOneOption, "2310", "260228"},
      {{2100, 3, 1, 0, 45}, 0, &LogForm::plusOneOption, "2345", "000228"},
      {{2026, 12, 7, 1, 0}, 0, &LogForm::plusOneOption, "0000", "261207"},
  };
  for (const auto& c : cases) {
    (log.*c.option).click();
    clock.pin(c.local, c.pcOffset);
    log.callsignField.clear();
    type(log.callsignField, "q");
    EXPECT_EQ(log.timeField.text(), c.time) << c.time << ' ' << c.date;
    EXPECT_EQ(log.dateField.text(), c.date) << c.time << ' ' << c.date;
  }
}

TEST_F(LogScreen, LeavesTimeAndDateAloneWithoutAuto) {
  log.autoTimeBox.click();
  log.dateField.setText("261201");
  clock.pin({2026, 12, 7, 15, 7});
  type(log.callsignField, "qq1");
  log.plusOneOption.click();
  type(log.callsignField, "a");
  EXPECT_EQ(log.timeField.text(), "1432");
  EXPECT_EQ(log.dateField.text(), "261201");
}

TEST_F(LogScreen, ShowsTheQrbAndQtfOfASixCharacterLocator) {
  log.qrbField.setText("77");
  type(log.locatorField, "jn61f");
  EXPECT_EQ(log.locatorField.text(), "JN61F");
  EXPECT_EQ(log.locatorField.caret(), 5U);
  EXPECT_EQ(log.qrbField.text(), "77");
  EXPECT_EQ(log.qtfField.text(), "");
  type(log.locatorField, "u");
  EXPECT_EQ(log.qrbField.text(), "349");
  EXPECT_EQ(log.qtfField.text(), "284");
  log.locatorField.setText("JN81GD");
  EXPECT_EQ(log.qrbField.text(), "1") << "a contact in the home square counts 1";
  EXPECT_EQ(log.qtfField.text(), "270") << "the calculator's bearing of a course of no length";
  EXPECT_TRUE(log.qtfField.locked());
}

TEST_F(LogScreen, ShowsNoQrbForALocatorTheCalculatorRejects) {
  for (const char* locator : {"JNX1GD", "ZZ00AA", "JN8!GD"}) {
    log.locatorField.setText("JN61FU");
    log.locatorField.setText(locator);
    EXPECT_EQ(log.qrbField.text(), "") << locator;
    EXPECT_EQ(log.qtfField.text(), "") << locator;
  }
  EXPECT_EQ(session.bearing().homeLocatorField.text(), "JN81GD");
}

TEST_F(LogScreen, NavigatesBackAndClosesThroughTheSession) {
  log.backButton.press();
  EXPECT_EQ(screens.events, (std::vector<std::string>{"showHeader"}));
  log.closeButton.press();
  EXPECT_TRUE(session.ended());
  EXPECT_TRUE(dialogs.questions.empty()) << "an empty log has nothing to lose";
}

TEST_F(LogScreen, KnowsWhetherTheLogHoldsTextNotYetExported) {
  EXPECT_FALSE(log.hasUnsavedContacts());
  insert("QQ1ABC", "JN61FU");
  EXPECT_TRUE(log.hasUnsavedContacts());
  log.band().unsaved = false;
  EXPECT_FALSE(log.hasUnsavedContacts());
  log.logBuffer().append("typed by the operator");
  EXPECT_TRUE(log.hasUnsavedContacts());
  log.logBuffer().clear();
  EXPECT_FALSE(log.hasUnsavedContacts());

  insert("QQ1ABD", "JN61FU");
  log.closeButton.press();
  EXPECT_FALSE(session.ended());
  EXPECT_EQ(dialogs.questions.size(), 1U);
}

}  // namespace
}  // namespace vantor::testing
