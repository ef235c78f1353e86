#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "log/contact_form.h"
#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

class Correction : public LogFixture {
 protected:
  // The contact on line `line`, the caret put on it and opened as the operator opens it.
  ContactForm& open(std::size_t line) {
    const std::string& text = log.logBuffer().text();
    std::size_t at = 0;
    for (std::size_t skipped = 0; skipped < line; ++skipped) {
      at = text.find("\r\n", at) + 2;
    }
    log.logBuffer().setCaret(at + 3);
    log.logBuffer().open();
    EXPECT_NE(session.contact(), nullptr);
    return *session.contact();
  }
  std::string line(std::size_t index) { return std::string(log.document().lineText(index)); }
};

// OK rewrites the line with its points worked out again (the doubling kept), marks the
// duplicates of both calls and the new squares again, and the statistics follow.
TEST_F(Correction, RescoresTheLineAndMarksTheDuplicatesAgain) {
  const struct {
    std::size_t line;
    Field ContactForm::*field;
    std::string_view typed;
    std::vector<std::string> lines;
    std::string_view total;
  } cases[] = {
      {0,
       &ContactForm::locatorField,
       "kn02aa",
       {"261207;1432;QQ1AAA;1;59;001;59;;;KN02AA;306;;N;;",
        "261207;1432;QQ1BBB;1;59;002;59;;;JN71JK;150;;N;;",
        "261207;1432;QQ1AAA;1;59;003;59;;;JN71JK;0;;;;D",
        "261207;1432;IT9ABC;1;59;004;59;;;JN71JK;300;;;;"},
       "756"},
      {0,
       &ContactForm::callsignField,
       "qq1ccc",
       {"261207;1432;QQ1CCC;1;59;001;59;;;JN61FU;349;;N;;",
        "261207;1432;QQ1BBB;1;59;002;59;;;JN71JK;150;;N;;",
        "261207;1432;QQ1AAA;1;59;003;59;;;JN71JK;150;;;;",
        "261207;1432;IT9ABC;1;59;004;59;;;JN71JK;300;;;;"},
       "949"},
      {2,
       &ContactForm::callsignField,
       "QQ1BBB",
       {"261207;1432;QQ1AAA;1;59;001;59;;;JN61FU;349;;N;;",
        "261207;1432;QQ1BBB;1;59;002;59;;;JN71JK;150;;N;;",
        "261207;1432;QQ1BBB;1;59;003;59;;;JN71JK;0;;;;D",
        "261207;1432;IT9ABC;1;59;004;59;;;JN71JK;300;;;;"},
       "799"},
      {3,
       &ContactForm::locatorField,
       "JN61FU",
       {"261207;1432;QQ1AAA;1;59;001;59;;;JN61FU;349;;N;;",
        "261207;1432;QQ1BBB;1;59;002;59;;;JN71JK;150;;N;;",
        "261207;1432;QQ1AAA;1;59;003;59;;;JN71JK;0;;;;D",
        "261207;1432;IT9ABC;1;59;004;59;;;JN61FU;698;;;;"},
       "1197"},
  };
  for (const auto& c : cases) {
    log.logBuffer().clear();
    log.serialSentField.setText("001");
    log.sicilyDoublingBox.setVisible(true);
    log.sicilyDoublingBox.setChecked(true);
    for (const auto& [call, locator] : {std::pair{"QQ1AAA", "JN61FU"},
                                        {"QQ1BBB", "JN71JK"},
                                        {"QQ1AAA", "JN71JK"},
                                        {"IT9ABC", "JN71JK"}}) {
      insert(call, locator);
    }
    dialogs.messages.clear();
    ContactForm& form = open(c.line);
    (form.*c.field).setText(c.typed);
    form.okButton.press();
    for (std::size_t at = 0; at < c.lines.size(); ++at) {
      EXPECT_EQ(line(at), c.lines[at]) << c.typed;
    }
    EXPECT_EQ(log.totalField.text(), c.total) << c.typed;
    EXPECT_EQ(dialogs.messages.size(), 0U) << c.typed;
    EXPECT_EQ(session.contact(), nullptr) << c.typed;
  }
}

// A correction the insertion would refuse is told with the insertion's message; the line and
// the screen stay as they were.
TEST_F(Correction, RefusesWhatTheInsertionRefuses) {
  const struct {
    Field ContactForm::*field;
    std::string_view typed;
    std::string_view message;
  } cases[] = {
      {&ContactForm::timeField, "2460", "Inserire orario nel formato hhmm"},
      {&ContactForm::dateField, "261232", "Inserire data nel formato yymmdd"},
      {&ContactForm::callsignField, "Q;1", "Nominativo non valido"},
      {&ContactForm::rstField, "5", "RST non valido"},
      {&ContactForm::locatorField, "JN61", "Locatore non valido"},
      {&ContactForm::locatorField, "ZZ00AA", "Locatore non valido"},
  };
  insert("QQ1AAA", "JN61FU");
  const std::string before = log.logBuffer().text();
  for (const auto& c : cases) {
    dialogs.messages.clear();
    ContactForm& form = open(0);
    (form.*c.field).setText(c.typed);
    form.okButton.press();
    ASSERT_EQ(dialogs.messages.size(), 1U) << c.typed;
    EXPECT_EQ(dialogs.messages[0].text, c.message);
    EXPECT_EQ(log.logBuffer().text(), before);
    EXPECT_EQ(session.contact(), &form) << "the correction stays open";
    form.cancelButton.press();
  }
}

// The QRB and QTF follow the locator as it is typed; only a full locator has them.
TEST_F(Correction, ShowsTheQrbAndQtfOfTheLocatorTyped) {
  insert("QQ1AAA", "JN61FU");
  ContactForm& form = open(0);
  EXPECT_EQ(form.qrbField.text(), "349");
  EXPECT_FALSE(form.qtfField.text().empty());
  form.locatorField.setText("kn02");
  EXPECT_EQ(form.qrbField.text(), "");
  EXPECT_EQ(form.qtfField.text(), "");
  form.locatorField.setText("kn02aa");
  EXPECT_EQ(form.locatorField.text(), "KN02AA");
  EXPECT_EQ(form.qrbField.text(), "306");
}

// "Elimina contatto" asks first; the duplicate behind the contact taken out becomes the contact.
TEST_F(Correction, DeletesAContactAfterTheQuestion) {
  insert("QQ1AAA", "JN61FU");
  insert("QQ1AAA", "JN71JK");
  open(0).deleteButton.press();
  EXPECT_EQ(dialogs.questions.back(), "Eliminare dal LOG il contatto con QQ1AAA delle 1432?");
  EXPECT_EQ(log.document().lines().size(), 3U) << "No keeps it";
  dialogs.answers = {true};
  open(0).deleteButton.press();
  EXPECT_EQ(log.logBuffer().text(), "261207;1432;QQ1AAA;1;59;002;59;;;JN71JK;150;;N;;\r\n");
  EXPECT_EQ(log.totalField.text(), "150");
  EXPECT_EQ(session.contact(), nullptr);
}

// Only a record opens: a note the operator typed does not.
TEST_F(Correction, OpensOnlyARecord) {
  log.logBuffer().setText("a note\r\n");
  log.logBuffer().setCaret(2);
  log.logBuffer().open();
  EXPECT_EQ(session.contact(), nullptr);
  EXPECT_TRUE(screens.events.empty());
}

}  // namespace
}  // namespace vantor::testing
