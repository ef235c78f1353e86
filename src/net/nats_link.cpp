#include "net/nats_link.h"

#include <nats/nats.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "net/nats_client.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kTick = 100ms;  // the longest the thread goes without a look at the connection
constexpr auto kPresencePeriod = 1s;
constexpr auto kQuestionPeriod = 2s;
constexpr auto kAnswerWithin = 1s;
constexpr auto kPublishRetry = 1s;
constexpr std::int64_t kApiWaitMs = 2000;
constexpr std::int64_t kFetchAnswerWithinMs = 1000;
constexpr std::size_t kMostWaiting = 500'000;
constexpr std::size_t kPublishesAtOnce = 1000;  // before the thread looks at its other work
constexpr std::uint64_t kFetchedAtOnce = 2000;  // likewise
constexpr std::uint64_t kFetchesInFlight = 256;
constexpr const char* kHubSubject = "vantor.hub";

std::int64_t millisecondsOf(Clock::time_point moment) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
}

std::uint64_t numberOf(std::string_view text) {
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() ? number : 0;
}

// "vantor.<key>.<kind>.<station>" taken apart; nothing for any other subject.
struct SubjectParts {
  std::string_view key;
  std::string_view kind;
  std::string_view station;
};

std::optional<SubjectParts> partsOf(std::string_view subject) {
  constexpr std::string_view kRoot = "vantor.";
  if (!subject.starts_with(kRoot)) {
    return std::nullopt;
  }
  subject.remove_prefix(kRoot.size());
  const auto firstDot = subject.find('.');
  const auto secondDot = subject.find('.', firstDot + 1);
  if (secondDot == std::string_view::npos || subject.find('.', secondDot + 1) != subject.npos) {
    return std::nullopt;
  }
  return SubjectParts{subject.substr(0, firstDot),
                      subject.substr(firstDot + 1, secondDot - firstDot - 1),
                      subject.substr(secondDot + 1)};
}

// The sequence a message id "<station>-<sequence>" names; 0 for another station's or none.
std::uint64_t sequenceOfId(std::string_view id, std::string_view station) {
  if (id.size() <= station.size() + 1 || !id.starts_with(station) || id[station.size()] != '-') {
    return 0;
  }
  return numberOf(id.substr(station.size() + 1));
}

std::string statusText(natsStatus status) {
  return natsStatus_GetText(status);
}

struct JetStreamDestroy {
  void operator()(jsCtx* context) const { jsCtx_Destroy(context); }
};
struct StatisticsDestroy {
  void operator()(natsStatistics* statistics) const { natsStatistics_Destroy(statistics); }
};
struct StreamInfoDestroy {
  void operator()(jsStreamInfo* info) const { jsStreamInfo_Destroy(info); }
};
using nats::Message;

struct PendingEvent {
  std::uint64_t sequence = 0;
  std::string payload;
};

struct FetchRange {
  std::string origin;
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};

}  // namespace

std::string domainOf(std::string_view station) {
  return "S" + std::string(station);
}

// What the caller, the library's threads and the link's thread share, under `mutex`, and the
// thread's own state below it.
struct NatsLink::Worker {
  explicit Worker(NatsLinkConfig linkConfig);
  ~Worker();

  void run();
  bool open();
  void close();
  void tend();
  void follow(bool up);
  bool openStream();
  bool publishQueued();
  bool publishOne(const PendingEvent& event);
  bool fetchQueued();
  bool fetchRange(const std::string& origin, std::uint64_t first, std::uint64_t last);
  void discardFetchAnswers();
  void takeFetched(natsMsg* reply, const std::string& origin, const std::string& subject);
  void sendPeriodic();
  void receive(natsMsg* message);
  void receiveAnswer(natsMsg* message);
  void deliver(LinkMessage message);
  void setStored(std::optional<std::uint64_t> stored);
  void report(std::string problem);

  static void onMessage(natsConnection*, natsSubscription*, natsMsg* message, void* closure);
  static void onAnswer(natsConnection*, natsSubscription*, natsMsg* message, void* closure);
  // Applies a change of the caller's under the lock and wakes the thread.
  template <typename Change>
  void change(Change&& apply);

