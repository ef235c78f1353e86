#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "contest/contact_rules.h"
#include "form/text.h"
#include "log/log_form.h"

// The log screen's help with the call being typed: the partial check and the locator suggested
// from the known stations.

namespace vantor {

namespace {

// The partial check shows something from the call's third character.
constexpr std::size_t kShortestChecked = 3;

void sortUnique(std::vector<std::string>& calls) {
  std::sort(calls.begin(), calls.end());
  calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
}

}  // namespace

void LogForm::showPartialCheck() {
  const std::string fragment = normalizedCall(callsignField.text());
  if (charCount(fragment) < kShortestChecked) {
    partialList.setChoices({});
    return;
  }
  std::vector<std::string> beginning;
  std::vector<std::string> holding;
  for (const auto& log : m_bands) {
    log->document().calls().findHolding(fragment, kPartialCheckLines, beginning, holding);
  }
  if (m_links.knownCalls) {
    for (std::string& call : m_links.knownCalls(fragment, kPartialCheckLines)) {
      (call.starts_with(fragment) ? beginning : holding).push_back(std::move(call));
    }
  }
  sortUnique(beginning);
  sortUnique(holding);
  std::vector<Choice> choices;
  for (const auto* calls : {&beginning, &holding}) {
    for (const std::string& call : *calls) {
      if (choices.size() < kPartialCheckLines) {
        choices.push_back(Choice{call, document().calls().holds(call)});
      }
    }
  }
  partialList.setChoices(std::move(choices));
}

void LogForm::takePartialChoice() {
  const std::string call = partialList.choices()[*partialList.current()].text;
  callsignField.edit(call, call.size());
  requestFocus(callsignField);
}

// A call the store knows, typed while the locator field is empty or shows an earlier suggestion,
// has its latest known locator suggested; any other call takes a suggestion away.
void LogForm::suggestLocator() {
  if (!m_locatorSuggested && !locatorField.text().empty()) {
    return;
  }
  const std::string call = normalizedCall(callsignField.text());
  std::vector<std::string> known;
  if (isCallsign(call) && m_links.knownLocators) {
    known = m_links.knownLocators(call);
  }
  if (known.empty()) {
    dropSuggestion();
    return;
  }
  m_suggestions = std::move(known);
  showSuggestion(0);
}

void LogForm::showSuggestion(std::size_t index) {
  m_suggestion = index;
  m_writingSuggestion = true;
  locatorField.setText(m_suggestions[index]);
  m_writingSuggestion = false;
  m_locatorSuggested = true;
  locatorField.setTextColor(kSuggestionColor);
}

void LogForm::dropSuggestion() {
  m_suggestions.clear();
  if (!m_locatorSuggested) {
    return;
  }
  m_writingSuggestion = true;
  locatorField.clear();
  qrbField.clear();
  qtfField.clear();
  m_writingSuggestion = false;
  confirmSuggestion();
}

void LogForm::stepSuggestion(int step) {
  const bool showsOne =
      locatorField.text().empty() || std::find(m_suggestions.begin(), m_suggestions.end(),
                                               locatorField.text()) != m_suggestions.end();
  if (m_suggestions.empty() || !showsOne) {
    return;
  }
  const auto count = static_cast<long>(m_suggestions.size());
  const long next = ((static_cast<long>(m_suggestion) + step) % count + count) % count;
  showSuggestion(static_cast<std::size_t>(next));
}

void LogForm::confirmSuggestion() {
  m_locatorSuggested = false;
  locatorField.setTextColor(Color::windowText());
}

}  // namespace vantor
