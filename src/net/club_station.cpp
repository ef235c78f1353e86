#include "net/club_station.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "contest/contact_rules.h"
#include "contest/serial_number.h"
#include "log/log_form.h"
#include "net/net_clock.h"

namespace vantor {
namespace {

std::string callOf(std::string_view record) {
  const auto fields = readQsoRecord(record);
  return fields ? std::string((*fields)[qso::call]) : std::string();
}

constexpr std::int64_t kFetchPatienceMs = 10'000;

}  // namespace

std::string ownedElsewhere(std::string_view call, std::string_view station, std::string_view what) {
  std::string text = "Il contatto ";
  text.append(call).append(" è della stazione ").append(station).append(": solo lei può ");
  return text.append(what);
}

ClubStation::ClubStation(LogForm& log, Dialogs& dialogs, EventTransport& transport,
                         std::string station, const ContestClaim& claim, ClubLinks links)
    : m_log(log),
      m_dialogs(dialogs),
      m_transport(transport),
      m_station(std::move(station)),
      m_links(std::move(links)),
      m_contest(claim.contestKey) {
  m_transport.askHub(encodeClaim(claim));
}

std::error_code ClubStation::open(platform::FileSystem& files, const std::filesystem::path& path) {
  std::vector<std::string> payloads;
  if (const auto error = m_store.open(files, path, payloads)) {
    return error;
  }
  for (std::string& payload : payloads) {
    const auto decoded = decodeEvent(payload);
    if (const auto* event = std::get_if<NetEvent>(&decoded)) {
      m_contest.apply(*event);
      if (event->station == m_station) {
        m_outgoing.emplace_back(event->sequence, std::move(payload));
      }
    }
  }
  for (std::size_t index = 0; index < m_log.bandCount(); ++index) {
    if (!m_log.bandAt(index).band().empty()) {
      adopt(viewOf(m_log.bandAt(index).band()));
    }
  }
  for (const std::string& band : m_contest.bands()) {
    adopt(viewOf(band));
  }
  send();
  return {};
}

ClubStation::BandView& ClubStation::viewOf(const std::string& band) {
  BandView& view = m_views[band];
  if (view.log == nullptr) {
    view.log = &m_log.bandLog(band);
  }
  return view;
}

// The records of a band log matched with the contest's contacts by their text; a record none
// matches is this station's, a contact none matches is put in.
void ClubStation::adopt(BandView& view) {
  std::vector<std::size_t> unknown = unknownLines(view);
  relink(view, unknown);
  for (const std::size_t line : unknown) {
    ownNewContact(view, line);
  }
  Touched touched{&view, {}};
  for (const SharedContact* contact : m_contest.bandContacts(view.log->band())) {
    if (!view.ids.contains(contact->key)) {
      showShared(contact->key, touched);
    }
  }
  finish(touched);
}

// The record lines whose contacts the view does not know.
std::vector<std::size_t> ClubStation::unknownLines(BandView& view) {
  std::vector<std::size_t> unknown;
  const auto lines = view.log->document().lines();
  for (std::size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].isRecord() && !view.keys.contains(lines[line].id)) {
      unknown.push_back(line);
    }
  }
  return unknown;
}

void ClubStation::takeOperatorChanges() {
  for (std::size_t index = 0; index < m_log.bandCount(); ++index) {
    BandLog& log = m_log.bandAt(index);
    if (log.band().empty()) {
      continue;
    }
    BandView& view = viewOf(log.band());
    switch (view.follower.follow(log, {})) {
      case LogStep::None:
        break;
      case LogStep::Added:
        takeAdded(view, view.follower.firstNewLine());
        break;
      case LogStep::Whole:
        reconcile(view);
        break;
    }
  }
  tellWaiting();
}

void ClubStation::send() {
  if (m_unsynced) {
    m_unsynced = false;
    if (const auto error = m_store.sync()) {
      storeFailed(error);
    }
  }
  for (auto& [sequence, payload] : m_outgoing) {
    m_transport.publish(sequence, std::move(payload));
  }
  m_outgoing.clear();
}