  const NatsLinkConfig config;
  const std::string streamName;
  const std::string eventSubject;
  const std::string presenceSubject;

  mutable std::mutex mutex;
  std::condition_variable poked;
  bool wasPoked = false;
  bool stopping = false;
  std::deque<PendingEvent> publishes;
  std::deque<FetchRange> fetches;
  std::string presence;
  bool presenceChanged = false;
  std::string question;
  bool questionChanged = false;
  std::uint64_t questionNumber = 0;
  Clock::time_point askedAt;
  std::vector<LinkMessage> arrived;
  std::shared_ptr<const std::function<void()>> wakeUp;
  LinkStatus status;
  std::optional<std::uint64_t> stored;

  // The link's thread alone.
  nats::Connection connection;
  std::unique_ptr<jsCtx, JetStreamDestroy> jetStream;
  std::unique_ptr<natsStatistics, StatisticsDestroy> statistics;
  nats::SyncSubscription fetchAnswers;
  nats::Subscription events;
  nats::Subscription presences;
  nats::Subscription answers;
  std::string inbox;
  std::uint64_t fetchRound = 0;
  bool streamReady = false;
  std::uint64_t reconnectsSeen = 0;
  bool workLeft = false;
  Clock::time_point nextPublish;
  Clock::time_point nextPresence;
  Clock::time_point nextQuestion;

  std::thread thread;
};

NatsLink::Worker::Worker(NatsLinkConfig linkConfig)
    : config(std::move(linkConfig)),
      streamName("V" + config.contestKey),
      eventSubject("vantor." + config.contestKey + ".ev." + config.station),
      presenceSubject("vantor." + config.contestKey + ".here." + config.station),
      thread([this] { run(); }) {}

NatsLink::Worker::~Worker() {
  {
    const std::lock_guard lock(mutex);
    stopping = true;
  }
  poked.notify_all();
  thread.join();
}

void NatsLink::Worker::run() {
  const bool opened = open();
  std::unique_lock lock(mutex);
  while (!stopping) {
    if (opened) {
      lock.unlock();
      tend();
      lock.lock();
    }
    const auto until = workLeft ? Clock::now() : Clock::now() + kTick;
    poked.wait_until(lock, until, [this] { return stopping || wasPoked; });
    wasPoked = false;
  }
  lock.unlock();
  close();
}

bool NatsLink::Worker::open() {
  std::string problem;
  connection = nats::connectRetrying(config.serverUrl, problem);
  if (!connection) {
    report(problem);
    return false;
  }
  natsInbox* madeInbox = nullptr;
  natsStatus result = natsInbox_Create(&madeInbox);
  inbox = result == NATS_OK ? madeInbox : "";
  natsInbox_Destroy(madeInbox);
  jsOptions options;
  jsOptions_Init(&options);
  options.Wait = kApiWaitMs;
  jsCtx* context = nullptr;
  natsSubscription* answersToFetch = nullptr;
  natsStatistics* counts = nullptr;
  for (const auto& step : std::initializer_list<std::function<natsStatus()>>{
           [&] { return natsConnection_JetStream(&context, connection.get(), &options); },
           [&] { return natsStatistics_Create(&counts); },
           [&] {
             return natsConnection_SubscribeSync(&answersToFetch, connection.get(),
                                                 (inbox + ".f.>").c_str());
           },
           [&] { return events.open(connection.get(), "vantor.*.ev.*", &onMessage, this); },
           [&] { return presences.open(connection.get(), "vantor.*.here.*", &onMessage, this); },
           [&] { return answers.open(connection.get(), inbox + ".h.*", &onAnswer, this); }}) {
    result = result == NATS_OK ? step() : result;
  }
  jetStream.reset(context);
  statistics.reset(counts);
  fetchAnswers.reset(answersToFetch);
  if (result != NATS_OK) {
    report("Il collegamento al server NATS locale non si prepara: " + statusText(result));
  }
  return result == NATS_OK;
}

