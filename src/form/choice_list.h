#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "form/control.h"

namespace vantor {

// One line of a choice list; a marked one is shown apart (a call already worked).
struct Choice {
  std::string text;
  bool marked = false;

  friend bool operator==(const Choice&, const Choice&) = default;
};

// A list the program fills beside a field, which the operator walks with the keys or clicks: the
// take behaviour runs for the current choice.
class ChoiceList : public Control {
 public:
  explicit ChoiceList(std::string name) : Control(std::move(name)) {}

  [[nodiscard]] const std::vector<Choice>& choices() const { return m_choices; }
  // New choices, none of them current. The same choices leave the list as it is.
  void setChoices(std::vector<Choice> choices);
  [[nodiscard]] std::optional<std::size_t> current() const { return m_current; }
  // Moves the current choice `step` lines on (back when negative), staying within the list; from
  // none, a step on takes the first and a step back the last.
  void step(int step);

  void onTake(std::function<void()> behaviour) {
    registerBehaviour(m_onTake, std::move(behaviour), "take");
  }
  // The operator takes a choice (a click, or Enter on the current one); an index outside the
  // list does nothing.
  void take(std::size_t index);

 private:
  std::vector<Choice> m_choices;
  std::optional<std::size_t> m_current;
  std::function<void()> m_onTake;
};

}  // namespace vantor
