#include "known/known_rules.h"

#include <algorithm>

#include "contest/contact_rules.h"
#include "geo/locator.h"

namespace vantor {

namespace {

constexpr std::size_t kLocatorLength = 6;

}  // namespace

bool isKnownCall(std::string_view call) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
  return isCallsign(call) && std::any_of(call.begin(), call.end(), isDigit) &&
         std::any_of(call.begin(), call.end(), isLetter);
}

bool isKnownLocator(std::string_view locator) {
  return locator.size() == kLocatorLength && isValidLocator(locator);
}

}  // namespace vantor