void NatsLink::Worker::close() {
  answers.close();
  presences.close();
  events.close();
  fetchAnswers.reset();
  statistics.reset();
  jetStream.reset();
  connection.reset();
}

void NatsLink::Worker::tend() {
  const bool up = natsConnection_Status(connection.get()) == NATS_CONN_STATUS_CONNECTED;
  follow(up);
  workLeft = false;
  if (up) {
    sendPeriodic();
    workLeft = publishQueued();
    workLeft = fetchQueued() || workLeft;
  }
}

// Notices a connection lost or made again: the stream is then asked for anew.
void NatsLink::Worker::follow(bool up) {
  std::uint64_t reconnects = 0;
  natsConnection_GetStats(connection.get(), statistics.get());
  natsStatistics_GetCounts(statistics.get(), nullptr, nullptr, nullptr, nullptr, &reconnects);
  if (!up || reconnects != reconnectsSeen) {
    streamReady = false;
    setStored(std::nullopt);
  }
  reconnectsSeen = reconnects;
  {
    const std::lock_guard lock(mutex);
    status.serverUp = up;
  }
  if (!up) {
    report("Il server NATS locale non risponde (" + config.serverUrl + ")");
  } else if (!streamReady) {
    streamReady = openStream();
  }
}

// Reads the own stream's last sequence, creating the stream when it is missing.
bool NatsLink::Worker::openStream() {
  jsStreamInfo* made = nullptr;
  jsErrCode code = static_cast<jsErrCode>(0);
  natsStatus result = js_GetStreamInfo(&made, jetStream.get(), streamName.c_str(), nullptr, &code);
  if (result != NATS_OK && code == JSStreamNotFoundErr) {
    jsStreamConfig stream;
    jsStreamConfig_Init(&stream);
    const char* subjects[] = {eventSubject.c_str()};
    stream.Name = streamName.c_str();
    stream.Subjects = subjects;
    stream.SubjectsLen = 1;
    stream.Storage = js_FileStorage;
    stream.AllowDirect = true;
    result = js_AddStream(&made, jetStream.get(), &stream, nullptr, &code);
  }
  const std::unique_ptr<jsStreamInfo, StreamInfoDestroy> info(made);
  if (result != NATS_OK) {
    report("Il flusso degli eventi " + streamName + " non si apre: " + statusText(result));
    return false;
  }
  const auto* subjects = info->Config->Subjects;
  if (std::find(subjects, subjects + info->Config->SubjectsLen, eventSubject) ==
      subjects + info->Config->SubjectsLen) {
    report("Il flusso " + streamName + " del server locale è di un'altra stazione");
    return false;
  }
  setStored(info->State.LastSeq);
  report({});
  return true;
}

// Publishes the queued events in order until one fails; whether some are left to publish now.
bool NatsLink::Worker::publishQueued() {
  if (!streamReady || Clock::now() < nextPublish) {
    return false;
  }
  for (std::size_t count = 0; count < kPublishesAtOnce; ++count) {
    const PendingEvent* event = nullptr;
    {
      const std::lock_guard lock(mutex);
      if (publishes.empty()) {
        return false;
      }
      event = &publishes.front();  // only this thread takes events off the queue
    }
    if (!publishOne(*event)) {
      nextPublish = Clock::now() + kPublishRetry;
      return false;
    }
    const std::lock_guard lock(mutex);
    publishes.pop_front();
  }
  return true;
}

bool NatsLink::Worker::publishOne(const PendingEvent& event) {
  if (event.sequence <= stored.value_or(0)) {
    return true;
  }
  const std::string id = config.station + '-' + std::to_string(event.sequence);
  jsPubOptions options;
  jsPubOptions_Init(&options);
  options.MsgId = id.c_str();
  options.ExpectLastSeq = event.sequence - 1;
  options.MaxWait = kApiWaitMs;
  jsPubAck* ack = nullptr;
  jsErrCode code = static_cast<jsErrCode>(0);
  const natsStatus result =
      js_Publish(&ack, jetStream.get(), eventSubject.c_str(), event.payload.data(),
                 static_cast<int>(event.payload.size()), &options, &code);
  if (result == NATS_OK) {
    setStored(std::max(stored.value_or(0), ack->Sequence));
    jsPubAck_Destroy(ack);
    return true;
  }
  const bool outOfOrder = code == JSStreamWrongLastSequenceErr;
  if (outOfOrder && openStream() && event.sequence <= stored.value_or(0)) {
    return true;
  }
  report(outOfOrder
             ? "L'evento " + std::to_string(event.sequence) + " non segue l'ultimo del flusso (" +
                   std::to_string(stored.value_or(0)) + ")"
             : "Il server locale non memorizza l'evento " + std::to_string(event.sequence) + ": " +
                   statusText(result));
  return false;
}

