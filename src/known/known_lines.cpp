#include "known/known_lines.h"

#include <utility>

#include "contest/contact_rules.h"
#include "form/text.h"
#include "form/utf8.h"
#include "form/windows1252.h"
#include "known/known_rules.h"

namespace vantor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

bool isUtf8(std::string_view text) {
  bool wellFormed = true;
  forEachCharacter(text, [&wellFormed](std::optional<char32_t> codePoint, std::string_view) {
    wellFormed = wellFormed && codePoint.has_value();
  });
  return wellFormed;
}

// Why the station cannot be kept, its call and locator as the store keeps them; nothing when it
// can.
std::optional<std::string> stationProblem(const KnownStation& station) {
  if (station.call.empty()) {
    return "manca il nominativo";
  }
  if (!isKnownCall(station.call)) {
    return "nominativo non valido: " + quotedText(station.call);
  }
  if (!station.locator.empty() && !isKnownLocator(station.locator)) {
    return "locatore non valido: " + quotedText(station.locator);
  }
  return std::nullopt;
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view bytes) {
  return bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view nextWord(std::string_view& rest) {
  const std::size_t first = std::min(rest.find_first_not_of(kBlanks), rest.size());
  const std::size_t end = std::min(rest.find_first_of(kBlanks, first), rest.size());
  const std::string_view word = rest.substr(first, end - first);
  rest.remove_prefix(end);
  return word;
}

bool isSkippedLine(std::string_view line) {
  const std::string_view text = trimmed(line);
  return text.empty() || text.starts_with('#');
}

std::string asUtf8(std::string_view text) {
  return isUtf8(text) ? std::string(text) : fromWindows1252(text);
}

std::string quotedText(std::string_view text) {
  return messageQuote(asUtf8(text));
}

void BatchBuilder::add(std::size_t line, KnownStation station, std::optional<std::string> problem) {
  station.call = normalizedCall(station.call);
  station.locator = toUpper(trimmed(station.locator));
  if (auto own = stationProblem(station)) {
    problem = std::move(own);
  }
  if (problem) {
    bad(line, std::move(*problem));
    return;
  }
  m_batch.stations.push_back(std::move(station));
}

void BatchBuilder::bad(std::size_t line, std::string reason) {
  if (m_batch.bad.empty() || m_batch.bad.back().number != line) {
    m_batch.bad.push_back(BadLine{line, std::move(reason)});
  }
}

}  // namespace vantor
