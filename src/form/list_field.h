#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/field.h"

namespace vantor {

// An editable drop-down list: a text field with items. Typing only sets the text; a pick from the
// drop-down shows the item's text and then runs the pick behaviour.
class ListField : public Field {
 public:
  explicit ListField(std::string name, std::string_view initialText = {});

  [[nodiscard]] const std::vector<std::string>& items() const { return m_items; }
  void setItems(std::vector<std::string> items);
  void addItem(std::string_view item);
  // Empties the items and the edit text.
  void clearAll();

  void onPick(std::function<void()> behaviour) {
    registerBehaviour(m_onPick, std::move(behaviour), "pick");
  }
  // The user's choice of item `index`; an index outside the items does nothing.
  void pick(std::size_t index);
  // During a pick's behaviour: the text the list showed before the pick.
  [[nodiscard]] const std::string& textBeforePick() const { return m_textBeforePick; }
  // Picks the item with this text, if the list has one; returns whether it did.
  bool pickText(std::string_view itemText);

  void saveState(ControlState& state, bool whole) override;
  void restoreState(StateReader& state) override;

 private:
  std::vector<std::string> m_items;
  std::function<void()> m_onPick;
  std::string m_textBeforePick;
};

}  // namespace vantor
