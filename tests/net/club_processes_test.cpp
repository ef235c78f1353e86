#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "net/nats_server.h"
#include "support/nats_hub.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A station program (vantor_station_probe) as a child process on its own data folder, talked to
// through its standard input and output; every wait bounded.
class StationProcess {
 public:
  StationProcess(std::filesystem::path folder, std::string station, std::string hub,
                 std::string band)
      : m_folder(std::move(folder)),
        m_station(std::move(station)),
        m_hub(std::move(hub)),
        m_band(std::move(band)) {
    start();
  }
  ~StationProcess() { kill(); }
  StationProcess(const StationProcess&) = delete;
  StationProcess& operator=(const StationProcess&) = delete;

  void start() {
    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe");
    }
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(input[0], STDIN_FILENO);
      ::dup2(output[1], STDOUT_FILENO);
      ::execl(VANTOR_STATION_PROBE, VANTOR_STATION_PROBE, m_folder.c_str(), m_station.c_str(),
              m_hub.c_str(), m_band.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    m_input = input[1];
    m_output = output[0];
    m_read.clear();
    expectLine("pronto", std::chrono::seconds(20));
  }

  // SIGKILL, as a power cut or a crash would end it.
  void kill() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
      ::close(m_input);
      ::close(m_output);
      m_pid = -1;
    }
  }

  void send(const std::string& line) {
    const std::string text = line + "\n";
    ASSERT_EQ(::write(m_input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }

  // The records of every band log, "BAND|RECORD".
  std::vector<std::string> records() {
    send("dump");
    std::vector<std::string> lines;
    for (std::string line = readLine(std::chrono::seconds(10)); line != "fine";
         line = readLine(std::chrono::seconds(10))) {
      lines.push_back(line);
    }
    return lines;
  }

  void exportFiles() {
    send("export");
    expectLine("esportato", std::chrono::seconds(10));
  }

  [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }
  [[nodiscard]] const std::string& name() const { return m_station; }

 private:
  void expectLine(const std::string& expected, Clock::duration patience) {
    ASSERT_EQ(readLine(patience), expected) << m_station;
  }

  std::string readLine(Clock::duration patience) {
    const auto deadline = Clock::now() + patience;
    for (std::size_t end = m_read.find('\n'); end == std::string::npos; end = m_read.find('\n')) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd output{m_output, POLLIN, 0};
      char bytes[4096];
      ssize_t read = 0;
      if (left.count() <= 0 || ::poll(&output, 1, static_cast<int>(left.count())) <= 0 ||
          (read = ::read(m_output, bytes, sizeof bytes)) <= 0) {
        throw std::runtime_error("la stazione " + m_station + " non risponde");
      }
      m_read.append(bytes, static_cast<std::size_t>(read));
    }
    const std::size_t end = m_read.find('\n');
    std::string line = m_read.substr(0, end);
    m_read.erase(0, end + 1);
    return line;
  }

  std::filesystem::path m_folder;
  std::string m_station;
  std::string m_hub;
  std::string m_band;
  pid_t m_pid = -1;
  int m_input = -1;
  int m_output = -1;
  std::string m_read;
};

// Polls every station until each holds `count` records, each once, or the patience runs out.
bool converge(std::vector<std::unique_ptr<StationProcess>>& stations, std::size_t count,
              Clock::duration patience) {
  const auto deadline = Clock::now() + patience;
  while (Clock::now() < deadline) {
    bool all = true;
    for (auto& station : stations) {
      const std::vector<std::string> records = station->records();
      const std::set<std::string> once(records.begin(), records.end());
      all = all && records.size() == count && once.size() == count;
    }
    if (all) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

// A field day on three PCs and a hub: contacts logged on all three while the hub is killed and
// started again, and while one station, killed with SIGKILL, is started again cut off. At the end
// every station holds every contact once, and every station writes the same EDI files.
TEST(ClubProcesses, ThreeStationsConvergeThroughKillsAndCuts) {
  TempFolder folder;
  const int hubPort = freeLoopbackPort();
  const std::string hubAddress = "127.0.0.1:" + std::to_string(hubPort);
  auto hub = std::make_unique<NatsHub>(folder.path() / "hub", hubPort);
  std::vector<std::unique_ptr<StationProcess>> stations;
  const std::vector<std::pair<std::string, std::string>> names{
      {"144", "144 Mhz"}, {"432", "432 Mhz"}, {"1296", "1296 Mhz"}};
  for (const auto& [name, band] : names) {
    stations.push_back(
        std::make_unique<StationProcess>(folder.path() / name, name, hubAddress, band));
  }
  std::size_t logged = 0;
  const auto logOn = [&](std::size_t station, int contacts) {
    for (int contact = 0; contact < contacts; ++contact, ++logged) {
      stations[station]->send("log I" + std::to_string(logged % 10) + "AA" +
                              std::string(1, static_cast<char>('A' + logged % 26)) + " JN61FU");
    }
  };
  for (std::size_t station = 0; station < stations.size(); ++station) {
    logOn(station, 3);
  }
  ASSERT_TRUE(converge(stations, logged, std::chrono::seconds(20)));

  hub->kill();
  logOn(0, 2);
  logOn(1, 2);
  stations[2]->kill();
  stations[2]->start();
  logOn(2, 2);
  hub = std::make_unique<NatsHub>(folder.path() / "hub", hubPort);
  logOn(0, 1);
  ASSERT_TRUE(converge(stations, logged, std::chrono::seconds(30)));

  for (auto& station : stations) {
    station->exportFiles();
  }
  for (const std::string file : {"01_QQ9XYZ.edi", "03_QQ9XYZ.edi", "05_QQ9XYZ.edi"}) {
    const std::string text = readBytes(stations[0]->folder() / file);
    EXPECT_FALSE(text.empty()) << file;
    for (auto& station : stations) {
      EXPECT_EQ(readBytes(station->folder() / file), text) << station->name() << " " << file;
    }
  }
}

}  // namespace
}  // namespace vantor::testing
