#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "contest/contact_rules.h"
#include "form/text.h"
#include "geo/locator.h"
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

// The locators this contest's logs hold for a call, the logged band's first and each log's latest
// first.
std::vector<std::string> LogForm::loggedLocators(const std::string& call) {
  std::vector<std::string> locators;
  std::vector<BandLog*> logs{&band()};
  for (const auto& log : m_bands) {
    if (log.get() != &band()) {
      logs.push_back(log.get());
    }
  }
  for (BandLog* log : logs) {
    LogDocument& document = log->document();
    if (!document.calls().holds(call)) {
      continue;
    }
    const std::vector<std::size_t> records = document.recordsOf(call);
    for (auto line = records.rbegin(); line != records.rend(); ++line) {
      const auto contact = document.contactAt(*line);
      if (contact && charCount(contact->locator) == 6 && isValidLocator(contact->locator) &&
          std::find(locators.begin(), locators.end(), contact->locator) == locators.end()) {
        locators.push_back(contact->locator);
      }
    }
  }
  return locators;
}

// A call this contest or the store knows, typed while the locator field is empty or shows an
// earlier suggestion, has its latest locator suggested, this contest's before the store's; any
// other call takes a suggestion away.
void LogForm::suggestLocator() {
  if (!m_locatorSuggested && !locatorField.text().empty()) {
    return;
  }
  const std::string call = normalizedCall(callsignField.text());
  std::vector<std::string> known;
  if (isCallsign(call)) {
    known = loggedLocators(call);
    for (std::string& locator :
         m_links.knownLocators ? m_links.knownLocators(call) : std::vector<std::string>()) {
      if (std::find(known.begin(), known.end(), locator) == known.end()) {
        known.push_back(std::move(locator));
      }
    }
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

// The operator's typing in a suggested locator makes the field theirs; what they type behind the
// suggestion takes its place, as it would over a selected text.
void LogForm::takeTypedLocator() {
  confirmSuggestion();
  const std::string& suggested = m_suggestions[m_suggestion];
  const std::string& typed = locatorField.text();
  if (typed.size() > suggested.size() && typed.starts_with(suggested)) {
    const std::string behind = typed.substr(suggested.size());
    locatorField.edit(behind, behind.size());
  } else {
    locatorChanged();
  }
}

void LogForm::confirmSuggestion() {
  m_locatorSuggested = false;
  locatorField.setTextColor(Color::windowText());
}

}  // namespace vantor