// Lines added at the end: an insertion, this station's new contact, kept in the contest's order.
void ClubStation::takeAdded(BandView& view, std::size_t firstLine) {
  LogDocument& document = view.log->document();
  std::vector<ContactId> added;
  const auto lines = document.lines();
  for (std::size_t line = firstLine; line < lines.size(); ++line) {
    if (lines[line].isRecord() && !view.keys.contains(lines[line].id)) {
      added.push_back(lines[line].id);
      ownNewContact(view, line);
    }
  }
  Touched touched{&view, {}};
  for (const ContactId id : added) {
    if (const auto line = document.lineOf(id)) {
      keepInOrder(view, *line, touched);
    }
  }
  finish(touched);
}

// Any other change: each record is checked against the contest. A record whose identity was
// lost (a line cut and pasted, a log read again) is known again by its text.
void ClubStation::reconcile(BandView& view) {
  std::vector<std::size_t> unknown = unknownLines(view);
  const std::vector<ContactKey> vanished = forgetVanished(view);
  relink(view, unknown);
  LogDocument& document = view.log->document();
  const auto lines = document.lines();
  std::vector<ContactId> fresh;
  for (const std::size_t line : unknown) {
    fresh.push_back(lines[line].id);
    ownNewContact(view, line);
  }
  Touched touched{&view, {}};
  std::vector<ContactKey> restored;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const auto key = view.keys.find(lines[line].id);
    if (lines[line].isRecord() && key != view.keys.end() &&
        !checkKnown(view, line, key->second, touched)) {
      if (key->second.station == m_station) {
        fresh.push_back(lines[line].id);
      } else {
        restored.push_back(key->second);
      }
    }
  }
  for (const ContactKey& key : restored) {
    showShared(key, touched);
  }
  for (const ContactId id : fresh) {
    if (const auto line = document.lineOf(id)) {
      keepInOrder(view, *line, touched);
    }
  }
  dropVanished(view, vanished, touched);
  finish(touched);
}

// The contacts whose records are gone from the log, let go of.
std::vector<ContactKey> ClubStation::forgetVanished(BandView& view) {
  std::unordered_set<ContactId> present;
  for (const LogLine& line : view.log->document().lines()) {
    if (line.isRecord() && view.keys.contains(line.id)) {
      present.insert(line.id);
    }
  }
  std::vector<ContactKey> vanished;
  for (const auto& [id, key] : view.keys) {
    if (!present.contains(id)) {
      vanished.push_back(key);
    }
  }
  for (const ContactKey& key : vanished) {
    unlink(view, view.ids.at(key));
  }
  return vanished;
}

void ClubStation::relink(BandView& view, std::vector<std::size_t>& unknown) {
  if (unknown.empty()) {
    return;
  }
  std::unordered_multimap<std::string, ContactKey> unseen;
  for (const SharedContact* contact : m_contest.bandContacts(view.log->band())) {
    if (!view.ids.contains(contact->key)) {
      unseen.emplace(unmarkedRecord(contact->record), contact->key);
    }
  }
  LogDocument& document = view.log->document();
  std::erase_if(unknown, [&](std::size_t line) {
    const auto match = unseen.find(unmarkedRecord(document.lineText(line)));
    if (match == unseen.end()) {
      return false;
    }
    link(view, document.lines()[line].id, match->second);
    unseen.erase(match);
    return true;
  });
}

// A contact gone from its log: this station's is removed; another's is put back.
void ClubStation::dropVanished(BandView& view, const std::vector<ContactKey>& vanished,
                               Touched& touched) {
  for (const ContactKey& key : vanished) {
    if (view.ids.contains(key)) {
      continue;
    }
    if (key.station == m_station) {
      publish(EventKind::Removal, key, view.log->band(), {});
      continue;
    }
    tell(ownedElsewhere(callOf(m_contest.find(key)->record), key.station, "eliminarlo"));
    showShared(key, touched);
  }
}

