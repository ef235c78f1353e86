#include "form/field.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/button.h"
#include "form/list_field.h"
#include "form/text.h"
#include "form/toggle.h"

namespace vantor {
namespace {

TEST(Field, RunsTheChangeBehaviourOnlyWhenTheTextChanges) {
  Field field("Text1", "abc");
  int runs = 0;
  field.onChange([&] { ++runs; });
  field.setText("abc");
  EXPECT_EQ(runs, 0);
  field.setText("abcd");
  EXPECT_EQ(runs, 1);
  field.setText("abcd");
  EXPECT_EQ(runs, 1);
  field.clear();
  EXPECT_EQ(runs, 2);
}

TEST(Field, RunsTheBehaviourBeforeTheWriterGoesOn) {
  Field source("Text1");
  Field mirror("Text2");
  std::vector<std::string> seen;
  source.onChange([&] { mirror.setText(source.text() + "!"); });
  mirror.onChange([&] { seen.push_back("mirror " + mirror.text()); });
  source.setText("a");
  seen.push_back("after write");
  EXPECT_EQ(seen, (std::vector<std::string>{"mirror a!", "after write"}));
}

TEST(Field, UpperCaseWriteBackReentersOnceAndStops) {
  Field call("Text6");
  std::vector<std::string> runs;
  call.onChange([&] {
    runs.push_back(call.text());
    call.setText(toUpper(call.text()));
    call.moveCaretToEnd();
  });
  call.setText("iw");
  EXPECT_EQ(runs, (std::vector<std::string>{"iw", "IW"}));
  EXPECT_EQ(call.text(), "IW");
  EXPECT_EQ(call.caret(), 2U);
  call.setText("IWX");
  EXPECT_EQ(runs.size(), 3U);
}

TEST(Field, SingleLineFieldsTurnLineBreaksIntoBlanks) {
  Field single("Text1", "a\r\nb");
  EXPECT_EQ(single.text(), "a  b");
  single.setText("one\ntwo\r");
  EXPECT_EQ(single.text(), "one two ");
  single.append("\r\n");
  EXPECT_EQ(single.text(), "one two   ");

  Field buffer("Text15", {}, Field::Lines::Multi);
  buffer.setText("line\r\n");
  buffer.append("next\r\n");
  EXPECT_EQ(buffer.text(), "line\r\nnext\r\n");
}

TEST(Field, AppendRunsTheBehaviourUnlessNothingIsAdded) {
  Field buffer("Text15", {}, Field::Lines::Multi);
  int runs = 0;
  buffer.onChange([&] { ++runs; });
  buffer.append("");
  EXPECT_EQ(runs, 0);
  buffer.append("x");
  EXPECT_EQ(runs, 1);
}

TEST(Field, StateChangesGrowTheRevisionAndEqualWritesDoNot) {
  Field field("Text2");
  const auto start = field.revision();
  field.setBackground(colors::white);
  field.setVisible(true);
  field.setLocked(false);
  field.setCaret(10);
  EXPECT_EQ(field.revision(), start);
  field.setBackground(colors::yellow);
  field.setTextColor(colors::red);
  field.setVisible(false);
  field.setLocked(true);
  EXPECT_EQ(field.revision(), start + 4);
  EXPECT_EQ(field.background(), colors::yellow);
  EXPECT_EQ(field.textColor(), colors::red);
}

TEST(Field, CaretNeverPassesTheEndOfTheText) {
  Field field("Text1", "ABCDEF");
  field.setCaret(4);
  EXPECT_EQ(field.caret(), 4U);
  field.setText("AB");
  EXPECT_EQ(field.caret(), 2U);
  field.setCaret(99);
  EXPECT_EQ(field.caret(), 2U);
}

TEST(Field, AnEditPutsTheCaretBeforeTheBehaviourRuns) {
  Field plain("Text5");
  plain.edit("0915", 2);
  EXPECT_EQ(plain.caret(), 2U);

  Field call("Text6");
  std::size_t caretSeenByBehaviour = 99;
  call.onChange([&] {
    caretSeenByBehaviour = call.caret();
    call.setText(toUpper(call.text()));
    call.moveCaretToEnd();
  });
  call.edit("axbc", 2);
  EXPECT_EQ(caretSeenByBehaviour, 2U);
  EXPECT_EQ(call.text(), "AXBC");
  EXPECT_EQ(call.caret(), 4U);
  call.edit("AXBC", 1);
  EXPECT_EQ(call.caret(), 1U) << "an edit that keeps the text only moves the caret";
}

TEST(ListField, PickShowsTheItemAndRunsThePickBehaviourButTypingDoesNot) {
  ListField list("Combo1", "...");
  list.setItems({"SSB", "CW"});
  std::vector<std::string> events;
  list.onChange([&] { events.push_back("change " + list.text()); });
  list.onPick([&] { events.push_back("pick " + list.text()); });
  list.setText("CW");
  EXPECT_EQ(events, (std::vector<std::string>{"change CW"}));
  events.clear();
  list.pick(0);
  EXPECT_EQ(events, (std::vector<std::string>{"change SSB", "pick SSB"}));
  events.clear();
  list.pick(0);  // picking the shown item again still counts as a pick
  EXPECT_EQ(events, (std::vector<std::string>{"pick SSB"}));
  list.pick(7);
  EXPECT_EQ(events.size(), 1U);
  EXPECT_TRUE(list.pickText("CW"));
  EXPECT_FALSE(list.pickText("FM"));
}

TEST(ListField, ClearAllEmptiesItemsAndText) {
  ListField list("Combo2", "...");
  list.setItems({"A", "B"});
  list.clearAll();
  EXPECT_TRUE(list.items().empty());
  EXPECT_EQ(list.text(), "");
}

TEST(Toggle, CheckBoxFlipsAndOptionsExcludeEachOther) {
  Toggle autoTime("Check2", "Auto", Toggle::Kind::CheckBox);
  int clicks = 0;
  autoTime.onClick([&] { ++clicks; });
  autoTime.click();
  EXPECT_TRUE(autoTime.checked());
  autoTime.click();
  EXPECT_FALSE(autoTime.checked());
  EXPECT_EQ(clicks, 2);

  Toggle plusOne("Option1", "+1 GMT", Toggle::Kind::OptionButton);
  Toggle plusTwo("Option2", "+2 GMT", Toggle::Kind::OptionButton);
  Toggle::groupOptions({&plusOne, &plusTwo});
  plusOne.click();
  EXPECT_TRUE(plusOne.checked());
  plusTwo.click();
  EXPECT_TRUE(plusTwo.checked());
  EXPECT_FALSE(plusOne.checked());
  plusTwo.click();
  EXPECT_TRUE(plusTwo.checked());
}

TEST(Button, PressRunsTheBehaviourEvenWhenItDestroysTheButton) {
  auto button = std::make_unique<Button>("Command2", "Exit");
  int presses = 0;
  button->onPress([&] {
    ++presses;
    button.reset();
  });
  button->press();
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(button, nullptr);
}

TEST(Control, RefusesASecondBehaviourAndKeepsTheFirst) {
  Field call("Text6");
  ListField mode("Combo1");
  mode.setItems({"SSB"});
  Toggle box("Check2", "Auto", Toggle::Kind::CheckBox);
  Button button("Command1", "Inserisci");
  using Behaviour = std::function<void()>;
  struct Case {
    const char* event;
    std::function<void(Behaviour)> registerBehaviour;
    Behaviour trigger;
  };
  const std::vector<Case> cases = {
      {"change", [&](Behaviour b) { call.onChange(std::move(b)); }, [&] { call.setText("IW"); }},
      {"pick", [&](Behaviour b) { mode.onPick(std::move(b)); }, [&] { mode.pick(0); }},
      {"click", [&](Behaviour b) { box.onClick(std::move(b)); }, [&] { box.click(); }},
      {"press", [&](Behaviour b) { button.onPress(std::move(b)); }, [&] { button.press(); }},
  };
  std::vector<std::string> runs;
  for (const Case& c : cases) {
    runs.clear();
    c.registerBehaviour([&] { runs.emplace_back("first"); });
    EXPECT_THROW(c.registerBehaviour([&] { runs.emplace_back("second"); }), std::logic_error)
        << c.event;
    c.trigger();
    EXPECT_EQ(runs, std::vector<std::string>{"first"}) << c.event;
  }
}

// The change an edit reports is the bytes between the texts' common start and common end, as a
// byte-by-byte comparison finds them, wherever the edit falls among the blocks compared whole.
TEST(Field, LastChangeIsWhatLiesBetweenTheCommonStartAndEnd) {
  std::string log;
  for (int i = 0; log.size() < 1500; ++i) {
    log += "line " + std::to_string(i) + "\r\n";
  }
  struct Case {
    std::size_t at;
    std::size_t removed;
    std::string inserted;
  };
  const std::vector<Case> cases = {{0, 1, "X"},    {255, 0, "Y"},        {256, 2, ""},
                                   {257, 1, "ZZ"}, {511, 3, "Q"},        {700, 0, "a"},
                                   {1499, 1, "b"}, {log.size(), 0, "c"}, {0, log.size(), ""}};
  for (const Case& c : cases) {
    Field field("Text15", log, Field::Lines::Multi);
    std::string edited = log;
    edited.replace(c.at, c.removed, c.inserted);
    field.setText(edited);
    std::size_t start = 0;
    while (start < log.size() && start < edited.size() && log[start] == edited[start]) {
      ++start;
    }
    std::size_t end = 0;
    while (end < log.size() - start && end < edited.size() - start &&
           log[log.size() - 1 - end] == edited[edited.size() - 1 - end]) {
      ++end;
    }
    const auto& change = field.lastChange();
    EXPECT_EQ(change.at, start) << c.at;
    EXPECT_EQ(change.removed, log.substr(start, log.size() - end - start)) << c.at;
    EXPECT_EQ(change.inserted, edited.size() - end - start) << c.at;
  }
}

// An edit of a part leaves the text, the caret, the reported change and the next save as the
// same edit of the whole text would; a part replaced by the same bytes changes nothing.
TEST(Field, AnEditOfAPartIsTheSameEditOfTheWholeText) {
  const std::string log = "riga uno\r\nriga due\r\nriga tre\r\n";
  struct Case {
    std::size_t at;
    std::size_t removed;
    std::string inserted;
  };
  const std::vector<Case> cases = {{0, 0, "X"},     {14, 1, "D"},  {10, 10, ""},
                                   {30, 0, "fine"}, {5, 3, "uno"}, {8, 12, "\r\n"}};
  for (const Case& c : cases) {
    Field field("Text15", log, Field::Lines::Multi);
    ControlState saved;
    field.saveState(saved, true);
    int runs = 0;
    field.onChange([&runs] { ++runs; });
    field.editPart(c.at, c.removed, c.inserted, c.at + c.inserted.size());
    std::string edited = log;
    edited.replace(c.at, c.removed, c.inserted);
    EXPECT_EQ(field.text(), edited) << c.at;
    EXPECT_EQ(field.caret(), c.at + c.inserted.size()) << c.at;
    EXPECT_EQ(runs, edited == log ? 0 : 1) << c.at;
    const auto& change = field.lastChange();
    if (runs == 1) {
      EXPECT_EQ(log.substr(0, change.at) + edited.substr(change.at, change.inserted) +
                    log.substr(change.at + change.removed.size()),
                edited)
          << c.at;
    }
    ControlState changes;
    field.saveState(changes, false);
    Field resumed("Text15", log, Field::Lines::Multi);
    StateReader reader(changes);
    resumed.restoreState(reader);
    EXPECT_EQ(resumed.text(), edited) << c.at;
  }
}

// Edits are made the last first, each as a change of its own that the change behaviour sees; an
// edit that changes nothing is no change; the journal's record of them all resumes the same text.
TEST(Field, EditsAreChangesOfTheirOwnThatGiveTheEditedText) {
  const std::string log = "intestazione\r\nriga uno\r\nfine\r\n";
  const std::vector<std::vector<TextEdit>> cases = {
      {{0, 14, "nuova\r\n"}, {24, 6, ""}, {30, 0, "[END]"}},
      {{0, 0, ""}, {30, 0, "\r\n[END]"}},
      {{0, 14, "intestazione\r\n"}, {14, 0, "X"}},
      {}};
  for (const std::vector<TextEdit>& edits : cases) {
    Field field("Text15", log, Field::Lines::Multi);
    ControlState saved;
    field.saveState(saved, true);
    std::vector<std::string> changes;
    field.onChange([&] { changes.push_back(field.lastChange().removed); });
    field.applyEdits(edits);
    const std::string edited = editedText(log, edits);
    EXPECT_EQ(field.text(), edited);
    std::vector<std::string> removals;
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
      if (log.substr(edit->at, edit->removed) != edit->inserted) {
        removals.push_back(log.substr(edit->at, edit->removed));
      }
    }
    EXPECT_EQ(changes, removals) << edited;
    ControlState recorded;
    field.saveState(recorded, false);
    Field resumed("Text15", log, Field::Lines::Multi);
    StateReader reader(recorded);
    resumed.restoreState(reader);
    EXPECT_EQ(resumed.text(), edited);
  }
}

}  // namespace
}  // namespace vantor
