#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "net/hub_keeper.h"
#include "net/nats_link.h"
#include "net/nats_server.h"
#include "platform/file_system.h"

namespace vantor::testing {

// The hub of a shared contest as `vantor --hub` runs it, on a loopback port (a free one unless
// given): a NATS server for the stations' leaf nodes and the keeper of its contest, which
// answers the stations' claims.
struct NatsHub {
  explicit NatsHub(const std::filesystem::path& folder, int port = freeLoopbackPort()) {
    HubServerConfig config;
    config.folder = folder;
    config.leafHost = "127.0.0.1";
    config.leafPort = port;
    address = "127.0.0.1:" + std::to_string(port);
    server = NatsServer::startHub(config);
    keeper = std::make_unique<HubKeeper>(platform::systemFiles(), folder / "contest", false);
    responder = std::make_unique<HubResponder>(
        server->clientUrl(), [this](const std::string& claim) { return keeper->answer(claim); });
  }
  NatsHub(const NatsHub&) = delete;
  NatsHub& operator=(const NatsHub&) = delete;
  ~NatsHub() { responder.reset(); }

  // SIGKILL, as a crash of the hub's PC.
  void kill() {
    responder.reset();
    server->kill();
  }

  // "127.0.0.1:PORT", the hub's address in a station's settings.
  std::string address;
  std::unique_ptr<NatsServer> server;
  std::unique_ptr<HubKeeper> keeper;
  std::unique_ptr<HubResponder> responder;
};

}  // namespace vantor::testing
