#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "log/log_form.h"
#include "support/fakes.h"

namespace vantor::testing {
namespace {

// The log screen with known stations of its own: calls in the order the store would give them
// and their locators, the latest first. Home is JN81GD.
class LogKnown : public ::testing::Test {
 protected:
  LogKnown() {
    log.logBand("144 Mhz", "1");
    log.dateField.setText("261207");
    log.timeField.setText("1432");
  }

  LogLinks links() {
    LogLinks links;
    links.distanceTo = [](const std::string&) { return 100.0; };
    links.homeLocator = [] { return std::string("JN81GD"); };
    links.contestDays = [] { return ContestDays{}; };
    links.knownCalls = [this](const std::string& fragment, std::size_t limit) {
      std::vector<std::string> found;
      for (const auto& [call, locators] : known) {
        if (call.find(fragment) != std::string::npos && found.size() < limit) {
          found.push_back(call);
        }
      }
      return found;
    };
    links.knownLocators = [this](const std::string& call) {
      const auto it = known.find(call);
      return it != known.end() ? it->second : std::vector<std::string>();
    };
    return links;
  }

  void type(Field& field, std::string_view keys) {
    for (const char key : keys) {
      field.edit(field.text() + key, field.text().size() + 1);
    }
  }
  void backspace(Field& field) {
    field.edit(field.text().substr(0, field.text().size() - 1), field.text().size() - 1);
  }
  void log1(std::string_view call, std::string_view locator) {
    log.callsignField.clear();
    type(log.callsignField, call);
    log.locatorField.setText(locator);
    log.insertButton.press();
  }

