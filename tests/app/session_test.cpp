#include "app/session.h"

#include <gtest/gtest.h>

#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace vantor {
namespace {

class SessionLifecycle : public ::testing::Test {
 protected:
  testing::PinnedClock clock;
  testing::RecordingDialogs dialogs;
  testing::RecordingScreens screens;
  Session session{clock, dialogs, screens};
};

TEST_F(SessionLifecycle, CreatesTheHiddenScreensOnFirstTouchOnly) {
  EXPECT_FALSE(session.hasLog());
  EXPECT_FALSE(session.hasBearing());
  LogForm& log = session.log();
  EXPECT_EQ(&session.log(), &log);
  EXPECT_TRUE(screens.events.empty()) << "creating a screen does not show it";
  BearingForm& bearing = session.bearing();
  EXPECT_EQ(&session.bearing(), &bearing);
}

TEST_F(SessionLifecycle, TheBearingExitDiscardsItsFieldsAndATouchCreatesItAnew) {
  session.bearing().homeLocatorField.setText("JN61FU");
  session.bearing().exitButton.press();
  EXPECT_FALSE(session.hasBearing());
  EXPECT_EQ(session.bearing().homeLocatorField.text(), "JN81GD");
}

TEST_F(SessionLifecycle, CloseAsksBeforeThrowingAwayUnsavedContacts) {
  session.log().logBuffer().setText("261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");
  ASSERT_TRUE(session.log().hasUnsavedContacts());
  dialogs.answers = {false};
  EXPECT_FALSE(session.close());
  EXPECT_FALSE(session.ended());
  EXPECT_TRUE(screens.events.empty());
  ASSERT_EQ(dialogs.questions.size(), 1U);
  EXPECT_EQ(dialogs.questions[0],
            "Il LOG contiene contatti non salvati in un file EDI. Uscire comunque?");

  dialogs.answers = {true};
  EXPECT_TRUE(session.close());
  EXPECT_TRUE(session.ended());
  EXPECT_EQ(screens.events, std::vector<std::string>{"closeAll"});
}

TEST_F(SessionLifecycle, CloseWithoutALogScreenEndsAtOnce) {
  EXPECT_TRUE(session.close());
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_FALSE(session.hasLog()) << "closing does not create the log screen";
}

}  // namespace
}  // namespace vantor
