#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <unordered_map>
#include <variant>
#include <vector>

#include "contest/contact.h"
#include "log/band_log.h"
#include "map/log_follower.h"
#include "net/event_store.h"
#include "net/event_transport.h"
#include "net/net_event.h"
#include "net/shared_contest.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"

namespace vantor {

class LogForm;

// A clock difference above this is told: contest robots void contacts off by minutes.
inline constexpr std::int64_t kClockWarningMs = 10'000;
// A station not heard for this long is no longer counted connected.
inline constexpr std::int64_t kPresenceLapseMs = 5'000;

// Another station of the contest as this one last heard it.
struct PeerState {
  std::string station;
  // This PC's clock when its last presence came, UTC ms.
  std::int64_t heardAtMs = 0;
  // Its clock less this PC's when its presence came, ms.
  std::int64_t clockDifferenceMs = 0;
  std::string band;
  std::uint64_t sequence = 0;

  // Whether it was heard lately, at this PC's `nowMs`.
  [[nodiscard]] bool connected(std::int64_t nowMs) const {
    return nowMs - heardAtMs < kPresenceLapseMs;
  }
  // Whether its clock is off by more than a warning allows.
  [[nodiscard]] bool clockOff() const {
    return clockDifferenceMs > kClockWarningMs || clockDifferenceMs < -kClockWarningMs;
  }
};

// Messages not applied, by why.
struct RejectedMessages {
  std::size_t unreadable = 0;
  std::size_t otherContest = 0;
  std::size_t wrongStation = 0;
  [[nodiscard]] std::size_t total() const { return unreadable + otherContest + wrongStation; }
};

// Why a contact of `station` cannot be changed here: "Il contatto I4AAA è della stazione 144: solo
// lei può correggerlo", with `what` the change asked ("correggerlo", "eliminarlo").
[[nodiscard]] std::string ownedElsewhere(std::string_view call, std::string_view station,
                                         std::string_view what);

// What the sharing lets the program ask of the rest of it.
struct ClubLinks {
  // UTC, ms.
  std::function<std::int64_t()> nowMs;
  // The hub keeps another contest: its claim, told once.
  std::function<void(const ContestClaim& hubContest)> otherContest;
};

// This station's part in a shared contest: its own contacts made, corrected and removed on the log
// screen become its events (kept on the disk, then sent); the others' events come into the band
// logs as records, in the order every station holds them, with the marks worked out again. Only a
// contact's own station changes it: a record of another station touched here is put back.
class ClubStation {
 public:
  ClubStation(LogForm& log, Dialogs& dialogs, EventTransport& transport, std::string station,
              const ContestClaim& claim, ClubLinks links);

  // Reads the events kept at `path` and makes the band logs agree with them: a record no event
  // holds is a contact of this station, an event's contact missing from its log is put in.
  [[nodiscard]] std::error_code open(platform::FileSystem& files,
                                     const std::filesystem::path& path);
  // After each operator action: the changes of this station's contacts become events, stored and
  // synced before it returns; send() then hands them on.
  void takeOperatorChanges();
  void send();
  // What arrived, applied; true when a band log changed.
  bool takeArrivals();
  // Every second: the presence told, the hub asked, what is missing fetched.
  void tick();

  // The station that logged the record with identity `id` in `log`; empty when this one did.
  [[nodiscard]] std::string ownerOf(const BandLog& log, ContactId id) const;
  [[nodiscard]] const std::string& station() const { return m_station; }
  [[nodiscard]] const SharedContest& contest() const { return m_contest; }
  [[nodiscard]] std::vector<PeerState> peers() const;
  [[nodiscard]] const RejectedMessages& rejected() const { return m_rejected; }
  [[nodiscard]] LinkStatus linkStatus() const { return m_transport.status(); }
  // The hub answered lately, with this contest.
  [[nodiscard]] bool hubAgrees() const;
  // Why the sharing is not whole (the hub of another contest, a store that cannot be written);
  // empty when it is.
  [[nodiscard]] const std::string& problem() const { return m_problem; }

 private:
  struct BandView {
    BandLog* log = nullptr;
    LogFollower follower;
    std::unordered_map<ContactId, ContactKey> keys;
    std::map<ContactKey, ContactId> ids;
  };
  struct Touched {
    BandView* view = nullptr;
    std::vector<std::string> calls;
  };

  BandView& viewOf(const std::string& band);
  void adopt(BandView& view);
  void reconcile(BandView& view);
  [[nodiscard]] std::vector<std::size_t> unknownLines(BandView& view);
  [[nodiscard]] std::vector<ContactKey> forgetVanished(BandView& view);
  void takeAdded(BandView& view, std::size_t firstLine);
  void relink(BandView& view, std::vector<std::size_t>& unknown);
  void dropVanished(BandView& view, const std::vector<ContactKey>& vanished, Touched& touched);
  bool checkKnown(BandView& view, std::size_t line, const ContactKey& key, Touched& touched);
  void ownNewContact(BandView& view, std::size_t line);
  void publish(EventKind kind, const ContactKey& key, const std::string& band, std::string record);
  void link(BandView& view, ContactId id, const ContactKey& key);
  void unlink(BandView& view, ContactId id);
  ContactId place(BandView& view, const SharedContact& contact);
  void keepInOrder(BandView& view, std::size_t line, Touched& touched);
  [[nodiscard]] std::size_t positionFor(BandView& view, std::string_view record,
                                        const ContactKey& key);
  [[nodiscard]] bool before(BandView& view, std::size_t line, std::string_view record,
                            const ContactKey& key);
  void showShared(const ContactKey& key, Touched& touched);
  void finish(Touched& touched);
  template <typename Message>
  const Message* accepted(const std::variant<Message, DecodeProblem>& decoded,
                          const std::string& origin);
  void takeEvent(const LinkMessage& message, std::map<BandView*, Touched>& touched);
  void takePresence(const LinkMessage& message);
  void fetchMissing(const std::string& station, std::uint64_t announced);
  void tellHeldBand(const std::string& band);
  void tell(const std::string& message);
  void tellWaiting();
  void storeFailed(std::error_code error);

  LogForm& m_log;
  Dialogs& m_dialogs;
  EventTransport& m_transport;
  std::string m_station;
  ClubLinks m_links;
  SharedContest m_contest;
  EventStore m_store;
  std::map<std::string, BandView> m_views;
  std::vector<std::pair<std::uint64_t, std::string>> m_outgoing;
  bool m_unsynced = false;
  std::map<std::string, PeerState> m_peers;
  // When the missing events of a station were last asked for, and up to which.
  std::map<std::string, std::pair<std::int64_t, std::uint64_t>> m_asked;
  RejectedMessages m_rejected;
  std::string m_problem;
  std::string m_heldBandTold;
  std::vector<std::string> m_toTell;
};

}  // namespace vantor
