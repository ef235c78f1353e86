#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/session.h"
#include "geo/bearing_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace vantor::testing {

// A session whose log screen has been opened at 14:32 on 7 December 2026, with the calculator's
// home locator JN81GD: from there JN61FU lies 349 km away, KN02AA 306 km, JN71JK 150 km and JN81
// (its subsquare LL) 50 km.
class LogFixture : public ::testing::Test {
 protected:
  // Keystroke by keystroke, as the operator types.
  static void type(Field& field, std::string_view keys) {
    for (const char key : keys) {
      field.setText(field.text() + key);
    }
  }

  // A contact row that passes every check of "Inserisci".
  void fillRow(std::string_view call, std::string_view locator) {
    log.dateField.setText("261207");
    log.timeField.setText("1432");
    log.callsignField.clear();
    type(log.callsignField, call);
    log.locatorField.setText(locator);
  }

  void insert(std::string_view call, std::string_view locator) {
    fillRow(call, locator);
    log.insertButton.press();
  }

  PinnedClock clock{{2026, 12, 7, 14, 32}};
  RecordingDialogs dialogs;
  RecordingScreens screens;
  Session session{clock, dialogs, screens};
  LogForm& log = session.log();
};

}  // namespace vantor::testing
