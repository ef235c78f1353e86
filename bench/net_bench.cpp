// The shared contest's figures, on loopback: a hub and the stations' own NATS servers as child
// processes, the stations' programs (session, journal, network) in this process, each on a data
// folder of its own. Each figure beside the plainest code doing the same work over the same
// servers: core NATS for the propagation, a bare link for the catch-up, the program working alone
// for the insertion. The baselines' names carry "NetBaseline", so that "scripts/bench Net" runs
// every figure of this file beside its own.
//
// The stations' views are modelled by a loop that polls the network at each wake-up of the link,
// or after at most a millisecond: the window's own poll (every 20 to 200 ms) is left out, so a
// figure is what the program does, not how long it sleeps.

#include <benchmark/benchmark.h>
#include <nats/nats.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/club_network.h"
#include "app/session.h"
#include "contest_texts.h"
#include "log/log_form.h"
#include "net/club_station.h"
#include "net/nats_client.h"
#include "net/nats_link.h"
#include "net/nats_server.h"
#include "support/journal_run.h"
#include "support/nats_hub.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using vantor::ClubStation;
using vantor::LogForm;
using vantor::NatsServer;

// The longest any single wait of these figures lasts; logging a long log whole and sending it
// gets longer.
constexpr auto kPatience = 20s;
constexpr auto kLongLogPatience = 180s;
// The longest the stations' poll loop sleeps between two polls without a wake-up.
constexpr auto kPollGap = 1ms;
constexpr std::string_view kLoggedBand = "144 Mhz";
constexpr std::string_view kOtherBand = "432 Mhz";
constexpr std::string_view kLocator = "JN61FU";
// The moment of every record of contest_texts.h's logs, 2026-12-07 14:32 UTC: the stations' clock
// is pinned there, so an insertion comes after the whole log, as in a contest.
constexpr vantor::DateTime kLogMoment{2026, 12, 7, 14, 32};
// The contest's day in the header, so that none of those contacts is dated outside it.
constexpr std::string_view kLogDay = "07/12/2026";

