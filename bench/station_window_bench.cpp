#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <thread>

#include "contest_texts.h"
#include "display_lines.h"
#include "gui/application.h"
#include "gui/log_window.h"
#include "log/log_form.h"
#include "platform/clock.h"
#include "station/station_settings.h"
#include "support/hamlib_daemon.h"
#include "support/window_driver.h"

// The log window's live update, which its timer runs five times a second on the UI thread, with
// the rig and the rotator answering from the dummy daemons.

namespace {

using vantor::testing::HamlibDaemon;

// The dummy rig's frequency, on the band of the log (144 MHz). The worst case adds this offset
// of a transverter on that band in every other poll: the frequency shown jumps beyond the band's
// upper edge and back, so its text and its colour change with every poll.
constexpr std::int64_t kRigHz = 144'300'000;
constexpr std::int64_t kOffsetHz = 2'000'000;
constexpr std::int64_t kBandTopHz = 146'000'000;
const QString kShownFrequencies[] = {QStringLiteral("144.3000"), QStringLiteral("146.3000")};
// The UTC clock in the worst case, a second later in every other poll: its field changes too.
constexpr vantor::DateTime kMoments[] = {{2026, 12, 7, 14, 32, 0}, {2026, 12, 7, 14, 32, 1}};
// The longest the daemons take to be shown once the station is set up.
constexpr auto kConnectWithin = std::chrono::seconds(5);

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// The log window open on a log of `count` contacts, the rig and the rotator set up on "NET
// rigctl" and "NET rotctl" against the daemons; settings[1] differs from settings[0] only by the
// transverter offset.
class StationWindows : public vantor::testing::RunningProgram {
 public:
  StationWindows(int count, const HamlibDaemon& rig, const HamlibDaemon& rotator)
      : RunningProgram(kMoments[0]) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    session().log().logBuffer().setText(vantor::bench::qsoLines(count));
    for (vantor::StationSettings& station : settings) {
      station.rig = {vantor::kNetRigctlModel, rig.address(), 0};
      station.rotator = {vantor::kNetRotctlModel, rotator.address(), 0};
    }
    settings[1].transverterOffsets = {{"144", kOffsetHz}};
    session().configureStation(settings[0], false);
    application.syncViews();
    QApplication::processEvents();
  }

  // What the live timer runs, with the repaint that follows in the event loop.
  void updateLive() {
    session().log().tick();
    session().pollStation();
    application.logWindow()->sync();
    QApplication::processEvents();
  }

  // Updates as the timer does until both devices are shown answering; false when they are not
  // within kConnectWithin.
  bool connected() {
    const auto deadline = std::chrono::steady_clock::now() + kConnectWithin;
    while (std::chrono::steady_clock::now() < deadline) {
      updateLive();
      const QString heading = log<QLineEdit>("Text19")->text();
      if (frequency() == kShownFrequencies[0] && !heading.isEmpty() &&
          heading != QStringLiteral("scollegato")) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  QString frequency() { return log<QLineEdit>("Text18")->text(); }

  vantor::StationSettings settings[2];
};

// Starts the daemons, the dummy rig on kRigHz, and runs `measure` on the windows once both are
// shown answering.
template <typename Measure>
void withStation(benchmark::State& state, Measure measure) {
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  static_cast<void>(rig.command("F " + std::to_string(kRigHz)));
  StationWindows windows(contacts(state), rig, rotator);
  if (!windows.connected()) {
    state.SkipWithError("the daemons are not shown answering");
    return;
  }
  measure(windows);
}

// Nothing changed since the last poll: the rig, the rotator and the clock's second as they were.
void GuiStationPoll(benchmark::State& state) {
  withStation(state, [&state](StationWindows& windows) {
    for (auto _ : state) {
      windows.updateLive();
    }
    if (windows.frequency() != kShownFrequencies[0]) {
      state.SkipWithError("the frequency shown changed");
    }
  });
}
BENCHMARK(GuiStationPoll)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// Every poll shows another frequency, on another colour, and another second; changing the
// settings and the clock before each is untimed.
void GuiStationPollWorstCase(benchmark::State& state) {
  withStation(state, [&state](StationWindows& windows) {
    bool missed = false;
    std::size_t next = 0;
    for (auto _ : state) {
      state.PauseTiming();
      missed = missed || windows.frequency() != kShownFrequencies[next];
      next = 1 - next;
      windows.clock.pin(kMoments[next]);
      windows.session().configureStation(windows.settings[next], false);
      state.ResumeTiming();
      windows.updateLive();
    }
    if (missed || windows.frequency() != kShownFrequencies[next]) {
      state.SkipWithError("a poll did not change the frequency shown");
    }
  });
}
BENCHMARK(GuiStationPollWorstCase)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The baseline's window: line edits for the clock, the frequency and the heading above Qt's plain
// text widget showing the same log.
struct PlainStationWindow {
  explicit PlainStationWindow(int count) {
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* widget : {static_cast<QWidget*>(&clock), static_cast<QWidget*>(&frequency),
                            static_cast<QWidget*>(&heading), static_cast<QWidget*>(&log)}) {
      layout->addWidget(widget);
    }
    log.setPlainText(vantor::bench::displayLines(vantor::bench::qsoLines(count)));
    window.show();
    QApplication::processEvents();
  }

  QWidget window;
  QLineEdit clock;
  QLineEdit frequency;
  QLineEdit heading;
  QPlainTextEdit log;
};

// What another thread would have read from the rig and the rotator.
struct PlainReading {
  std::int64_t hz = kRigHz;
  double azimuth = 0;
};

// The plainest poll: the reading copied under a mutex no thread shares, then the clock, the
// frequency (on yellow beyond the band) and the heading written into the line edits as numbers
// formatted by Qt, and painted.
void plainPoll(PlainStationWindow& shown, std::mutex& mutex, const PlainReading& shared,
               int second) {
  PlainReading reading;
  {
    const std::lock_guard lock(mutex);
    reading = shared;
  }
  shown.clock.setText(QStringLiteral("14:32:%1").arg(second, 2, 10, QLatin1Char('0')));
  shown.frequency.setText(QString::number(static_cast<double>(reading.hz) / 1e6, 'f', 4));
  QPalette palette = shown.frequency.palette();
  palette.setColor(QPalette::Base, reading.hz > kBandTopHz ? Qt::yellow : Qt::white);
  shown.frequency.setPalette(palette);
  shown.heading.setText(QString::number(std::lround(reading.azimuth)));
  QApplication::processEvents();
}

// The baseline of GuiStationPoll: the same texts written again.
void PlainLineEditStationPoll(benchmark::State& state) {
  PlainStationWindow shown(contacts(state));
  std::mutex mutex;
  const PlainReading shared;
  for (auto _ : state) {
    plainPoll(shown, mutex, shared, 0);
  }
}
BENCHMARK(PlainLineEditStationPoll)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The baseline of the worst case: the reading and the second changed, untimed, before each poll.
void PlainLineEditStationPollWorstCase(benchmark::State& state) {
  PlainStationWindow shown(contacts(state));
  std::mutex mutex;
  PlainReading shared;
  int second = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      const std::lock_guard lock(mutex);
      shared.hz = shared.hz == kRigHz ? kRigHz + kOffsetHz : kRigHz;
    }
    second = 1 - second;
    state.ResumeTiming();
    plainPoll(shown, mutex, shared, second);
  }
  if (shown.frequency.text() != kShownFrequencies[static_cast<std::size_t>(second)]) {
    state.SkipWithError("the frequency shown is not the last reading's");
  }
}
BENCHMARK(PlainLineEditStationPollWorstCase)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
