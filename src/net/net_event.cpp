#include "net/net_event.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

#include "contest/contact.h"
#include "form/text.h"

namespace vantor {
namespace {

constexpr std::string_view kEventMagic = "VANTOR-EVENTO 1";
constexpr std::string_view kPresenceMagic = "VANTOR-PRESENZA 1";
constexpr std::string_view kClaimMagic = "VANTOR-CONTEST 1";
constexpr std::size_t kLongestBand = 32;

constexpr std::array<std::string_view, 3> kKindNames{"contatto", "correzione", "eliminazione"};

// A message's lines "key=value" in a fixed order, after its first line.
class MessageReader {
 public:
  MessageReader(std::string_view payload, std::string_view magic) : m_rest(payload) {
    m_valid = payload.size() <= kLongestMessage && payload.ends_with('\n') && nextLine() == magic;
  }

  // The value of the next line when it carries `key`; nothing otherwise, and the message is bad.
  std::optional<std::string_view> text(std::string_view key) {
    if (!m_valid || m_rest.empty()) {
      return fail();
    }
    const std::string_view line = nextLine();
    if (line.size() <= key.size() || !line.starts_with(key) || line[key.size()] != '=') {
      return fail();
    }
    return line.substr(key.size() + 1);
  }

  std::optional<std::uint64_t> number(std::string_view key) {
    const auto value = text(key);
    std::uint64_t number = 0;
    // One writing per number: no sign, no leading zero.
    if (!value || value->empty() || value->size() > 19 ||
        (value->size() > 1 && value->front() == '0')) {
      return fail();
    }
    const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), number);
    if (error != std::errc{} || end != value->data() + value->size()) {
      return fail();
    }
    return number;
  }

  // Whether every line was read and each was right.
  [[nodiscard]] bool complete() const { return m_valid && m_rest.empty(); }

 private:
  std::string_view nextLine() {
    const std::size_t end = m_rest.find('\n');
    const std::string_view line = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    return line;
  }

  std::nullopt_t fail() {
    m_valid = false;
    return std::nullopt;
  }

  std::string_view m_rest;
  bool m_valid = false;
};

void addLine(std::string& message, std::string_view key, std::string_view value) {
  message.append(key).append("=").append(value).append("\n");
}

void addNumber(std::string& message, std::string_view key, std::uint64_t value) {
  addLine(message, key, std::to_string(value));
}

// A clock in ms; none before 1970.
void addClock(std::string& message, std::string_view key, std::int64_t ms) {
  addNumber(message, key, static_cast<std::uint64_t>(std::max<std::int64_t>(ms, 0)));
}

bool isPrintable(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      return false;
    }
  }
  return true;
}

bool isContestKey(std::string_view key) {
  return key.size() == 16 && key.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool isBand(std::string_view band) {
  return !band.empty() && band.size() <= kLongestBand && isPrintable(band) &&
         band.find(';') == std::string_view::npos;
}

std::optional<EventKind> kindNamed(std::string_view name) {
  for (std::size_t i = 0; i < kKindNames.size(); ++i) {
    if (kKindNames[i] == name) {
      return static_cast<EventKind>(i);
    }
  }
  return std::nullopt;
}

// The record's rule for its kind: a removal carries none, the others a line of the record's shape.
bool recordFits(EventKind kind, std::string_view record) {
  if (kind == EventKind::Removal) {
    return record.empty();
  }
  return record.size() < 512 && isPrintable(record) && Contact::read(record).has_value();
}

constexpr std::int64_t kLatestClock = std::numeric_limits<std::int64_t>::max();

std::optional<std::int64_t> clockOf(std::optional<std::uint64_t> value) {
  if (!value || *value > static_cast<std::uint64_t>(kLatestClock)) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(*value);
}

const DecodeProblem kUnreadable = "messaggio illeggibile";

}  // namespace

bool isStationName(std::string_view name) {
  return !name.empty() && name.size() <= kLongestStationName &&
         name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-") == std::string_view::npos;
}

