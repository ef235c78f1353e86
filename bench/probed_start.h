#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vantor::bench {

// A Qt program started with the first-window probe loaded into it, on the benchmark's own Qt
// platform.
struct ProbedStart {
  std::string program;
  // The data and settings folders' root, so a start finds no journal of an earlier one.
  std::filesystem::path home;
  // The program's one argument, none when empty: the file to open, or "label" for the empty
  // window to show one line of text.
  std::string argument = {};
  // The windows to wait for.
  int windows = 1;
  // The times Ctrl+PgDn goes to the focused widget once those windows are painted, each handled
  // and painted before the next; the report follows the last.
  int ctrlPageDowns = 0;
};

// From the program's start to its windows painted (and its keys handled), and its peak memory
// until then.
struct ProbedWindows {
  double seconds;
  double peakMiB;
};

// Starts the program and waits for what the probe tells; nothing when it ends or hangs first.
[[nodiscard]] std::optional<ProbedWindows> startProbed(const ProbedStart& start);

}  // namespace vantor::bench
