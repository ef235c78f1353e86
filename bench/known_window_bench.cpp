#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/session.h"
#include "contest_texts.h"
#include "form/text.h"
#include "gui/log_window.h"
#include "known/known_stations.h"
#include "known_calls.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

// A keystroke in the call field with 200,000 known calls behind the partial check, through the
// window: the duplicate test, the partial check in the known calls and in the log, the locator
// suggested, the list and the fields shown.

namespace {

using vantor::bench::kKnownCalls;

// The typical keystroke: the call is none of the log's and few known calls hold it. The worst:
// "QQ1AB", whose trigrams tens of thousands of known calls hold, fewer than a list's worth begin
// with it, so both the store and the log's calls are searched to their end.
constexpr std::string_view kTypicalKnownCall[] = {"qq9zy", "qq9zyx"};
constexpr std::string_view kWorstKnownCall[] = {"qq1a", "qq1ab"};
constexpr auto kOpenWithin = std::chrono::seconds(30);

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// The store, made once for every figure.
const std::filesystem::path& knownStore() {
  static const vantor::testing::TempFolder folder;
  static const bool made =
      vantor::bench::makeKnownStore(folder.path() / "stazioni.sqlite", kKnownCalls);
  static const std::filesystem::path file = made ? folder.path() / "stazioni.sqlite" : "";
  return file;
}

class KnownWindows : public vantor::testing::RunningProgram {
 public:
  explicit KnownWindows(int count) : RunningProgram({2026, 12, 7, 14, 32}) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    session().log().logBuffer().setText(vantor::bench::qsoLines(count));
    session().keepKnownStations({knownStore(), knownStore().parent_path()});
    session().startKnownStations();
    const auto deadline = std::chrono::steady_clock::now() + kOpenWithin;
    while (!session().knownStations()->ready() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    application.syncViews();
    QApplication::processEvents();
  }
  bool ready() { return session().knownStations()->ready(); }
};

void typeKnownCall(benchmark::State& state, const std::string_view (&typed)[2]) {
  if (knownStore().empty()) {
    state.SkipWithError("the store could not be made");
    return;
  }
  KnownWindows windows(contacts(state));
  if (!windows.ready()) {
    state.SkipWithError("the store did not open");
    return;
  }
  auto* call = windows.log<QLineEdit>("Text6");
  const std::string start = vantor::toUpper(typed[0]);
  for (auto _ : state) {
    state.PauseTiming();
    windows.session().log().callsignField.edit(start, start.size());
    windows.application.logWindow()->sync();
    state.ResumeTiming();
    QTest::keyClick(call, typed[1].back());
    QApplication::processEvents();
  }
  state.counters["shown"] = static_cast<double>(windows.log<QListWidget>("List1")->count());
}

void GuiPartialCheckKeystroke(benchmark::State& state) {
  typeKnownCall(state, kTypicalKnownCall);
}
BENCHMARK(GuiPartialCheckKeystroke)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void GuiPartialCheckKeystrokeWorstCase(benchmark::State& state) {
  typeKnownCall(state, kWorstKnownCall);
}
BENCHMARK(GuiPartialCheckKeystrokeWorstCase)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline: the same key typed into a line edit of its own, whose text is looked for in the
// same log and in every known call held in memory, the calls that hold it put in a list widget.
void PlainPartialCheckKeystroke(benchmark::State& state, const std::string_view (&typed)[2]) {
  const std::string lines = vantor::bench::qsoLines(contacts(state));
  const std::vector<vantor::KnownStation> stations = vantor::bench::knownStations(kKnownCalls);
  QWidget window;
  auto* call = new QLineEdit(&window);
  auto* list = new QListWidget(&window);
  list->move(0, 30);
  QObject::connect(call, &QLineEdit::textEdited, [&](const QString& text) {
    const std::string fragment = text.toUpper().toStdString();
    benchmark::DoNotOptimize(lines.find(fragment));
    list->clear();
    for (const vantor::KnownStation& station : stations) {
      if (station.call.find(fragment) != std::string::npos && list->count() < 30) {
        list->addItem(QString::fromStdString(station.call));
      }
    }
  });
  window.show();
  const QString start = QString::fromUtf8(typed[0].data(), typed[0].size()).toUpper();
  for (auto _ : state) {
    state.PauseTiming();
    call->setText(start);
    state.ResumeTiming();
    QTest::keyClick(call, typed[1].back());
    QApplication::processEvents();
  }
}

void PlainLineEditPartialCheck(benchmark::State& state) {
  PlainPartialCheckKeystroke(state, kTypicalKnownCall);
}
BENCHMARK(PlainLineEditPartialCheck)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void PlainLineEditPartialCheckWorstCase(benchmark::State& state) {
  PlainPartialCheckKeystroke(state, kWorstKnownCall);
}
BENCHMARK(PlainLineEditPartialCheckWorstCase)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

}  // namespace