std::string contestKeyOf(const StationHeader& header) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const std::string* text : {&header.callsign, &header.contest, &header.startDate}) {
    for (const char c : toUpper(*text) + '\n') {
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
  }
  std::array<char, 17> digits{};
  std::snprintf(digits.data(), digits.size(), "%016llx", static_cast<unsigned long long>(hash));
  return digits.data();
}

std::string encodeEvent(const NetEvent& event) {
  std::string message{kEventMagic};
  message.append("\n");
  addLine(message, "contest", event.contestKey);
  addLine(message, "stazione", event.station);
  addNumber(message, "sequenza", event.sequence);
  addLine(message, "tipo", kKindNames[static_cast<std::size_t>(event.kind)]);
  addNumber(message, "contatto", event.contact);
  addNumber(message, "versione", event.version);
  addLine(message, "banda", event.band);
  addClock(message, "inviato", event.sentAtMs);
  addLine(message, "record", event.record);
  return message;
}

std::variant<NetEvent, DecodeProblem> decodeEvent(std::string_view payload) {
  MessageReader reader(payload, kEventMagic);
  NetEvent event;
  event.contestKey = reader.text("contest").value_or("");
  event.station = reader.text("stazione").value_or("");
  event.sequence = reader.number("sequenza").value_or(0);
  const auto kind = kindNamed(reader.text("tipo").value_or(""));
  event.contact = reader.number("contatto").value_or(0);
  event.version = reader.number("versione").value_or(0);
  event.band = reader.text("banda").value_or("");
  const auto sent = clockOf(reader.number("inviato"));
  event.record = reader.text("record").value_or("");
  if (!reader.complete() || !kind || !sent) {
    return kUnreadable;
  }
  event.kind = *kind;
  event.sentAtMs = *sent;
  if (!isContestKey(event.contestKey) || !isStationName(event.station)) {
    return kUnreadable;
  }
  if (event.sequence == 0 || event.contact == 0 || event.version == 0 || !isBand(event.band) ||
      !recordFits(event.kind, event.record)) {
    return DecodeProblem{"evento non valido"};
  }
  return event;
}

std::string encodePresence(const Presence& presence) {
  std::string message{kPresenceMagic};
  message.append("\n");
  addLine(message, "contest", presence.contestKey);
  addLine(message, "stazione", presence.station);
  addNumber(message, "sequenza", presence.sequence);
  addClock(message, "orologio", presence.clockMs);
  addLine(message, "banda", presence.band);
  return message;
}

std::variant<Presence, DecodeProblem> decodePresence(std::string_view payload) {
  MessageReader reader(payload, kPresenceMagic);
  Presence presence;
  presence.contestKey = reader.text("contest").value_or("");
  presence.station = reader.text("stazione").value_or("");
  presence.sequence = reader.number("sequenza").value_or(0);
  const auto clock = clockOf(reader.number("orologio"));
  const auto band = reader.text("banda");
  if (!reader.complete() || !clock || !isContestKey(presence.contestKey) ||
      !isStationName(presence.station) || !band || (!band->empty() && !isBand(*band))) {
    return kUnreadable;
  }
  presence.clockMs = *clock;
  presence.band = *band;
  return presence;
}

std::string encodeClaim(const ContestClaim& claim) {
  std::string message{kClaimMagic};
  message.append("\n");
  addLine(message, "contest", claim.contestKey);
  for (const auto& caption : stationHeaderCaptions) {
    addLine(message, caption.caption, claim.header.*caption.text);
  }
  return message;
}

std::variant<ContestClaim, DecodeProblem> decodeClaim(std::string_view payload) {
  MessageReader reader(payload, kClaimMagic);
  ContestClaim claim;
  claim.contestKey = reader.text("contest").value_or("");
  for (const auto& caption : stationHeaderCaptions) {
    const auto text = reader.text(caption.caption);
    if (!text || !isPrintable(*text)) {
      return kUnreadable;
    }
    claim.header.*caption.text = *text;
  }
  if (!reader.complete() || !isContestKey(claim.contestKey)) {
    return kUnreadable;
  }
  return claim;
}

}  // namespace vantor
