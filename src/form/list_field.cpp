#include "form/list_field.h"

#include <algorithm>

namespace vantor {

ListField::ListField(std::string name, std::string_view initialText)
    : Field(std::move(name), initialText) {}

void ListField::setItems(std::vector<std::string> items) {
  if (items != m_items) {
    m_items = std::move(items);
    touch();
  }
}

void ListField::addItem(std::string_view item) {
  m_items.emplace_back(item);
  touch();
}

void ListField::clearAll() {
  if (!m_items.empty()) {
    m_items.clear();
    touch();
  }
  clear();
}

void ListField::pick(std::size_t index) {
  if (index >= m_items.size()) {
    return;
  }
  const std::string item = m_items[index];
  m_textBeforePick = text();
  setText(item);
  moveCaretToEnd();
  if (m_onPick) {
    m_onPick();
  }
}

bool ListField::pickText(std::string_view itemText) {
  const auto found = std::find(m_items.begin(), m_items.end(), itemText);
  if (found == m_items.end()) {
    return false;
  }
  pick(static_cast<std::size_t>(found - m_items.begin()));
  return true;
}

void ListField::saveState(ControlState& state, bool whole) {
  Field::saveState(state, whole);
  writeNumber(state, m_items.size());
  state.insert(state.end(), m_items.begin(), m_items.end());
}

void ListField::restoreState(StateReader& state) {
  Field::restoreState(state);
  const std::size_t count = state.number();
  std::vector<std::string> items;
  for (std::size_t i = 0; i < count; ++i) {
    items.push_back(state.text());
  }
  m_items = std::move(items);
}

}  // namespace vantor
