#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "net/net_event.h"

namespace vantor {

// A contact of a shared contest: the station that logged it and its number there.
struct ContactKey {
  std::string station;
  std::uint64_t contact = 0;
  auto operator<=>(const ContactKey&) const = default;
};

// A contact as its station last told it.
struct SharedContact {
  ContactKey key;
  std::uint64_t version = 0;
  std::string band;
  // The record line without its line end; empty once removed.
  std::string record;
  bool removed = false;
};

// What an event did to the contest.
enum class Merge { Applied, Stale, OtherContest };

// A run of sequences not heard, first and last included.
struct SequenceGap {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  bool operator==(const SequenceGap&) const = default;
};

// The contest every station converges on: each contact as its own station's latest version (a
// later version wins whatever order the events come in; one already taken changes nothing), and
// for each station the events heard, so what is missing can be fetched.
class SharedContest {
 public:
  explicit SharedContest(std::string contestKey) : m_contestKey(std::move(contestKey)) {}

  [[nodiscard]] const std::string& contestKey() const { return m_contestKey; }
  Merge apply(const NetEvent& event);

  // Nothing when no event of the contact was taken.
  [[nodiscard]] const SharedContact* find(const ContactKey& key) const;
  // The band's contacts not removed, in the order every station holds them: by date, time,
  // station and number.
  [[nodiscard]] std::vector<const SharedContact*> bandContacts(std::string_view band) const;
  // The bands any contact was logged in, removed ones included.
  [[nodiscard]] std::vector<std::string> bands() const;
  [[nodiscard]] std::size_t size() const { return m_contacts.size(); }

  // The highest sequence heard of a station with every one below it; the highest heard at all;
  // the highest contact number it used.
  [[nodiscard]] std::uint64_t heardThrough(std::string_view station) const;
  [[nodiscard]] std::uint64_t lastSequence(std::string_view station) const;
  [[nodiscard]] std::uint64_t lastContact(std::string_view station) const;
  // Whether the event `sequence` of a station was taken.
  [[nodiscard]] bool heard(std::string_view station, std::uint64_t sequence) const;
  // The sequences of a station not heard, up to `announced` (its last as it tells it).
  [[nodiscard]] std::vector<SequenceGap> missing(std::string_view station,
                                                 std::uint64_t announced) const;
  [[nodiscard]] std::vector<std::string> stations() const;

 private:
  struct Heard {
    std::uint64_t through = 0;
    std::set<std::uint64_t> above;
    std::uint64_t lastContact = 0;
  };

  void hear(const NetEvent& event);

  std::string m_contestKey;
  std::map<ContactKey, SharedContact> m_contacts;
  std::map<std::string, Heard, std::less<>> m_heard;
};

// A record line without the marks every station works out itself (the points, the new square
// and the duplicate mark): what tells one contact's line from another's. Any other line as it is.
[[nodiscard]] std::string unmarkedRecord(std::string_view record);
// Whether two record lines say the same but for those marks.
[[nodiscard]] bool sameContact(std::string_view record, std::string_view other);

// The order of two records in a shared band log: by date and time.
[[nodiscard]] std::strong_ordering compareMoments(std::string_view record, std::string_view other);

}  // namespace vantor