  std::map<std::string, std::vector<std::string>> known = {
      {"QQ1ABC", {"JN61FU", "KN02AA"}},
      {"QQ1ABD", {"JN71JK"}},
      {"XQQ1AB", {}},
      {"QQ9ZZZ", {"JN61FU"}},
  };
  PinnedClock clock{{2026, 12, 7, 14, 32}};
  RecordingDialogs dialogs;
  LogForm log{clock, dialogs, links()};
};

std::vector<std::string> texts(const ChoiceList& list) {
  std::vector<std::string> shown;
  for (const Choice& choice : list.choices()) {
    shown.push_back(choice.text + (choice.marked ? " *" : ""));
  }
  return shown;
}

TEST_F(LogKnown, ThePartialCheckShowsKnownAndLoggedCallsFromTheThirdCharacter) {
  log1("QQ1XYZ", "JN61FU");
  log.showBand("432 Mhz");
  log1("QQ1ABD", "JN61FU");
  log1("ZQQ1ABF", "JN61FU");
  const struct {
    const char* typed;
    std::vector<std::string> shown;
  } cases[] = {
      {"Q", {}},
      {"QQ", {}},
      {"QQ1", {"QQ1ABC", "QQ1ABD *", "QQ1XYZ", "XQQ1AB", "ZQQ1ABF *"}},
      {"qq1a", {"QQ1ABC", "QQ1ABD *", "XQQ1AB", "ZQQ1ABF *"}},
      {"1AB", {"QQ1ABC", "QQ1ABD *", "XQQ1AB", "ZQQ1ABF *"}},
      {"QQ1ABD", {"QQ1ABD *"}},
      {"QQ7", {}},
  };
  for (const auto& c : cases) {
    log.callsignField.clear();
    type(log.callsignField, c.typed);
    EXPECT_EQ(texts(log.partialList), c.shown) << c.typed;
  }
}

TEST_F(LogKnown, UpDownAndEnterTakeACallOfThePartialCheck) {
  type(log.callsignField, "QQ1");
  log.callsignField.enter();
  EXPECT_EQ(log.logBuffer().text(), "") << "Enter before walking the list logs as always";
  dialogs.messages.clear();
  log.stepPartialCheck(1);
  log.stepPartialCheck(1);
  log.stepPartialCheck(-1);
  ASSERT_EQ(log.partialList.current(), 0U);
  log.callsignField.enter();
  EXPECT_EQ(log.callsignField.text(), "QQ1ABC");
  EXPECT_FALSE(log.partialList.current());
  EXPECT_EQ(log.locatorField.text(), "JN61FU");
  log.callsignField.enter();
  EXPECT_EQ(log.logBuffer().text(), "261207;1432;QQ1ABC;1;59;001;59;;;JN61FU;100;;N;;\r\n");
}

TEST_F(LogKnown, SuggestsTheLatestKnownLocatorUntilTheOperatorTakesOrTypesOne) {
  struct Step {
    const char* action;
    std::string locator;
    bool suggested;
  };
  const std::vector<Step> steps = {
      {"type QQ1AB", "", false},          {"type C", "JN61FU", true},   {"down", "KN02AA", true},
      {"down", "JN61FU", true},           {"up", "KN02AA", true},       {"backspace", "", false},
      {"type D", "JN71JK", true},         {"backspace", "", false},     {"type Z", "", false},
      {"backspace", "", false},           {"type C", "JN61FU", true},   {"tab", "JN61FU", false},
      {"backspace", "JN61FU", false},     {"clear locator", "", false}, {"type C", "JN61FU", true},
      {"type locator JN7", "JN7", false}, {"backspace", "JN7", false},
  };
  for (const Step& step : steps) {
    const std::string action = step.action;
    if (action.starts_with("type locator ")) {
      type(log.locatorField, action.substr(13));
    } else if (action.starts_with("type ")) {
      type(log.callsignField, action.substr(5));
    } else if (action == "backspace") {
      backspace(log.callsignField);
    } else if (action == "down" || action == "up") {
      log.stepSuggestion(action == "down" ? 1 : -1);
    } else if (action == "tab") {
      log.confirmSuggestion();
    } else if (action == "clear locator") {
      log.locatorField.edit("", 0);
    }
    EXPECT_EQ(log.locatorField.text(), step.locator)
        << action << " to " << log.callsignField.text();
    EXPECT_EQ(log.locatorSuggested(), step.suggested) << action;
    EXPECT_EQ(log.locatorField.textColor(),
              step.suggested ? LogForm::kSuggestionColor : Color::windowText())
        << action;
  }
}

// A call worked in this contest is known by the locator logged, the logged band's before the
// others' and the store's.
TEST_F(LogKnown, SuggestsTheLocatorsThisContestLoggedFirst) {
  log1("QQ7AAA", "JN61FU");
  log1("QQ1ABC", "JN71JK");
  log.showBand("432 Mhz");
  log1("QQ1ABC", "KN02AA");
  const struct {
    const char* call;
    std::vector<std::string> suggested;
  } cases[] = {
      {"QQ7AAA", {"JN61FU"}},
      {"QQ1ABC", {"KN02AA", "JN71JK", "JN61FU"}},
  };
  for (const auto& c : cases) {
    log.callsignField.clear();
    type(log.callsignField, c.call);
    std::vector<std::string> shown;
    for (std::size_t step = 0; step < c.suggested.size(); ++step) {
      shown.push_back(log.locatorField.text());
      log.stepSuggestion(1);
    }
    EXPECT_EQ(shown, c.suggested) << c.call;
    EXPECT_EQ(log.locatorField.text(), c.suggested.front()) << c.call;
  }
}

TEST_F(LogKnown, ASuggestionShowsItsCourseAndIsLoggedAsTheFieldShowsIt) {
  type(log.callsignField, "QQ1ABC");
  EXPECT_EQ(log.qrbField.text(), "100");
  EXPECT_FALSE(log.qtfField.text().empty());
  log.stepSuggestion(1);
  log.insertButton.press();
  EXPECT_EQ(log.logBuffer().text(), "261207;1432;QQ1ABC;1;59;001;59;;;KN02AA;100;;N;;\r\n");
  EXPECT_EQ(log.locatorField.text(), "");
  EXPECT_FALSE(log.locatorSuggested());
  EXPECT_EQ(log.locatorField.textColor(), Color::windowText());
  EXPECT_TRUE(log.partialList.choices().empty());
}

}  // namespace
}  // namespace vantor::testing
