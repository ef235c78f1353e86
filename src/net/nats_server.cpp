#include "net/nats_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/durable_file.h"
#include "platform/folder_lock.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kServerProgram = "/usr/sbin/nats-server";
constexpr const char* kConfigName = "nats-server.conf";
constexpr const char* kLogName = "nats-server.log";
constexpr auto kStartWithin = 5s;
constexpr auto kStopWithin = 2s;
constexpr auto kPollStep = 20ms;

std::runtime_error failure(const std::string& reason) {
  return std::runtime_error("Il server NATS non parte: " + reason);
}

// A string as the server's configuration reads it: in double quotes, backslash and quote escaped.
std::string configString(std::string_view text) {
  std::string result = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      result += '\\';
    }
    result += c;
  }
  return result + '"';
}

// No two servers the hub sees may share a name, not even a leaf and the same leaf restarted.
std::string uniqueServerName(std::string_view role) {
  std::random_device random;
  const auto tag = (static_cast<unsigned long long>(random()) << 32U) | random();
  return "vantor-" + std::string(role) + '-' + std::to_string(::getpid()) + '-' +
         std::to_string(tag);
}

std::string commonLines(const std::string& name, int clientPort,
                        const std::filesystem::path& folder) {
  return "server_name: " + configString(name) +
         "\nlisten: " + configString("127.0.0.1:" + std::to_string(clientPort)) +
         "\nlog_file: " + configString((folder / kLogName).string()) +
         "\nlogfile_size_limit: 10485760\n";
}

std::string lastLogLine(const std::filesystem::path& folder) {
  std::ifstream log(folder / kLogName, std::ios::binary | std::ios::ate);
  const std::streamoff size = log.tellg();
  log.seekg(size > 4096 ? size - 4096 : 0);
  std::string tail((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) {
    tail.pop_back();
  }
  std::string line = tail.substr(tail.rfind('\n') + 1);
  for (const char* level : {"[FTL] ", "[ERR] "}) {
    if (const auto at = line.find(level); at != std::string::npos) {
      return line.substr(at + 6);
    }
  }
  return line;
}

// The child's side of the fork: only calls that are safe between fork and exec.
[[noreturn]] void runServer(char* const arguments[], int logDescriptor, pid_t parent) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) {
    ::_exit(127);
  }
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  const int input = ::open("/dev/null", O_RDONLY);
  if (input < 0 || ::dup2(input, 0) < 0 || ::dup2(logDescriptor, 1) < 0 ||
      ::dup2(logDescriptor, 2) < 0) {
    ::_exit(127);
  }
  ::close_range(3, ~0U, 0);
  ::execv(arguments[0], arguments);
  ::_exit(127);
}

pid_t spawnServer(const std::filesystem::path& folder) {
  std::string program = kServerProgram;
  std::string option = "-c";
  std::string config = (folder / kConfigName).string();
  char* const arguments[] = {program.data(), option.data(), config.data(), nullptr};
  const int log =
      ::open((folder / kLogName).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (log < 0) {
    throw failure("non si può scrivere il registro in " + folder.string());
  }
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child == 0) {
    runServer(arguments, log, parent);
  }
  ::close(log);
  if (child < 0) {
    throw failure("il sistema non crea il processo");
  }
  return child;
}

// The first line a NATS server sends a new client: its INFO, which carries its name.
std::string greetingOn(int port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) {
    return {};
  }
  timeval wait{0, 200000};
  ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string greeting(4096, '\0');
  ssize_t count = -1;
  if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    count = ::recv(socket, greeting.data(), greeting.size(), 0);
  }
  ::close(socket);
  greeting.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
  return greeting;
}

// Waits until the server named `name` answers on the port; the reason when it does not.
std::string awaitServer(pid_t child, const std::string& name, int port,
                        const std::filesystem::path& folder) {
  const std::string signature = "\"server_name\":" + configString(name);
  const auto deadline = Clock::now() + kStartWithin;
  while (Clock::now() < deadline) {
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) {
      return "si è fermato subito (" + lastLogLine(folder) + ")";
    }
    if (greetingOn(port).find(signature) != std::string::npos) {
      return {};
    }
    std::this_thread::sleep_for(kPollStep);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  return "non risponde sulla porta " + std::to_string(port) + " (" + lastLogLine(folder) + ")";
}

}  // namespace

int freeLoopbackPort() {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  const bool bound = socket >= 0 &&
                     ::bind(socket, reinterpret_cast<const sockaddr*>(&address), size) == 0 &&
                     ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) == 0;
  if (socket >= 0) {
    ::close(socket);
  }
  if (!bound) {
    throw failure("nessuna porta libera su 127.0.0.1");
  }
  return ntohs(address.sin_port);
}

std::unique_ptr<NatsServer> NatsServer::startLeaf(const LeafServerConfig& config) {
  std::string text = "jetstream {\n  store_dir: " + configString(config.folder.string()) +
                     "\n  domain: " + configString(config.domain) + "\n}\n";
  if (!config.hubAddress.empty()) {
    text += "leafnodes {\n  reconnect: 1\n  remotes [ { urls: [" +
            configString("nats-leaf://" + config.hubAddress) + "] } ]\n}\n";
  }
  return start(config.folder, config.domain, config.clientPort, text);
}

std::unique_ptr<NatsServer> NatsServer::startHub(const HubServerConfig& config) {
  const std::string text = "leafnodes {\n  listen: " +
                           configString(config.leafHost + ':' + std::to_string(config.leafPort)) +
                           "\n}\n";
  return start(config.folder, "hub", config.clientPort, text);
}

std::unique_ptr<NatsServer> NatsServer::start(const std::filesystem::path& folder,
                                              std::string_view role, int clientPort,
                                              const std::string& roleLines) {
  const std::string name = uniqueServerName(role);
  const int port = clientPort != 0 ? clientPort : freeLoopbackPort();
  const std::string configuration = commonLines(name, port, folder) + roleLines;
  auto& files = platform::systemFiles();
  if (const auto error = platform::makePrivateFolder(files, folder); error) {
    throw failure("la cartella " + folder.string() + " non si crea (" + error.message() + ")");
  }
  if (const auto error = platform::replaceDurably(files, folder / kConfigName, {configuration},
                                                  platform::FileAccess::Private);
      error) {
    throw failure("la configurazione non si scrive (" + error.message() + ")");
  }
  if (::access(kServerProgram, X_OK) != 0) {
    throw failure(std::string("manca ") + kServerProgram + " (pacchetto nats-server)");
  }
  const pid_t child = spawnServer(folder);
  if (const std::string problem = awaitServer(child, name, port, folder); !problem.empty()) {
    throw failure(problem);
  }
  return std::unique_ptr<NatsServer>(new NatsServer(child, port));
}

NatsServer::~NatsServer() {
  if (!m_running) {
    return;
  }
  ::kill(m_pid, SIGTERM);
  const auto deadline = Clock::now() + kStopWithin;
  while (Clock::now() < deadline) {
    if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
      return;
    }
    std::this_thread::sleep_for(10ms);
  }
  kill();
}

std::string NatsServer::clientUrl() const {
  return "nats://127.0.0.1:" + std::to_string(m_clientPort);
}

void NatsServer::kill() {
  if (m_running) {
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_running = false;
  }
}

}  // namespace vantor
