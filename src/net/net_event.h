#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "header/station_header.h"

namespace vantor {

// A station of a shared contest: "144", "432-B". Upper-case letters, digits and "-", 1 to 16.
inline constexpr std::size_t kLongestStationName = 16;
[[nodiscard]] bool isStationName(std::string_view name);

// What names one contest on every station: its sixteen hex digits, a hash of the station's call,
// the contest and its first day, so two stations agree without a word exchanged.
[[nodiscard]] std::string contestKeyOf(const StationHeader& header);

// What a station did to one of its contacts. A correction and a first logging both carry the
// record as it stands; a removal carries none.
enum class EventKind { Contact, Correction, Removal };

// One event of a station: its `sequence` counts the station's events (1, 2, 3...), the contact is
// the station's `contact`-th, and each event of that contact has a higher `version`. The record is
// the line without its line end; `sentAtMs` the sender's clock (UTC, ms).
struct NetEvent {
  std::string contestKey;
  std::string station;
  std::uint64_t sequence = 0;
  EventKind kind = EventKind::Contact;
  std::uint64_t contact = 0;
  std::uint64_t version = 0;
  std::string band;
  std::string record;
  std::int64_t sentAtMs = 0;

  bool operator==(const NetEvent&) const = default;
};

// What a station tells every second: the last of its events, its clock and the band it logs.
struct Presence {
  std::string contestKey;
  std::string station;
  std::uint64_t sequence = 0;
  std::int64_t clockMs = 0;
  std::string band;

  bool operator==(const Presence&) const = default;
};

// What a station asks the hub and the hub answers: the contest it is on and its header.
struct ContestClaim {
  std::string contestKey;
  StationHeader header;
};

// Why a message was not taken, in Italian.
using DecodeProblem = std::string;

[[nodiscard]] std::string encodeEvent(const NetEvent& event);
[[nodiscard]] std::variant<NetEvent, DecodeProblem> decodeEvent(std::string_view payload);
[[nodiscard]] std::string encodePresence(const Presence& presence);
[[nodiscard]] std::variant<Presence, DecodeProblem> decodePresence(std::string_view payload);
[[nodiscard]] std::string encodeClaim(const ContestClaim& claim);
[[nodiscard]] std::variant<ContestClaim, DecodeProblem> decodeClaim(std::string_view payload);

// No message is longer: a record line is short, a header a few hundred bytes.
inline constexpr std::size_t kLongestMessage = 8192;

}  // namespace vantor