// Whether a record stands as the contest holds it. A changed one of this station is its
// correction; one of another station is told, to be put back as it stands.
bool ClubStation::checkKnown(BandView& view, std::size_t line, const ContactKey& key,
                             Touched& touched) {
  const SharedContact* shared = m_contest.find(key);
  const std::string_view text = view.log->document().lineText(line);
  if (shared == nullptr || text == shared->record || sameContact(text, shared->record)) {
    return true;
  }
  if (key.station == m_station) {
    publish(EventKind::Correction, key, view.log->band(), std::string(text));
  } else {
    tell(ownedElsewhere(callOf(shared->record), key.station, "correggerlo"));
    touched.calls.push_back(callOf(text));
  }
  return false;
}

void ClubStation::ownNewContact(BandView& view, std::size_t line) {
  LogDocument& document = view.log->document();
  const ContactKey key{m_station, m_contest.lastContact(m_station) + 1};
  link(view, document.lines()[line].id, key);
  publish(EventKind::Contact, key, view.log->band(), std::string(document.lineText(line)));
}

void ClubStation::publish(EventKind kind, const ContactKey& key, const std::string& band,
                          std::string record) {
  NetEvent event;
  event.contestKey = m_contest.contestKey();
  event.station = m_station;
  event.sequence = m_contest.lastSequence(m_station) + 1;
  event.kind = kind;
  event.contact = key.contact;
  const SharedContact* known = m_contest.find(key);
  event.version = known == nullptr ? 1 : known->version + 1;
  event.band = band;
  event.record = std::move(record);
  event.sentAtMs = m_links.nowMs();
  std::string payload = encodeEvent(event);
  if (const auto error = m_store.append(payload)) {
    storeFailed(error);
  }
  m_unsynced = true;
  m_contest.apply(event);
  m_outgoing.emplace_back(event.sequence, std::move(payload));
}

void ClubStation::link(BandView& view, ContactId id, const ContactKey& key) {
  view.keys[id] = key;
  view.ids[key] = id;
}

void ClubStation::unlink(BandView& view, ContactId id) {
  const auto found = view.keys.find(id);
  if (found != view.keys.end()) {
    view.ids.erase(found->second);
    view.keys.erase(found);
  }
}

// Puts a contact's record where the contest's order has it; its identity in the log.
ContactId ClubStation::place(BandView& view, const SharedContact& contact) {
  const auto record = Contact::read(contact.record);
  const ContactId id =
      view.log->document().insert(positionFor(view, contact.record, contact.key), *record);
  link(view, id, contact.key);
  if (const auto serial = readSerialNumber(record->serialSent)) {
    m_log.followSerial(*view.log, *serial);
  }
  return id;
}

// A record of this station moved where the contest's order has it, when its neighbours disagree.
void ClubStation::keepInOrder(BandView& view, std::size_t line, Touched& touched) {
  LogDocument& document = view.log->document();
  const auto lines = document.lines();
  const ContactKey key = view.keys.at(lines[line].id);
  const std::string record(document.lineText(line));
  bool inOrder = true;
  for (std::size_t other = line; other-- > 0 && inOrder;) {
    if (lines[other].isRecord()) {
      inOrder = before(view, other, record, key);
      break;
    }
  }
  for (std::size_t other = line + 1; other < lines.size() && inOrder; ++other) {
    if (lines[other].isRecord()) {
      inOrder = !before(view, other, record, key);
      break;
    }
  }
  if (!inOrder) {
    touched.calls.push_back(callOf(record));
    showShared(key, touched);
  }
}

