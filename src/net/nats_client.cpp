#include "net/nats_client.h"

#include <chrono>
#include <cstdint>

namespace vantor::nats {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kConnectTimeoutMs = 1000;
constexpr std::int64_t kReconnectWaitMs = 250;
constexpr int kMostPendingMessages = 1'000'000;
constexpr int kMostPendingBytes = 512 * 1024 * 1024;
constexpr auto kHandlerEndsWithin = 2s;

// Given to the library only so that a first connect that fails goes on in the background: without
// a callback, the library retries on the caller's thread until it connects.
void connectedLater(natsConnection*, void*) {}

natsStatus configure(natsOptions* options, const std::string& url) {
  natsStatus status = natsOptions_SetURL(options, url.c_str());
  for (const natsStatus next :
       {natsOptions_SetMaxReconnect(options, -1),
        natsOptions_SetReconnectWait(options, kReconnectWaitMs),
        natsOptions_SetTimeout(options, kConnectTimeoutMs),
        natsOptions_SetRetryOnFailedConnect(options, true, &connectedLater, nullptr),
        natsOptions_SetIgnoreDiscoveredServers(options, true),
        natsOptions_SetNoEcho(options, true)}) {
    status = status != NATS_OK ? status : next;
  }
  return status;
}

}  // namespace

Connection connectRetrying(const std::string& url, std::string& problem) {
  natsOptions* made = nullptr;
  natsStatus status = natsOptions_Create(&made);
  const Options options(made);
  natsConnection* connection = nullptr;
  if (status == NATS_OK) {
    status = configure(options.get(), url);
  }
  if (status == NATS_OK) {
    status = natsConnection_Connect(&connection, options.get());
  }
  if (status != NATS_OK && status != NATS_NOT_YET_CONNECTED) {
    natsConnection_Destroy(connection);
    problem = "Il collegamento a " + url + " non si apre: " + natsStatus_GetText(status);
    return {};
  }
  return Connection(connection);
}

natsStatus Subscription::open(natsConnection* connection, const std::string& subject,
                              natsMsgHandler handler, void* closure) {
  natsStatus status =
      natsConnection_Subscribe(&m_subscription, connection, subject.c_str(), handler, closure);
  if (status == NATS_OK) {
    status =
        natsSubscription_SetPendingLimits(m_subscription, kMostPendingMessages, kMostPendingBytes);
  }
  if (status == NATS_OK) {
    status = natsSubscription_SetOnCompleteCB(m_subscription, &Subscription::completed, this);
  }
  return status;
}

void Subscription::close() {
  if (m_subscription == nullptr) {
    return;
  }
  natsSubscription_Unsubscribe(m_subscription);
  {
    std::unique_lock lock(m_mutex);
    m_ended.wait_for(lock, kHandlerEndsWithin, [this] { return m_completed; });
  }
  natsSubscription_Destroy(m_subscription);
  m_subscription = nullptr;
}

void Subscription::completed(void* closure) {
  auto* subscription = static_cast<Subscription*>(closure);
  const std::lock_guard lock(subscription->m_mutex);
  subscription->m_completed = true;
  subscription->m_ended.notify_all();
}

std::string_view dataOf(natsMsg* message) {
  return {natsMsg_GetData(message), static_cast<std::size_t>(natsMsg_GetDataLength(message))};
}

std::string_view headerOf(natsMsg* message, const char* key) {
  const char* value = nullptr;
  if (natsMsgHeader_Get(message, key, &value) != NATS_OK || value == nullptr) {
    return {};
  }
  return value;
}

}  // namespace vantor::nats
