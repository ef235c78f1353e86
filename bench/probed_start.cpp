#include "probed_start.h"

#include <QGuiApplication>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <sstream>
#include <vector>

extern char** environ;

namespace vantor::bench {

namespace {

// A program that shows no window within this time is taken for hung.
constexpr int kLongestStartMs = 120'000;

long long monotonicNanoseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// This process's environment with the probe's variables in place of any it held.
std::vector<std::string> probedEnvironment(const ProbedStart& start, int reportDescriptor) {
  const std::vector<std::string> own = {
      "LD_PRELOAD=" VANTOR_FIRST_WINDOW_PROBE,
      "VANTOR_PROBE_FD=" + std::to_string(reportDescriptor),
      "VANTOR_PROBE_WINDOWS=" + std::to_string(start.windows),
      "VANTOR_PROBE_CTRL_PAGE_DOWNS=" + std::to_string(start.ctrlPageDowns),
      "QT_QPA_PLATFORM=" + QGuiApplication::platformName().toStdString(),
      "XDG_DATA_HOME=" + (start.home / "data").string(),
      "XDG_CONFIG_HOME=" + (start.home / "config").string()};
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry = *variable;
    const std::string_view name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& mine : own) {
      replaced = replaced || std::string_view(mine).starts_with(name);
    }
    if (!replaced) {
      environment.emplace_back(entry);
    }
  }
  environment.insert(environment.end(), own.begin(), own.end());
  return environment;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (std::string& text : texts) {
    result.push_back(text.data());
  }
  result.push_back(nullptr);
  return result;
}

// Starts the program with its standard output on standard error, out of the way of the report.
pid_t spawn(const ProbedStart& start, int reportDescriptor) {
  std::vector<std::string> arguments = {start.program};
  if (!start.argument.empty()) {
    arguments.push_back(start.argument);
  }
  std::vector<std::string> environment = probedEnvironment(start, reportDescriptor);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  pid_t child = -1;
  const int failed = ::posix_spawn(&child, start.program.c_str(), &actions, nullptr,
                                   pointers(arguments).data(), pointers(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? child : -1;
}

// The probe's line, "<nanoseconds> <peak KiB>", or nothing when the program ends or hangs first.
std::optional<std::string> reportLine(int descriptor) {
  std::string line;
  pollfd waiting{.fd = descriptor, .events = POLLIN, .revents = 0};
  char block[128];
  while (line.find('\n') == std::string::npos) {
    if (::poll(&waiting, 1, kLongestStartMs) != 1) {
      return std::nullopt;
    }
    const ssize_t read = ::read(descriptor, block, sizeof block);
    if (read <= 0) {
      return std::nullopt;
    }
    line.append(block, static_cast<std::size_t>(read));
  }
  return line;
}

}  // namespace

std::optional<ProbedWindows> startProbed(const ProbedStart& start) {
  int report[2];
  if (::pipe(report) != 0) {
    return std::nullopt;
  }
  ::fcntl(report[0], F_SETFD, FD_CLOEXEC);
  const long long started = monotonicNanoseconds();
  const pid_t child = spawn(start, report[1]);
  ::close(report[1]);
  const std::optional<std::string> line = child > 0 ? reportLine(report[0]) : std::nullopt;
  ::close(report[0]);
  if (child > 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  long long shownAt = 0;
  long peakKiB = 0;
  if (!line || !(std::istringstream(*line) >> shownAt >> peakKiB)) {
    return std::nullopt;
  }
  return ProbedWindows{.seconds = static_cast<double>(shownAt - started) / 1e9,
                       .peakMiB = static_cast<double>(peakKiB) / 1024};
}

}  // namespace vantor::bench