// Fetches the next part of the first range asked for; whether some are left to fetch now. When
// the origin does not answer, every range asked of it so far is dropped: the caller asks again.
bool NatsLink::Worker::fetchQueued() {
  FetchRange range;
  {
    const std::lock_guard lock(mutex);
    if (fetches.empty()) {
      return false;
    }
    range = fetches.front();
  }
  const std::uint64_t last =
      range.last - range.first < kFetchedAtOnce ? range.last : range.first + kFetchedAtOnce - 1;
  const bool answered = fetchRange(range.origin, range.first, last);
  const std::lock_guard lock(mutex);
  if (!answered) {
    std::erase_if(fetches, [&](const FetchRange& asked) { return asked.origin == range.origin; });
  } else if (last == range.last) {
    fetches.pop_front();
  } else {
    fetches.front().first = last + 1;
  }
  return !fetches.empty();
}

// Direct gets of origin's events `first`..`last`, many in flight; false when the origin stopped
// answering (the rest of the range is then left to the caller's next fetch).
bool NatsLink::Worker::fetchRange(const std::string& origin, std::uint64_t first,
                                  std::uint64_t last) {
  const std::string api = "$JS." + domainOf(origin) + ".API.DIRECT.GET." + streamName;
  const std::string replyRoot = inbox + ".f." + std::to_string(++fetchRound) + '.';
  const std::string subject = "vantor." + config.contestKey + ".ev." + origin;
  discardFetchAnswers();
  const std::uint64_t count = last - first + 1;
  std::uint64_t sent = 0;
  std::uint64_t answered = 0;
  while (answered < count) {
    for (; sent < count && sent - answered < kFetchesInFlight; ++sent) {
      const std::string body = "{\"seq\":" + std::to_string(first + sent) + '}';
      const std::string reply = replyRoot + std::to_string(first + sent);
      if (natsConnection_PublishRequest(connection.get(), api.c_str(), reply.c_str(), body.data(),
                                        static_cast<int>(body.size())) != NATS_OK) {
        return false;
      }
    }
    natsMsg* made = nullptr;
    if (natsSubscription_NextMsg(&made, fetchAnswers.get(), kFetchAnswerWithinMs) != NATS_OK) {
      return false;
    }
    const Message answer(made);
    if (std::string_view(natsMsg_GetSubject(made)).starts_with(replyRoot)) {
      ++answered;
      takeFetched(made, origin, subject);
    }
  }
  return true;
}

// Answers to earlier fetches, among them the library's "no responders" for each request of a
// fetch the origin did not hear, which would otherwise end the next fetch at once.
void NatsLink::Worker::discardFetchAnswers() {
  for (std::uint64_t count = 0; count < kMostWaiting; ++count) {
    natsMsg* stale = nullptr;
    const natsStatus result = natsSubscription_NextMsg(&stale, fetchAnswers.get(), 0);
    natsMsg_Destroy(stale);
    if (result != NATS_OK && result != NATS_NO_RESPONDERS) {
      return;
    }
  }
}

// A direct get's answer: the event with its stream's headers, or a status without them.
void NatsLink::Worker::takeFetched(natsMsg* answer, const std::string& origin,
                                   const std::string& subject) {
  const std::uint64_t sequence = numberOf(nats::headerOf(answer, "Nats-Sequence"));
  if (sequence == 0 || nats::headerOf(answer, "Nats-Subject") != subject) {
    return;
  }
  LinkMessage message;
  message.kind = LinkMessage::Kind::Event;
  message.origin = origin;
  message.payload = nats::dataOf(answer);
  message.sequence = sequence;
  deliver(std::move(message));
}

