#include "support/hamlib_daemon.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace vantor::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(5);

// A socket closed whatever way the function that opened it ends.
class Socket {
 public:
  Socket() : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (m_fd < 0) {
      throw std::runtime_error("no socket for the hamlib daemon");
    }
  }
  ~Socket() { ::close(m_fd); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  [[nodiscard]] int fd() const { return m_fd; }

 private:
  int m_fd;
};

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool connectTo(const Socket& socket, int port) {
  const sockaddr_in address = loopback(port);
  return ::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// A loopback port no one listens on now: the system's pick for a socket bound to port 0.
int freePort() {
  const Socket socket;
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  if (::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no free loopback port for the hamlib daemon");
  }
  return ntohs(address.sin_port);
}

// Starts the program with its output thrown away; its process id.
pid_t spawn(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int failure = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) {
    throw std::runtime_error(arguments[0] + " could not be started; is libhamlib-utils installed?");
  }
  return pid;
}

// Whether the child has ended; reaps it when it has.
bool ended(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

HamlibDaemon::HamlibDaemon(Kind kind) : m_kind(kind), m_port(freePort()) {
  start();
}

HamlibDaemon::~HamlibDaemon() {
  stop();
}

std::string HamlibDaemon::address() const {
  return "127.0.0.1:" + std::to_string(m_port);
}

// Another program may take the port between freePort() and the daemon's bind, and a port just
// left may not be bound again at once: the daemon is started again until it listens, for a while.
void HamlibDaemon::start() {
  const char* program = m_kind == Kind::Rig ? "rigctld" : "rotctld";
  const auto deadline = Clock::now() + kStartTimeout;
  m_pid = spawn({program, "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(m_port)});
  while (Clock::now() < deadline) {
    if (const Socket probe; connectTo(probe, m_port)) {
      return;
    }
    if (ended(m_pid)) {
      m_pid = spawn({program, "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(m_port)});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  stop();
  throw std::runtime_error(std::string(program) + " does not listen on " + address());
}

void HamlibDaemon::stop() {
  if (m_pid < 0) {
    return;
  }
  ::kill(m_pid, SIGKILL);
  int status = 0;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
}

void HamlibDaemon::restart() {
  stop();
  start();
}

void HamlibDaemon::hang() {
  ::kill(m_pid, SIGSTOP);
}

void HamlibDaemon::resume() {
  ::kill(m_pid, SIGCONT);
}

// The daemon answers each line and closes the connection on "q", so the answer is all it sends
// before its report on the "q" itself.
std::string HamlibDaemon::command(const std::string& line, std::chrono::milliseconds timeout) {
  const Socket socket;
  const std::string request = line + "\nq\n";
  if (!connectTo(socket, m_port) || ::send(socket.fd(), request.data(), request.size(),
                                           MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
    throw std::runtime_error("the hamlib daemon on " + address() + " takes no command");
  }
  const auto deadline = Clock::now() + timeout;
  std::string answer;
  std::array<char, 256> buffer{};
  while (Clock::now() < deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd readable{socket.fd(), POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
      break;
    }
    const ssize_t got = ::recv(socket.fd(), buffer.data(), buffer.size(), 0);
    if (got <= 0) {
      constexpr std::string_view kQuitReport = "RPRT 0\n";
      if (answer.ends_with(kQuitReport)) {
        answer.resize(answer.size() - kQuitReport.size());
      }
      return answer;
    }
    answer.append(buffer.data(), static_cast<std::size_t>(got));
  }
  throw std::runtime_error("the hamlib daemon on " + address() + " did not answer " + line);
}

}  // namespace vantor::testing
