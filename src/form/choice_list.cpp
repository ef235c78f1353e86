#include "form/choice_list.h"

#include <algorithm>

namespace vantor {

void ChoiceList::setChoices(std::vector<Choice> choices) {
  if (choices == m_choices && !m_current) {
    return;
  }
  m_choices = std::move(choices);
  m_current.reset();
  touch();
}

void ChoiceList::step(int step) {
  if (m_choices.empty() || step == 0) {
    return;
  }
  const auto last = static_cast<long>(m_choices.size()) - 1;
  const long from = m_current ? static_cast<long>(*m_current) : (step > 0 ? -1 : last + 1);
  m_current = static_cast<std::size_t>(std::clamp(from + step, 0L, last));
  touch();
}

void ChoiceList::take(std::size_t index) {
  if (index >= m_choices.size()) {
    return;
  }
  m_current = index;
  touch();
  if (m_onTake) {
    m_onTake();
  }
}

}  // namespace vantor