void NatsLink::Worker::sendPeriodic() {
  const auto now = Clock::now();
  std::string presenceNow;
  std::string questionNow;
  std::uint64_t number = 0;
  {
    const std::lock_guard lock(mutex);
    if (now >= nextPresence || presenceChanged) {
      presenceNow = presence;
      nextPresence = now + kPresencePeriod;
      presenceChanged = false;
    }
    if ((now >= nextQuestion || questionChanged) && !question.empty()) {
      questionNow = question;
      number = ++questionNumber;
      askedAt = now;
      nextQuestion = now + kQuestionPeriod;
      questionChanged = false;
    }
  }
  if (!presenceNow.empty()) {
    natsConnection_Publish(connection.get(), presenceSubject.c_str(), presenceNow.data(),
                           static_cast<int>(presenceNow.size()));
  }
  if (number != 0) {
    const std::string reply = inbox + ".h." + std::to_string(number);
    natsConnection_PublishRequest(connection.get(), kHubSubject, reply.c_str(), questionNow.data(),
                                  static_cast<int>(questionNow.size()));
  }
}

// A live event or presence, on a thread of the library.
void NatsLink::Worker::receive(natsMsg* message) {
  const auto parts = partsOf(natsMsg_GetSubject(message));
  if (!parts || (parts->kind != "ev" && parts->kind != "here")) {
    return;
  }
  const bool ours = parts->key == config.contestKey;
  if (ours && parts->station == config.station) {
    return;
  }
  LinkMessage arrival;
  arrival.origin = parts->station;
  arrival.payload = nats::dataOf(message);
  if (!ours) {
    arrival.kind = LinkMessage::Kind::Foreign;
  } else if (parts->kind == "ev") {
    arrival.kind = LinkMessage::Kind::Event;
    arrival.sequence = sequenceOfId(nats::headerOf(message, "Nats-Msg-Id"), parts->station);
  } else {
    arrival.kind = LinkMessage::Kind::Presence;
  }
  deliver(std::move(arrival));
}

// The hub's answer, kept when it answers the latest question in time.
void NatsLink::Worker::receiveAnswer(natsMsg* message) {
  if (natsMsg_IsNoResponders(message)) {
    return;
  }
  const std::string_view subject = natsMsg_GetSubject(message);
  const std::uint64_t number = numberOf(subject.substr(subject.rfind('.') + 1));
  const auto now = Clock::now();
  const std::lock_guard lock(mutex);
  if (number == questionNumber && now - askedAt <= kAnswerWithin) {
    status.hubAnswer = nats::dataOf(message);
    status.hubAnsweredAtMs = millisecondsOf(now);
  }
}

void NatsLink::Worker::deliver(LinkMessage message) {
  std::shared_ptr<const std::function<void()>> wake;
  {
    const std::lock_guard lock(mutex);
    if (arrived.size() >= kMostWaiting) {
      status.problem = "Troppi messaggi in arrivo: alcuni sono andati persi";
      return;
    }
    if (arrived.empty()) {
      wake = wakeUp;
    }
    arrived.push_back(std::move(message));
  }
  if (wake && *wake) {
    (*wake)();
  }
}

void NatsLink::Worker::setStored(std::optional<std::uint64_t> sequence) {
  const std::lock_guard lock(mutex);
  stored = sequence;
}

void NatsLink::Worker::report(std::string problem) {
  const std::lock_guard lock(mutex);
  status.problem = std::move(problem);
}

void NatsLink::Worker::onMessage(natsConnection*, natsSubscription*, natsMsg* message,
                                 void* closure) {
  static_cast<Worker*>(closure)->receive(message);
  natsMsg_Destroy(message);
}

void NatsLink::Worker::onAnswer(natsConnection*, natsSubscription*, natsMsg* message,
                                void* closure) {
  static_cast<Worker*>(closure)->receiveAnswer(message);
  natsMsg_Destroy(message);
}

