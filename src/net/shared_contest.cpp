#include "net/shared_contest.h"

#include <algorithm>
#include <optional>

#include "contest/contact.h"

namespace vantor {

Merge SharedContest::apply(const NetEvent& event) {
  if (event.contestKey != m_contestKey) {
    return Merge::OtherContest;
  }
  hear(event);
  const ContactKey key{event.station, event.contact};
  SharedContact& contact = m_contacts[key];
  if (contact.version >= event.version) {
    return Merge::Stale;
  }
  contact.key = key;
  contact.version = event.version;
  contact.band = event.band;
  contact.removed = event.kind == EventKind::Removal;
  contact.record = contact.removed ? std::string() : event.record;
  return Merge::Applied;
}

void SharedContest::hear(const NetEvent& event) {
  Heard& heard = m_heard[event.station];
  heard.lastContact = std::max(heard.lastContact, event.contact);
  if (event.sequence <= heard.through) {
    return;
  }
  heard.above.insert(event.sequence);
  while (!heard.above.empty() && *heard.above.begin() == heard.through + 1) {
    heard.through = *heard.above.begin();
    heard.above.erase(heard.above.begin());
  }
}

const SharedContact* SharedContest::find(const ContactKey& key) const {
  const auto found = m_contacts.find(key);
  return found == m_contacts.end() ? nullptr : &found->second;
}

std::vector<const SharedContact*> SharedContest::bandContacts(std::string_view band) const {
  std::vector<const SharedContact*> contacts;
  for (const auto& [key, contact] : m_contacts) {
    if (!contact.removed && contact.band == band) {
      contacts.push_back(&contact);
    }
  }
  std::stable_sort(contacts.begin(), contacts.end(), [](const auto* a, const auto* b) {
    return compareMoments(a->record, b->record) < 0;
  });
  return contacts;
}

std::vector<std::string> SharedContest::bands() const {
  std::set<std::string> bands;
  for (const auto& [key, contact] : m_contacts) {
    bands.insert(contact.band);
  }
  return {bands.begin(), bands.end()};
}

std::uint64_t SharedContest::heardThrough(std::string_view station) const {
  const auto found = m_heard.find(station);
  return found == m_heard.end() ? 0 : found->second.through;
}

std::uint64_t SharedContest::lastSequence(std::string_view station) const {
  const auto found = m_heard.find(station);
  if (found == m_heard.end()) {
    return 0;
  }
  return found->second.above.empty() ? found->second.through : *found->second.above.rbegin();
}

std::uint64_t SharedContest::lastContact(std::string_view station) const {
  const auto found = m_heard.find(station);
  return found == m_heard.end() ? 0 : found->second.lastContact;
}

bool SharedContest::heard(std::string_view station, std::uint64_t sequence) const {
  const auto found = m_heard.find(station);
  return found != m_heard.end() &&
         (sequence <= found->second.through || found->second.above.contains(sequence));
}

std::vector<SequenceGap> SharedContest::missing(std::string_view station,
                                                std::uint64_t announced) const {
  std::vector<SequenceGap> gaps;
  std::uint64_t next = heardThrough(station) + 1;
  const auto found = m_heard.find(station);
  if (found != m_heard.end()) {
    for (const std::uint64_t heard : found->second.above) {
      if (heard > next) {
        gaps.push_back({next, std::min(heard - 1, announced)});
      }
      next = heard + 1;
      if (next > announced) {
        break;
      }
    }
  }
  if (next <= announced) {
    gaps.push_back({next, announced});
  }
  std::erase_if(gaps, [](const SequenceGap& gap) { return gap.first > gap.last; });
  return gaps;
}

std::vector<std::string> SharedContest::stations() const {
  std::vector<std::string> stations;
  for (const auto& [station, heard] : m_heard) {
    stations.push_back(station);
  }
  return stations;
}

std::string unmarkedRecord(std::string_view record) {
  const auto fields = readQsoRecord(record);
  if (!fields) {
    return std::string(record);
  }
  std::string text;
  for (std::size_t field = 0; field < kQsoRecordFieldCount; ++field) {
    const bool worked = field == qso::points || field == qso::newSquare || field == qso::duplicate;
    text.append(field == 0 ? "" : ";").append(worked ? std::string_view() : (*fields)[field]);
  }
  return text;
}

bool sameContact(std::string_view record, std::string_view other) {
  return unmarkedRecord(record) == unmarkedRecord(other);
}

namespace {

// A record's date and time as its line begins, "YYMMDD;HHMM", which compare as the moments do;
// nothing for a line that does not begin so. Read without taking the line apart, since placing a
// record compares it with many.
std::optional<std::string_view> momentOf(std::string_view record) {
  constexpr std::string_view kShape = "dddddd;dddd;";
  if (record.size() < kShape.size()) {
    return std::nullopt;
  }
  for (std::size_t at = 0; at < kShape.size(); ++at) {
    const bool digit = record[at] >= '0' && record[at] <= '9';
    if (kShape[at] == 'd' ? !digit : record[at] != ';') {
      return std::nullopt;
    }
  }
  return record.substr(0, kShape.size() - 1);
}

}  // namespace

std::strong_ordering compareMoments(std::string_view record, std::string_view other) {
  const auto a = momentOf(record);
  const auto b = momentOf(other);
  if (!a || !b) {
    return a.has_value() <=> b.has_value();
  }
  return *a <=> *b;
}

}  // namespace vantor
