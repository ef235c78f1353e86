#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace vantor::testing {

// A hamlib daemon of the dummy model, `rigctld -m 1` or `rotctld -m 1` (Debian's
// libhamlib-utils), run as a child process on a free loopback port for as long as this object
// lives: the rig or rotator the station link reaches through hamlib's NET models. Qt-free, for the
// core tests, the window tests and the benchmarks alike.
//
//   HamlibDaemon rig(HamlibDaemon::Kind::Rig);
//   settings.rig = {vantor::kNetRigctlModel, rig.address()};
//   rig.command("F 144300000");  // the daemon's own protocol: the dummy rig is now on 144.3 MHz
//
// Every wait is bounded; a daemon that does not start, or answer, throws std::runtime_error.
class HamlibDaemon {
 public:
  enum class Kind { Rig, Rotator };

  // Starts the daemon and returns once it takes connections.
  explicit HamlibDaemon(Kind kind);
  ~HamlibDaemon();
  HamlibDaemon(const HamlibDaemon&) = delete;
  HamlibDaemon& operator=(const HamlibDaemon&) = delete;

  [[nodiscard]] int port() const { return m_port; }
  // "127.0.0.1:PORT", the port setting of the NET models.
  [[nodiscard]] std::string address() const;

  // Kills the daemon, as a crash would; its port then refuses connections.
  void stop();
  // Starts it again on the same port after stop().
  void restart();
  // Stops the daemon with SIGSTOP: its port still takes connections but nothing answers, as a
  // hung daemon or a rig that went silent behind it. resume() lets it go on.
  void hang();
  void resume();

  // Sends one command line of the daemon's protocol ("F 144300000", "M CW 0", "p") over a
  // connection of its own and returns its answer, the line end of each answer line included:
  // "RPRT 0\n" for a setting taken, "144300000\n" for "f".
  [[nodiscard]] std::string command(const std::string& line,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(2));

 private:
  void start();

  Kind m_kind;
  int m_port = 0;
  pid_t m_pid = -1;
};

}  // namespace vantor::testing
