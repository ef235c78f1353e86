#pragma once

#include <nats/nats.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

// What the link and the hub's responder share of the NATS library: a connection that is retried
// while its server is away, and a subscription that can be closed before what its handler touches.
namespace vantor::nats {

struct ConnectionClose {
  void operator()(natsConnection* connection) const { natsConnection_Destroy(connection); }
};
using Connection = std::unique_ptr<natsConnection, ConnectionClose>;

// The library's objects, each let go of by its own destroy call.
struct OptionsDestroy {
  void operator()(natsOptions* options) const { natsOptions_Destroy(options); }
};
using Options = std::unique_ptr<natsOptions, OptionsDestroy>;
struct MessageDestroy {
  void operator()(natsMsg* message) const { natsMsg_Destroy(message); }
};
using Message = std::unique_ptr<natsMsg, MessageDestroy>;
// A subscription read by the caller (natsConnection_SubscribeSync).
struct SyncSubscriptionDestroy {
  void operator()(natsSubscription* subscription) const { natsSubscription_Destroy(subscription); }
};
using SyncSubscription = std::unique_ptr<natsSubscription, SyncSubscriptionDestroy>;

// A connection to the server at `url` (on loopback) that the library opens in the background and
// opens again, after a short wait, whenever it is lost: this never waits for the server. Our own
// publications are not delivered back to us. Empty, with the problem in Italian, when the library
// refuses the URL.
[[nodiscard]] Connection connectRetrying(const std::string& url, std::string& problem);

// An asynchronous subscription, whose handler runs on a thread of the library. close() waits (at
// most 2 s) until the handler has run for the last time, so what it touches may go afterwards.
class Subscription {
 public:
  Subscription() = default;
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription() { close(); }

  [[nodiscard]] natsStatus open(natsConnection* connection, const std::string& subject,
                                natsMsgHandler handler, void* closure);
  void close();

 private:
  static void completed(void* closure);

  natsSubscription* m_subscription = nullptr;
  std::mutex m_mutex;
  std::condition_variable m_ended;
  bool m_completed = false;
};

[[nodiscard]] std::string_view dataOf(natsMsg* message);
// A header's value; empty when the message does not carry it.
[[nodiscard]] std::string_view headerOf(natsMsg* message, const char* key);

}  // namespace vantor::nats