// The line a record goes before: behind the last record that comes before it, or before the first
// record of all; at the end of a log without records. The records stand in the contest's order,
// so the place is searched by halves.
std::size_t ClubStation::positionFor(BandView& view, std::string_view record,
                                     const ContactKey& key) {
  const auto lines = view.log->document().lines();
  const auto recordAtOrBefore = [&lines](std::size_t line) {
    while (line > 0 && !lines[line].isRecord()) {
      --line;
    }
    return line;
  };
  std::size_t first = 0;
  while (first < lines.size() && !lines[first].isRecord()) {
    ++first;
  }
  if (first == lines.size()) {
    return lines.size() - 1;
  }
  if (!before(view, first, record, key)) {
    return first;
  }
  std::size_t low = first;
  std::size_t high = lines.size() - 1;
  while (low < high) {
    const std::size_t middle = low + (high - low + 1) / 2;
    if (before(view, recordAtOrBefore(middle), record, key)) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return recordAtOrBefore(low) + 1;
}

// Whether the record on `line` comes before `record` of `key`: by moment, then by station and
// number.
bool ClubStation::before(BandView& view, std::size_t line, std::string_view record,
                         const ContactKey& key) {
  LogDocument& document = view.log->document();
  const auto order = compareMoments(document.lineText(line), record);
  if (order != 0) {
    return order < 0;
  }
  const auto found = view.keys.find(document.lines()[line].id);
  return found != view.keys.end() && found->second < key;
}

// The log shows a contact as the contest holds it: its old line out, its record put in place.
void ClubStation::showShared(const ContactKey& key, Touched& touched) {
  BandView& view = *touched.view;
  LogDocument& document = view.log->document();
  if (const auto id = view.ids.find(key); id != view.ids.end()) {
    const ContactId old = id->second;
    unlink(view, old);
    if (const auto line = document.lineOf(old)) {
      touched.calls.push_back(callOf(document.lineText(*line)));
      document.remove(*line);
    }
  }
  const SharedContact* shared = m_contest.find(key);
  if (shared != nullptr && !shared->removed) {
    place(view, *shared);
    touched.calls.push_back(callOf(shared->record));
  }
}

// The marks of the calls touched made right; the log as it now stands is taken as read.
void ClubStation::finish(Touched& touched) {
  if (!touched.calls.empty()) {
    m_log.remark(*touched.view->log, touched.calls);
  }
  touched.view->follower.follow(*touched.view->log, {});
}

bool ClubStation::takeArrivals() {
  std::map<BandView*, Touched> touched;
  for (const LinkMessage& message : m_transport.take()) {
    switch (message.kind) {
      case LinkMessage::Kind::Event:
        takeEvent(message, touched);
        break;
      case LinkMessage::Kind::Presence:
        takePresence(message);
        break;
      case LinkMessage::Kind::Foreign:
        ++m_rejected.otherContest;
        break;
    }
  }
  for (auto& [view, band] : touched) {
    finish(band);
  }
  send();
  return !touched.empty();
}

// A message that decoded, of this contest, from the station its subject names; nothing, and
// the message counted, otherwise. A station of this PC's name elsewhere is a wrong one: the link
// leaves this station's own messages out.
template <typename Message>
const Message* ClubStation::accepted(const std::variant<Message, DecodeProblem>& decoded,
                                     const std::string& origin) {
  const auto* message = std::get_if<Message>(&decoded);
  if (message == nullptr) {
    ++m_rejected.unreadable;
  } else if (message->contestKey != m_contest.contestKey()) {
    ++m_rejected.otherContest;
  } else if (message->station != origin || message->station == m_station) {
    ++m_rejected.wrongStation;
  } else {
    return message;
  }
  return nullptr;
}

void ClubStation::takeEvent(const LinkMessage& message, std::map<BandView*, Touched>& touched) {
  const auto decoded = decodeEvent(message.payload);
  const NetEvent* event = accepted(decoded, message.origin);
  if (event == nullptr || m_contest.heard(event->station, event->sequence)) {
    return;
  }
  if (const auto error = m_store.append(message.payload)) {
    storeFailed(error);
  }
  m_unsynced = true;
  if (m_contest.apply(*event) == Merge::Applied) {
    BandView& view = viewOf(event->band);
    Touched& band = touched[&view];
    band.view = &view;
    showShared({event->station, event->contact}, band);
  }
  fetchMissing(event->station, event->sequence);
}

void ClubStation::takePresence(const LinkMessage& message) {
  const auto decoded = decodePresence(message.payload);
  const Presence* presence = accepted(decoded, message.origin);
  if (presence == nullptr) {
    return;
  }
  const std::int64_t now = m_links.nowMs();
  m_peers[presence->station] = {presence->station, now, presence->clockMs - now, presence->band,
                                presence->sequence};
  fetchMissing(presence->station, presence->sequence);
}

void ClubStation::fetchMissing(const std::string& station, std::uint64_t announced) {
  const std::vector<SequenceGap> gaps = m_contest.missing(station, announced);
  if (gaps.empty()) {
    return;
  }
  auto& [askedAt, askedUpTo] = m_asked[station];
  const std::int64_t now = m_links.nowMs();
  if (askedUpTo >= announced && now - askedAt < kFetchPatienceMs) {
    return;
  }
  askedAt = now;
  askedUpTo = announced;
  for (const SequenceGap& gap : gaps) {
    m_transport.fetch(station, gap.first, gap.last);
  }
}

void ClubStation::tick() {
  Presence presence;
  presence.contestKey = m_contest.contestKey();
  presence.station = m_station;
  presence.sequence = m_contest.lastSequence(m_station);
  presence.clockMs = m_links.nowMs();
  presence.band = m_log.band().band();
  m_transport.announce(encodePresence(presence));
  const auto hub = decodeClaim(m_transport.status().hubAnswer);
  if (const auto* claim = std::get_if<ContestClaim>(&hub);
      claim != nullptr && claim->contestKey != m_contest.contestKey() && m_problem.empty()) {
    m_problem = "Il hub è del contest \"" + claim->header.contest + "\" di " +
                claim->header.callsign + " dal " + claim->header.startDate +
                ": questa stazione è su un altro contest e non ne riceve i contatti";
    if (m_links.otherContest) {
      m_links.otherContest(*claim);
    }
  }
  tellHeldBand(presence.band);
  tellWaiting();
}

void ClubStation::tellHeldBand(const std::string& band) {
  const std::int64_t now = m_links.nowMs();
  for (const auto& [station, peer] : m_peers) {
    if (!band.empty() && peer.band == band && peer.connected(now)) {
      if (m_heldBandTold != band) {
        m_heldBandTold = band;
        tell("La banda " + band + " è tenuta dalla stazione " + station +
             ": i suoi numeri progressivi andrebbero in conflitto con questi");
      }
      return;
    }
  }
  m_heldBandTold.clear();
}

std::string ClubStation::ownerOf(const BandLog& log, ContactId id) const {
  const auto view = m_views.find(log.band());
  if (view == m_views.end()) {
    return {};
  }
  const auto key = view->second.keys.find(id);
  return key == view->second.keys.end() || key->second.station == m_station ? std::string()
                                                                            : key->second.station;
}

std::vector<PeerState> ClubStation::peers() const {
  std::vector<PeerState> peers;
  for (const auto& [station, peer] : m_peers) {
    peers.push_back(peer);
  }
  return peers;
}

bool ClubStation::hubAgrees() const {
  const LinkStatus status = m_transport.status();
  const auto hub = decodeClaim(status.hubAnswer);
  const auto* claim = std::get_if<ContestClaim>(&hub);
  return claim != nullptr && claim->contestKey == m_contest.contestKey() &&
         steadyMilliseconds() - status.hubAnsweredAtMs < kPresenceLapseMs;
}

void ClubStation::tell(const std::string& message) {
  m_toTell.push_back(message);
}

// The boxes wait until the logs and the contest agree again: a box has the session write what
// came before it, which asks this station for its changes anew.
void ClubStation::tellWaiting() {
  for (const std::string& message : std::exchange(m_toTell, {})) {
    m_dialogs.showMessage(Message{message});
  }
}

void ClubStation::storeFailed(std::error_code error) {
  m_problem = "Impossibile scrivere gli eventi della rete: " + error.message();
}

}  // namespace vantor