// A fresh folder under `root`, removed with everything in it: the temporary folder on the disk,
// where each sync reaches the disk as on the operator's PC, or /dev/shm, where syncing costs
// nothing and a figure shows the program's own work.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& root) {
    std::random_device random;
    m_path = root / ("vantor-bench-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }

  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

const std::filesystem::path kOnDisk = std::filesystem::temp_directory_path();
const std::filesystem::path kInMemory = "/dev/shm";

double inSeconds(Clock::duration time) {
  return std::chrono::duration<double>(time).count();
}

double medianOf(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Each iteration's time, handed to the benchmark, and kept for the median and the worst, which go
// beside the mean as counters in `unit` ("ms" or "us").
class IterationTimes {
 public:
  explicit IterationTimes(std::string unit) : m_unit(std::move(unit)) {}

  void add(benchmark::State& state, Clock::duration time) {
    state.SetIterationTime(inSeconds(time));
    m_values.push_back(inUnit(time));
  }
  void report(benchmark::State& state) const {
    if (m_values.empty()) {
      return;
    }
    state.counters["median_" + m_unit] = medianOf(m_values);
    state.counters["worst_" + m_unit] = *std::max_element(m_values.begin(), m_values.end());
  }
  [[nodiscard]] double inUnit(Clock::duration time) const {
    return inSeconds(time) * (m_unit == "ms" ? 1e3 : 1e6);
  }

 private:
  std::string m_unit;
  std::vector<double> m_values;
};

// A plain subscriber on the hub to every station's events, as the other stations of a club are:
// the leaves then send each event on to the hub, and the count tells when a station's link has
// handed its server everything it was given.
class EventListener {
 public:
  explicit EventListener(const vantor::testing::NatsHub& hub) {
    natsConnection* made = nullptr;
    natsStatus status = natsConnection_ConnectTo(&made, hub.server->clientUrl().c_str());
    m_connection.reset(made);
    if (status == NATS_OK) {
      status = m_events.open(made, "vantor.*.ev.*", &EventListener::counted, this);
    }
    if (status == NATS_OK) {
      status = natsConnection_Flush(made);
    }
    if (status != NATS_OK) {
      throw std::runtime_error(std::string("listener: ") + natsStatus_GetText(status));
    }
  }

  [[nodiscard]] std::size_t count() const { return m_count; }

 private:
  static void counted(natsConnection*, natsSubscription*, natsMsg* message, void* closure) {
    ++static_cast<EventListener*>(closure)->m_count;
    natsMsg_Destroy(message);
  }

  vantor::nats::Connection m_connection;
  vantor::nats::Subscription m_events;
  std::atomic<std::size_t> m_count = 0;
};

// The link's wake-ups, which have the view poll at once; and the first since the last forget().
class WakeUps {
 public:
  void wake() {
    {
      const std::lock_guard lock(m_mutex);
      m_woken = true;
      if (!m_first) {
        m_first = Clock::now();
      }
    }
    m_wakeUp.notify_one();
  }
  void await(Clock::duration longest) {
    std::unique_lock lock(m_mutex);
    m_wakeUp.wait_for(lock, longest, [this] { return m_woken; });
    m_woken = false;
  }
  void forget() {
    const std::lock_guard lock(m_mutex);
    m_first.reset();
  }
  [[nodiscard]] std::optional<Clock::time_point> first() {
    const std::lock_guard lock(m_mutex);
    return m_first;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_wakeUp;
  bool m_woken = false;
  std::optional<Clock::time_point> m_first;
};

// One PC of the club without a window, as the tests' station probe works it: the program's session
// and journal on a data folder of its own, the log open on `band`, and the contest shared through
// the hub at `hubAddress`, or the program alone when none is named.
struct Station {
  Station(const std::filesystem::path& folder, const std::string& name,
          const std::string& hubAddress, std::string_view band)
      : run(folder) {
    if (!run.started) {
      throw std::runtime_error("the journal does not start in " + folder.string());
    }
    run.dialogs.recording = false;
    run.clock.pin(kLogMoment);
    run.session.header().startDateField.setText(kLogDay);
    run.session.header().endDateField.setText(kLogDay);
    if (!hubAddress.empty()) {
      run.session.keepNetworkFolder(folder / "rete");
      vantor::NetworkSettings settings;
      settings.station = name;
      settings.hubAddress = hubAddress;
      run.session.configureNetwork(settings, [this] { wakeUps.wake(); });
    }
    run.openLog();
    run.act([&] { run.session.header().bandList.pickText(band); });
  }

  [[nodiscard]] ClubStation* club() {
    vantor::ClubNetwork* network = run.session.network();
    return network == nullptr ? nullptr : network->club();
  }
  [[nodiscard]] LogForm& log() { return run.session.log(); }

  WakeUps wakeUps;  // first: the link that calls it goes with the session
  vantor::testing::ProgramRun run;
};

// Polls the stations, sleeping between two polls until the first one's link wakes it (at most
// kPollGap), until `done` holds; false when `patience` ran out first.
bool pollUntil(const std::vector<Station*>& stations, const std::function<bool()>& done,
               Clock::duration patience) {
  const auto deadline = Clock::now() + patience;
  for (;;) {
    for (Station* station : stations) {
      station->run.session.pollNetwork();
    }
    if (done()) {
      return true;
    }
    if (Clock::now() > deadline) {
      return false;
    }
    stations.front()->wakeUps.await(kPollGap);
  }
}

// The log of `band`, without making one; nothing while there is none.
vantor::BandLog* bandNamed(LogForm& log, std::string_view band) {
  for (std::size_t index = 0; index < log.bandCount(); ++index) {
    if (log.bandAt(index).band() == band) {
      return &log.bandAt(index);
    }
  }
  return nullptr;
}

bool holdsCall(Station& station, std::string_view band, std::string_view call) {
  vantor::BandLog* log = bandNamed(station.log(), band);
  return log != nullptr && !log->document().recordsOf(call).empty();
}

std::size_t recordCount(Station& station, std::string_view band) {
  vantor::BandLog* log = bandNamed(station.log(), band);
  if (log == nullptr) {
    return 0;
  }
  const auto lines = log->document().lines();
  return static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [](const vantor::LogLine& line) { return line.isRecord(); }));
}

// Until the station's part is made and the hub answers it with its contest: its server runs and
// its leaf connection to the hub is up.
void awaitJoined(Station& station) {
  const auto joined = [&] {
    ClubStation* club = station.club();
    return club != nullptr && club->hubAgrees();
  };
  if (!pollUntil({&station}, joined, kPatience)) {
    throw std::runtime_error("a station does not join the hub's contest");
  }
}

// Until each station has heard the other's presence: the hub carries their interest both ways.
void awaitPeers(Station& one, Station& other) {
  const auto heard = [&] { return !one.club()->peers().empty() && !other.club()->peers().empty(); };
  if (!pollUntil({&one, &other}, heard, kPatience)) {
    throw std::runtime_error("the stations do not hear each other");
  }
}

// How long a log set whole took: the operator's action, and until its events all reached the hub.
struct WholeLog {
  Clock::duration taken{};
  Clock::duration sent{};
};

// The station's band log set to `contacts` records at once (a log pasted or read whole); with a
// listener, each record becomes an event of the station's, and this returns once they all reached
// the hub and the station told its last sequence in a presence.
WholeLog logWhole(Station& station, const EventListener* listener, int contacts) {
  const std::size_t before = listener ? listener->count() : 0;
  const std::string text = vantor::bench::qsoLines(contacts);
  const auto start = Clock::now();
  station.run.act([&] { station.log().logBuffer().setText(text); });
  WholeLog whole;
  whole.taken = Clock::now() - start;
  if (listener == nullptr) {
    return whole;
  }
  const auto sent = [&] {
    return listener->count() >= before + static_cast<std::size_t>(contacts);
  };
  if (!pollUntil({&station}, sent, kLongLogPatience)) {
    throw std::runtime_error("the station's events do not reach the hub");
  }
  whole.sent = Clock::now() - start;
  const auto presenceTold = Clock::now() + 1100ms;
  const auto told = [&] { return Clock::now() > presenceTold; };
  pollUntil({&station}, told, 2s);
  return whole;
}

// Runs a figure's body; a failure ends the figure with its reason.
void guarded(benchmark::State& state, const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

// ALFA on 144 MHz and BRAVO on 432 MHz, sharing their contest through the hub, each hearing the
// other.
struct TwoStations {
  explicit TwoStations(const std::filesystem::path& root)
      : data(root),
        hub(data.path() / "hub"),
        alfa(data.path() / "alfa", "ALFA", hub.address, kLoggedBand),
        bravo(data.path() / "bravo", "BRAVO", hub.address, kOtherBand) {
    awaitJoined(alfa);
    awaitJoined(bravo);
    awaitPeers(bravo, alfa);
  }

  ScratchFolder data;
  vantor::testing::NatsHub hub;
  Station alfa;
  Station bravo;
};

// From the start of the operator's action on ALFA: until it ended, until BRAVO's link woke its
// view, until BRAVO's log held the contact.
struct Propagation {
  Clock::duration acted{};
  Clock::duration woken{};
  Clock::duration held{};
};

// Contact `index` typed and inserted on ALFA, and polled for until BRAVO's 144 MHz log holds it.
Propagation propagate(TwoStations& club, int index) {
  const std::string call = vantor::bench::callOf(index);
  club.bravo.wakeUps.forget();
  const auto start = Clock::now();
  club.alfa.run.logContact(call, kLocator);
  Propagation times;
  times.acted = Clock::now() - start;
  const auto held = [&] { return holdsCall(club.bravo, kLoggedBand, call); };
  if (!pollUntil({&club.bravo, &club.alfa}, held, kPatience)) {
    throw std::runtime_error("BRAVO does not receive ALFA's contact");
  }
  const auto end = Clock::now();
  times.held = end - start;
  times.woken = club.bravo.wakeUps.first().value_or(end) - start;
  return times;
}

// A contact logged on ALFA until BRAVO holds it in its own 144 MHz log, through both leaves and the
// hub. Counters beside the median and the worst: the medians of ALFA's action alone (typing and
// inserting, its event stored and synced, its journal written) and of the moment BRAVO's link
// first woke its view (ALFA's presence, once a second, may come first now and then). The first
// contact goes untimed: its figure is first_ms.
void propagation(benchmark::State& state, const std::filesystem::path& root) {
  guarded(state, [&] {
    TwoStations club(root);
    IterationTimes times("ms");
    state.counters["first_ms"] = times.inUnit(propagate(club, 0).held);
    std::vector<double> actions;
    std::vector<double> wakeUps;
    int contact = 1;
    for (auto _ : state) {
      const Propagation figure = propagate(club, contact++);
      times.add(state, figure.held);
      actions.push_back(times.inUnit(figure.acted));
      wakeUps.push_back(times.inUnit(figure.woken));
    }
    times.report(state);
    state.counters["action_ms"] = medianOf(actions);
    state.counters["woken_ms"] = medianOf(wakeUps);
  });
}

// The data folders on the disk, as on the operator's PC: every sync waits for it.
void NetPropagation(benchmark::State& state) {
  propagation(state, kOnDisk);
}
// In memory: the program's and the network's own time, without the disk's.
void NetPropagationInMemory(benchmark::State& state) {
  propagation(state, kInMemory);
}
BENCHMARK(NetPropagation)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(NetPropagationInMemory)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond);

// A plain connection to the server; with `sendAsap`, each publication goes out at once instead of
// waiting for the library's flusher to gather more (as a request's does).
vantor::nats::Connection plainConnection(const NatsServer& server, bool sendAsap) {
  natsOptions* options = nullptr;
  natsStatus status = natsOptions_Create(&options);
  const vantor::nats::Options kept(options);
  const std::string url = server.clientUrl();
  status = status != NATS_OK ? status : natsOptions_SetURL(options, url.c_str());
  status = status != NATS_OK ? status : natsOptions_SetSendAsap(options, sendAsap);
  natsConnection* made = nullptr;
  status = status != NATS_OK ? status : natsConnection_Connect(&made, options);
  vantor::nats::Connection connection(made);
  if (status != NATS_OK) {
    throw std::runtime_error(std::string("connection: ") + natsStatus_GetText(status));
  }
  return connection;
}

std::unique_ptr<NatsServer> leafOf(const std::filesystem::path& folder, const std::string& station,
                                   const vantor::testing::NatsHub& hub) {
  vantor::LeafServerConfig config;
  config.folder = folder;
  config.domain = vantor::domainOf(station);
  config.hubAddress = hub.address;
  return NatsServer::startLeaf(config);
}

// A publisher on ALFA's leaf and a subscriber on BRAVO's, plain core NATS.
class PlainPair {
 public:
  PlainPair(const NatsServer& alfa, const NatsServer& bravo)
      : m_publisher(plainConnection(alfa, true)), m_receiver(plainConnection(bravo, false)) {
    natsSubscription* made = nullptr;
    natsConnection_SubscribeSync(&made, m_receiver.get(), kSubject);
    m_subscription.reset(made);
  }

  // `text` published and received back, each wait for a message at most `withinMs`; a message
  // left from an earlier round is passed over.
  bool roundTrip(const std::string& text, std::int64_t withinMs) {
    natsConnection_PublishString(m_publisher.get(), kSubject, text.c_str());
    for (int left = kMostPassedOver; left >= 0; --left) {
      natsMsg* received = nullptr;
      if (natsSubscription_NextMsg(&received, m_subscription.get(), withinMs) != NATS_OK) {
        return false;
      }
      const vantor::nats::Message message(received);
      if (vantor::nats::dataOf(received) == text) {
        return true;
      }
    }
    return false;
  }

 private:
  static constexpr const char* kSubject = "prova.contatti";
  static constexpr int kMostPassedOver = 100;
  vantor::nats::Connection m_publisher;
  vantor::nats::Connection m_receiver;
  vantor::nats::SyncSubscription m_subscription;
};

// The baseline of NetPropagation: the record line of a contact published with core NATS on ALFA's
// leaf and taken by a subscriber on BRAVO's, through the hub: no stream, no ack, no event, no log.
void PlainNatsRoundTrip(benchmark::State& state) {
  guarded(state, [&] {
    const ScratchFolder data(kOnDisk);
    const vantor::testing::NatsHub hub(data.path() / "hub");
    const auto alfa = leafOf(data.path() / "alfa", "ALFA", hub);
    const auto bravo = leafOf(data.path() / "bravo", "BRAVO", hub);
    PlainPair pair(*alfa, *bravo);
    const auto deadline = Clock::now() + kPatience;
    while (!pair.roundTrip("prova", 100)) {
      if (Clock::now() > deadline) {
        throw std::runtime_error("the leaves do not reach each other through the hub");
      }
    }
    IterationTimes times("ms");
    int contact = 0;
    for (auto _ : state) {
      const std::string line = vantor::bench::qsoLine(contact, vantor::bench::callOf(contact));
      ++contact;
      const auto start = Clock::now();
      if (!pair.roundTrip(line, 5000)) {
        throw std::runtime_error("the record line does not come back");
      }
      times.add(state, Clock::now() - start);
    }
    times.report(state);
  });
}
BENCHMARK(PlainNatsRoundTrip)
    ->Name("PlainNatsRoundTrip/NetBaseline")
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// How an insertion figure runs: with the network or alone, the data folder on the disk or in
// memory, the contact in the contest's order or, in the worst case, logged late with a time before
// the whole log's, so that the station's part moves it to its place.
struct InsertionSetting {
  bool networked = false;
  bool onDisk = false;
  bool early = false;
};

// A program with a log of `contacts` records set whole: sharing its contest through a hub, where a
// listener takes the events as the other stations would, or alone.
struct LoggedProgram {
  LoggedProgram(const InsertionSetting& setting, int contacts)
      : data(setting.onDisk ? kOnDisk : kInMemory) {
    if (setting.networked) {
      hub = std::make_unique<vantor::testing::NatsHub>(data.path() / "hub");
      listener = std::make_unique<EventListener>(*hub);
    }
    station = std::make_unique<Station>(data.path() / "alfa", "ALFA", hub ? hub->address : "",
                                        kLoggedBand);
    if (setting.networked) {
      awaitJoined(*station);
    }
    whole = logWhole(*station, listener.get(), contacts);
  }

  // Until the events of `inserted` contacts reached the hub: the network is quiet.
  void awaitSent(std::size_t inserted) {
    const auto sent = [&] { return listener->count() >= inserted; };
    if (listener && !pollUntil({station.get()}, sent, kPatience)) {
      throw std::runtime_error("the last contact's event does not reach the hub");
    }
  }

  ScratchFolder data;
  std::unique_ptr<vantor::testing::NatsHub> hub;
  std::unique_ptr<EventListener> listener;
  std::unique_ptr<Station> station;
  WholeLog whole;
};

// The entry row typed as for the insertion of contact `index`, untimed; in the worst case with a
// time before every record of the log.
void typeContact(Station& station, int index, bool early) {
  LogForm& log = station.log();
  log.serialSentField.setText("002");
  log.callsignField.edit(vantor::bench::callOf(index), 6);
  log.locatorField.edit(kLocator, kLocator.size());
  if (early) {
    log.timeField.setText("1400");
  }
  station.run.session.recordChanges();
  station.run.session.syncRecordedChanges();
}

// An insertion through the log screen with its journal entry in a log of state.range(0) contacts,
// as JournaledInsertion, with the network on or off. Each insertion adds a contact: the log grows
// by the figure's iterations. Before each, untimed, the view's poll runs until the previous
// contact's event reached the hub, so each insertion starts on a quiet network. Counters beside
// the median and the worst: how long the log set whole before took, the operator's part (whole_s)
// and until its events had all reached the hub (sent_s).
void insertion(benchmark::State& state, const InsertionSetting& setting) {
  guarded(state, [&] {
    const int contacts = static_cast<int>(state.range(0));
    LoggedProgram program(setting, contacts);
    Station& station = *program.station;
    IterationTimes times("us");
    int next = contacts;
    for (auto _ : state) {
      typeContact(station, next++, setting.early);
      program.awaitSent(static_cast<std::size_t>(next - 1));
      const auto start = Clock::now();
      station.log().insertButton.press();
      station.run.session.recordChanges();
      times.add(state, Clock::now() - start);
    }
    times.report(state);
    state.counters["whole_s"] = inSeconds(program.whole.taken);
    if (setting.networked) {
      state.counters["sent_s"] = inSeconds(program.whole.sent);
    }
  });
}

void NetInsertion(benchmark::State& state) {
  insertion(state, {true, false, false});
}
void AloneInsertion(benchmark::State& state) {
  insertion(state, {false, false, false});
}
void NetInsertionWorstCase(benchmark::State& state) {
  insertion(state, {true, false, true});
}
void AloneInsertionWorstCase(benchmark::State& state) {
  insertion(state, {false, false, true});
}
// The same on the disk: what the operator waits for, the syncs included.
void NetInsertionOnDisk(benchmark::State& state) {
  insertion(state, {true, true, false});
}
void AloneInsertionOnDisk(benchmark::State& state) {
  insertion(state, {false, true, false});
}
BENCHMARK(NetInsertion)
    ->Apply(vantor::bench::logSizes)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(AloneInsertion)
    ->Name("AloneInsertion/NetBaseline")
    ->Apply(vantor::bench::logSizes)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(NetInsertionWorstCase)
    ->Apply(vantor::bench::logSizes)
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(AloneInsertionWorstCase)
    ->Name("AloneInsertionWorstCase/NetBaseline")
    ->Apply(vantor::bench::logSizes)
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(NetInsertionOnDisk)
    ->Arg(10000)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(AloneInsertionOnDisk)
    ->Name("AloneInsertionOnDisk/NetBaseline")
    ->Arg(10000)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

constexpr int kCatchUpContacts = 10'000;

// The hub and ALFA with kCatchUpContacts contacts logged, their events in its stream, on the disk.
struct LoggedContest {
  LoggedContest()
      : data(kOnDisk),
        hub(data.path() / "hub"),
        listener(hub),
        alfa(data.path() / "alfa", "ALFA", hub.address, kLoggedBand) {
    awaitJoined(alfa);
    logWhole(alfa, &listener, kCatchUpContacts);
  }

  ScratchFolder data;
  vantor::testing::NatsHub hub;
  EventListener listener;
  Station alfa;
};

// From BRAVO's start: until its part was made, until it held a first contact of ALFA's, until it
// held them all.
struct CatchUp {
  std::optional<Clock::duration> joined;
  std::optional<Clock::duration> first;
  Clock::duration all{};
};

CatchUp catchUp(LoggedContest& contest, const std::filesystem::path& folder) {
  CatchUp times;
  const auto start = Clock::now();
  Station bravo(folder, "BRAVO", contest.hub.address, kOtherBand);
  const auto caughtUp = [&] {
    const auto now = Clock::now() - start;
    if (!times.joined && bravo.club() != nullptr) {
      times.joined = now;
    }
    const std::size_t held = recordCount(bravo, kLoggedBand);
    if (!times.first && held != 0) {
      times.first = now;
    }
    return held == static_cast<std::size_t>(kCatchUpContacts);
  };
  if (!pollUntil({&bravo, &contest.alfa}, caughtUp, kPatience)) {
    throw std::runtime_error("BRAVO does not catch up with ALFA's contacts");
  }
  times.all = Clock::now() - start;
  return times;
}

// BRAVO starts on a fresh data folder while ALFA holds 10,000 contacts, and is timed until its
// 144 MHz log holds them all: its server's start, its join, ALFA's next presence (once a second),
// the fetch and the merge. Counters: when BRAVO's part was made (joined_ms) and when it first held
// one of ALFA's contacts (first_ms).
void NetCatchUp10k(benchmark::State& state) {
  guarded(state, [&] {
    LoggedContest contest;
    IterationTimes times("ms");
    int round = 0;
    for (auto _ : state) {
      const CatchUp figure =
          catchUp(contest, contest.data.path() / ("bravo" + std::to_string(round++)));
      times.add(state, figure.all);
      state.counters["joined_ms"] = times.inUnit(figure.joined.value_or(figure.all));
      state.counters["first_ms"] = times.inUnit(figure.first.value_or(figure.all));
    }
  });
}
BENCHMARK(NetCatchUp10k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A bare link on its own leaf that fetches ALFA's events and keeps which sequences came.
class BareFetcher {
 public:
  BareFetcher(const NatsServer& server, const std::string& contestKey)
      : m_link(configOf(server, contestKey)) {}

  // Fetches ALFA's events `first`..`last` and takes them as they come, until all came or
  // `patience` ran out.
  bool fetch(std::uint64_t first, std::uint64_t last, Clock::duration patience) {
    std::fill(m_held.begin(), m_held.end(), false);
    std::size_t count = 0;
    const std::size_t wanted = last - first + 1;
    const auto deadline = Clock::now() + patience;
    m_link.fetch("ALFA", first, last);
    while (count < wanted && Clock::now() < deadline) {
      for (const vantor::LinkMessage& message : m_link.take()) {
        if (message.kind == vantor::LinkMessage::Kind::Event && message.sequence >= first &&
            message.sequence <= last && !m_held[message.sequence]) {
          m_held[message.sequence] = true;
          ++count;
        }
      }
      std::this_thread::sleep_for(kPollGap);
    }
    return count == wanted;
  }

 private:
  static vantor::NatsLinkConfig configOf(const NatsServer& server, const std::string& contestKey) {
    vantor::NatsLinkConfig config;
    config.serverUrl = server.clientUrl();
    config.station = "BRAVO";
    config.contestKey = contestKey;
    return config;
  }

  vantor::NatsLink m_link;
  std::vector<bool> m_held = std::vector<bool>(kCatchUpContacts + 1);
};

// The baseline of NetCatchUp10k: a bare link on BRAVO's leaf fetching ALFA's 10,000 events through
// the hub, kept by sequence: no merge, no log. The leaf and the link are made, and a first event
// fetched, untimed.
void PlainDirectGet10k(benchmark::State& state) {
  guarded(state, [&] {
    LoggedContest contest;
    const auto server = leafOf(contest.data.path() / "bravo", "BRAVO", contest.hub);
    BareFetcher fetcher(*server, contest.alfa.club()->contest().contestKey());
    const auto deadline = Clock::now() + kPatience;
    while (!fetcher.fetch(1, 1, 300ms)) {
      if (Clock::now() > deadline) {
        throw std::runtime_error("BRAVO's link does not reach ALFA's stream");
      }
    }
    IterationTimes times("ms");
    for (auto _ : state) {
      const auto start = Clock::now();
      if (!fetcher.fetch(1, kCatchUpContacts, kPatience)) {
        throw std::runtime_error("the link does not fetch ALFA's events");
      }
      times.add(state, Clock::now() - start);
    }
  });
}
BENCHMARK(PlainDirectGet10k)
    ->Name("PlainDirectGet10k/NetBaseline")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
