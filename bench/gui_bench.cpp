#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "gui/log_window.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

namespace {

constexpr int kContactCount = 10000;

std::string contactLines(int count) {
  std::string buffer;
  for (int i = 0; i < count; ++i) {
    buffer += "261207;1432;QQ" + std::to_string(i) + "A;1;59;001;59;005;;JN61FU;349;;N;;\r\n";
  }
  return buffer;
}

// The real windows with a long log in the log widget, opened from the header screen.
class LoggedWindows : public vantor::testing::RunningProgram {
 public:
  explicit LoggedWindows(int contacts = kContactCount) : RunningProgram({2026, 12, 7, 14, 32}) {
    fill(contacts);
  }
  // The program as main starts it, with its journal on the disk in `dataFolder`.
  LoggedWindows(int contacts, const std::filesystem::path& dataFolder)
      : RunningProgram({2026, 12, 7, 14, 32}, dataFolder, {}) {
    fill(contacts);
    session().recordChanges();
  }

  void fill(int contacts) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    form().logBuffer.setText(contactLines(contacts));
    window().sync();
    QApplication::processEvents();
  }

  vantor::LogForm& form() { return session().log(); }
  vantor::gui::LogWindow& window() { return *application.logWindow(); }
};

// One click on "Inserisci" with the window brought up to date, the log widget included; with a
// journal, its entry is written and synced before the click returns.
void clickInsert(benchmark::State& state, LoggedWindows& windows) {
  auto* insert = windows.log<QPushButton>("Command1");
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().serialSentField.setText("002");
    windows.form().callsignField.setText("ZZ9ZZZ");
    windows.form().locatorField.setText("JN61FU");
    windows.session().recordChanges();
    windows.session().syncRecordedChanges();
    windows.window().sync();
    state.ResumeTiming();
    insert->click();
    QApplication::processEvents();
  }
}

void GuiInsertionWithoutJournal(benchmark::State& state) {
  LoggedWindows windows(static_cast<int>(state.range(0)));
  clickInsert(state, windows);
}
BENCHMARK(GuiInsertionWithoutJournal)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The journal on the disk, at 10,000 and 100,000 contacts; the click without it is the baseline.
void GuiInsertionWithJournal(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(static_cast<int>(state.range(0)), data.path());
  clickInsert(state, windows);
}
BENCHMARK(GuiInsertionWithJournal)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The baseline of the journal's part: an entry of that size appended and synced, plainly.
void PlainAppendAndSync(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  const int file = ::open((data.path() / "plain").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  const std::string entry(600, 'x');
  for (auto _ : state) {
    benchmark::DoNotOptimize(::write(file, entry.data(), entry.size()));
    ::fdatasync(file);
  }
  ::close(file);
}
BENCHMARK(PlainAppendAndSync)->Unit(benchmark::kMillisecond);

// One key typed into the call field, duplicate search and window update included.
void GuiCallKeystrokeWith10000Contacts(benchmark::State& state) {
  LoggedWindows windows;
  auto* call = windows.log<QLineEdit>("Text6");
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().callsignField.setText("QQ12");
    windows.window().sync();
    state.ResumeTiming();
    QTest::keyClick(call, Qt::Key_X);
    QApplication::processEvents();
  }
}
BENCHMARK(GuiCallKeystrokeWith10000Contacts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
