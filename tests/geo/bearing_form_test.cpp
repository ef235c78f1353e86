#include "geo/bearing_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace vantor {
namespace {

using Texts = std::vector<std::string>;

// Home, other, distance, bearing, then the scratch fields Text7, Text2, Text4, Text8.
Texts texts(const BearingForm& form) {
  return {form.homeLocatorField.text(),   form.otherLocatorField.text(),
          form.distanceField.text(),      form.bearingField.text(),
          form.homeLatitudeField.text(),  form.homeLongitudeField.text(),
          form.otherLatitudeField.text(), form.otherLongitudeField.text()};
}

const Texts kAtCreation{"JN81GD", "...", "...", "...", "Text7", "Text2", "Text4", "Text8"};

class BearingFormTest : public ::testing::Test {
 protected:
  testing::RecordingDialogs dialogs;
  BearingForm form{dialogs, [] {}};
};

TEST_F(BearingFormTest, StartsWithItsTextsAndHiddenScratchFields) {
  EXPECT_EQ(texts(form), kAtCreation);
  for (const Field* field :
       {&form.homeLocatorField, &form.otherLocatorField, &form.distanceField, &form.bearingField}) {
    EXPECT_TRUE(field->visible()) << field->name();
  }
  for (const Field* field : {&form.homeLatitudeField, &form.homeLongitudeField,
                             &form.otherLatitudeField, &form.otherLongitudeField}) {
    EXPECT_FALSE(field->visible()) << field->name();
  }
}

TEST_F(BearingFormTest, CalculateDoesNothingWhileNoLocatorWasGiven) {
  form.calculateButton.press();
  EXPECT_EQ(texts(form), kAtCreation);
}

TEST_F(BearingFormTest, WritingASixCharacterLocatorUpperCasesItAndCalculates) {
  form.otherLocatorField.setText("jn61fu");
  EXPECT_EQ(texts(form), (Texts{"JN81GD", "JN61FU", " 349", " 284", "41.1458333333333",
                                "-16.5416666666667", "41.8541666666667", "-12.4583333333333"}));
  EXPECT_EQ(form.otherLocatorField.caret(), 6U);
}

TEST_F(BearingFormTest, AShorterLocatorWaitsForThePress) {
  form.homeLocatorField.setText("jn81gd");
  EXPECT_EQ(form.homeLocatorField.text(), "JN81GD");
  form.otherLocatorField.setText("jn81");
  EXPECT_EQ(form.otherLocatorField.text(), "JN81");
  EXPECT_EQ(form.otherLocatorField.caret(), 4U);
  EXPECT_EQ(form.distanceField.text(), "...");
  form.calculateButton.press();
  EXPECT_EQ(form.distanceField.text(), " 50");
  EXPECT_EQ(form.bearingField.text(), " 43");
}

TEST_F(BearingFormTest, AnInvalidOtherLocatorLeavesTheHomeLocatorForTheNextContact) {
  form.otherLocatorField.setText("jnx1gd");
  form.calculateButton.press();
  EXPECT_EQ(form.homeLocatorField.text(), "JN81GD");
  EXPECT_EQ(form.otherLocatorField.text(), "");
  EXPECT_EQ(form.distanceField.text(), "??????");
  EXPECT_EQ(form.bearingField.text(), "??????");

  form.otherLocatorField.setText("JN61FU");
  EXPECT_EQ(form.distanceField.text(), " 349");
}

TEST_F(BearingFormTest, BearingIsZeroWhenBothLocatorFieldsHoldTheSameText) {
  form.otherLocatorField.setText("JN81GD");
  EXPECT_EQ(form.distanceField.text(), " 0");
  EXPECT_EQ(form.bearingField.text(), "0");

  form.homeLocatorField.clear();
  form.otherLocatorField.setText("JN61FU");
  EXPECT_EQ(form.distanceField.text(), "??????");
  EXPECT_EQ(form.bearingField.text(), "0");
}

TEST_F(BearingFormTest, ATooLongHomeLocatorIsReportedOnceBeforeAnyResult) {
  std::vector<std::size_t> boxesAtDistanceWrites;
  form.distanceField.onChange([&] { boxesAtDistanceWrites.push_back(dialogs.messages.size()); });
  form.homeLocatorField.setText("jn81gdx");
  form.otherLocatorField.setText("jn61fu");
  form.calculateButton.press();
  const Message box = Message{"Locatore troppo lungo (massimo 6 caratteri)"};
  EXPECT_EQ(dialogs.messages, std::vector<Message>{box});
  EXPECT_EQ(boxesAtDistanceWrites, std::vector<std::size_t>{1});
  EXPECT_EQ(form.homeLocatorField.text(), "JN81GDX");
  EXPECT_EQ(form.distanceField.text(), "??????");

  form.homeLocatorField.setText("JN81GDXX");
  form.otherLocatorField.setText("JN61FU");
  EXPECT_EQ(dialogs.messages.size(), 2U);
}

TEST_F(BearingFormTest, OneWriteCalculatesOnceForEachChangeHandlingThatSeesSixCharacters) {
  int runs = 0;
  // Each run writes the distance; taking it back lets the next run write it again.
  form.distanceField.onChange([&] {
    if (form.distanceField.text() == " 349") {
      ++runs;
      form.distanceField.setText("...");
    }
  });
  form.otherLocatorField.setText("jn61fu");  // the write and its upper-case write-back
  EXPECT_EQ(runs, 2);
  form.calculateButton.press();
  EXPECT_EQ(runs, 3);
  form.otherLocatorField.setText("JN61FU");
  EXPECT_EQ(runs, 3);
  form.otherLocatorField.setText("JN61F");
  form.otherLocatorField.setText("JN61FU");
  EXPECT_EQ(runs, 4);
}

TEST_F(BearingFormTest, TheSameCoordinatesAgainRewriteAScratchFieldThatWasChanged) {
  form.otherLocatorField.setText("JN61FU");
  form.homeLatitudeField.setText("Text7");
  form.calculateButton.press();
  EXPECT_EQ(form.homeLatitudeField.text(), "41.1458333333333");
}

TEST(BearingFormEffects, WritesTheFieldsInTheirOrder) {
  struct Case {
    std::string other;
    Texts writes;
  };
  const std::vector<Case> cases{
      {"JNX1GD",
       {"Text6=?????? Text5=", "Text7=41.1458333333333 Text5=", "Text2=-16.5416666666667 Text5=",
        "Text4=41.1458333333333 Text5=", "Text8=-80.5416666666667 Text5=", "Text1=?????? Text5="}},
      {"JN61FU",
       {"Text7=41.1458333333333 Text5=JN61FU", "Text2=-16.5416666666667 Text5=JN61FU",
        "Text4=41.8541666666667 Text5=JN61FU", "Text8=-12.4583333333333 Text5=JN61FU",
        "Text1= 284 Text5=JN61FU", "Text6= 349 Text5=JN61FU"}},
      {"JN81GD",
       {"Text7=41.1458333333333 Text5=JN81GD", "Text2=-16.5416666666667 Text5=JN81GD",
        "Text4=41.1458333333333 Text5=JN81GD", "Text8=-16.5416666666667 Text5=JN81GD",
        "Text1=0 Text5=JN81GD", "Text6= 0 Text5=JN81GD"}}};
  for (const Case& c : cases) {
    testing::RecordingDialogs dialogs;
    BearingForm form(dialogs, [] {});
    Texts writes;
    for (Field* field :
         {&form.distanceField, &form.bearingField, &form.homeLatitudeField,
          &form.homeLongitudeField, &form.otherLatitudeField, &form.otherLongitudeField}) {
      field->onChange([&writes, &form, field] {
        writes.push_back(field->name() + "=" + field->text() +
                         " Text5=" + form.otherLocatorField.text());
      });
    }
    form.otherLocatorField.setText(c.other);
    EXPECT_EQ(writes, c.writes) << c.other;
  }
}

TEST_F(BearingFormTest, SurvivesTextsThatAreNoLocators) {
  for (const std::string& text : {std::string(10'000, 'x'), std::string("😀😀😀😀😀😀"),
                                  std::string("jn81gð"), std::string("\xff\xfe\xfd\xfc\xfb\xfa")}) {
    form.otherLocatorField.setText(text);
    form.calculateButton.press();
    EXPECT_EQ(form.otherLocatorField.text(), "");
    EXPECT_EQ(form.distanceField.text(), "??????");
    EXPECT_EQ(form.homeLocatorField.text(), "JN81GD");
  }
}

TEST(BearingFormExit, CallsTheExitFunctionThatMayDestroyTheForm) {
  testing::RecordingDialogs dialogs;
  int exits = 0;
  std::unique_ptr<BearingForm> form;
  form = std::make_unique<BearingForm>(dialogs, [&] {
    ++exits;
    form.reset();
  });
  form->exitButton.press();
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(form, nullptr);
}

}  // namespace
}  // namespace vantor
