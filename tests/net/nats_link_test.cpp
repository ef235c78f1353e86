#include "net/nats_server.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

#include "support/temp_folder.h"

namespace vantor {
namespace {

TEST(NatsServerTest, DestructorLeavesNoChild) {
  const testing::TempFolder folder;
  HubServerConfig config;
  config.folder = folder.path() / "hub";
  config.leafHost = "127.0.0.1";
  config.leafPort = freeLoopbackPort();
  auto server = NatsServer::startHub(config);
  const pid_t child = server->pid();
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "running";
  EXPECT_EQ(testing::permissionsOf(config.folder), 0700U);
  server.reset();
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(NatsServerTest, PortTakenByAnotherProgramIsToldInItalian) {
  const testing::TempFolder folder;
  const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(::listen(taken, 8), 0);
  ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &size);
  LeafServerConfig config;
  config.folder = folder.path() / "leaf";
  config.domain = "SPROVA";
  config.clientPort = ntohs(address.sin_port);
  try {
    (void)NatsServer::startLeaf(config);
    ADD_FAILURE() << "a server started on a port another program holds";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Il server NATS non parte: ", 0), 0U) << error.what();
  }
  ::close(taken);
}

}  // namespace
}  // namespace vantor