template <typename Change>
void NatsLink::Worker::change(Change&& apply) {
  {
    const std::lock_guard lock(mutex);
    apply();
    wasPoked = true;
  }
  poked.notify_one();
}

NatsLink::NatsLink(NatsLinkConfig config) : m_worker(std::make_unique<Worker>(std::move(config))) {}

NatsLink::~NatsLink() = default;

void NatsLink::publish(std::uint64_t sequence, std::string payload) {
  if (sequence == 0) {
    return;
  }
  m_worker->change([&] {
    PendingEvent event;
    event.sequence = sequence;
    event.payload = std::move(payload);
    m_worker->publishes.push_back(std::move(event));
  });
}

std::optional<std::uint64_t> NatsLink::storedSequence() const {
  const std::lock_guard lock(m_worker->mutex);
  return m_worker->stored;
}

void NatsLink::fetch(std::string origin, std::uint64_t first, std::uint64_t last) {
  first = std::max<std::uint64_t>(first, 1);
  if (first > last) {
    return;
  }
  m_worker->change([&] {
    auto& fetches = m_worker->fetches;
    const bool asked = std::any_of(fetches.begin(), fetches.end(), [&](const FetchRange& range) {
      return range.origin == origin && range.first <= first && last <= range.last;
    });
    if (!asked) {
      FetchRange range;
      range.origin = std::move(origin);
      range.first = first;
      range.last = last;
      fetches.push_back(std::move(range));
    }
  });
}

void NatsLink::announce(std::string payload) {
  m_worker->change([&] {
    m_worker->presence = std::move(payload);
    m_worker->presenceChanged = true;
  });
}

void NatsLink::askHub(std::string question) {
  m_worker->change([&] {
    m_worker->question = std::move(question);
    m_worker->questionChanged = true;
  });
}

std::vector<LinkMessage> NatsLink::take() {
  std::vector<LinkMessage> taken;
  const std::lock_guard lock(m_worker->mutex);
  taken.swap(m_worker->arrived);
  return taken;
}

LinkStatus NatsLink::status() const {
  const std::lock_guard lock(m_worker->mutex);
  return m_worker->status;
}

void NatsLink::onArrival(std::function<void()> wakeUp) {
  const std::lock_guard lock(m_worker->mutex);
  m_worker->wakeUp = std::make_shared<const std::function<void()>>(std::move(wakeUp));
}

struct HubResponder::Worker {
  Worker(const std::string& serverUrl, std::function<std::string(const std::string&)> answerOf);

  static void onRequest(natsConnection* connection, natsSubscription*, natsMsg* message,
                        void* closure);

  std::function<std::string(const std::string&)> answer;
  nats::Connection connection;
  nats::Subscription requests;
};

HubResponder::Worker::Worker(const std::string& serverUrl,
                             std::function<std::string(const std::string&)> answerOf)
    : answer(std::move(answerOf)) {
  std::string problem;
  connection = nats::connectRetrying(serverUrl, problem);
  if (!connection) {
    throw std::runtime_error(problem);
  }
  if (const natsStatus result = requests.open(connection.get(), kHubSubject, &onRequest, this);
      result != NATS_OK) {
    throw std::runtime_error(std::string("Il hub non prende le domande: ") + statusText(result));
  }
}

void HubResponder::Worker::onRequest(natsConnection* connection, natsSubscription*,
                                     natsMsg* message, void* closure) {
  const Message request(message);
  const char* reply = natsMsg_GetReply(message);
  if (reply != nullptr && *reply != '\0') {
    const std::string text =
        static_cast<Worker*>(closure)->answer(std::string(nats::dataOf(message)));
    natsConnection_Publish(connection, reply, text.data(), static_cast<int>(text.size()));
  }
}

HubResponder::HubResponder(std::string serverUrl,
                           std::function<std::string(const std::string&)> answer)
    : m_worker(std::make_unique<Worker>(serverUrl, std::move(answer))) {}

HubResponder::~HubResponder() = default;

}  // namespace vantor
