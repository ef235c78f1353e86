#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "gui/log_window.h"
#include "log/log_form.h"
#include "support/window_driver.h"

namespace {

constexpr int kContactCount = 10000;

// The real windows with 10,000 contacts in the log widget, opened from the header screen.
class LoggedWindows : public vantor::testing::RunningProgram {
 public:
  LoggedWindows() : RunningProgram({2026, 12, 7, 14, 32}) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    std::string buffer;
    for (int i = 0; i < kContactCount; ++i) {
      buffer += "261207;1432;QQ" + std::to_string(i) + "A;1;59;001;59;005;;JN61FU;349;;N;;\r\n";
    }
    form().logBuffer.setText(buffer);
    window().sync();
    QApplication::processEvents();
  }

  vantor::LogForm& form() { return session().log(); }
  vantor::gui::LogWindow& window() { return *application.logWindow(); }
};

// One click on "Inserisci" with the window brought up to date, the log widget included.
void GuiInsertionWith10000Contacts(benchmark::State& state) {
  LoggedWindows windows;
  auto* insert = windows.log<QPushButton>("Command1");
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().serialSentField.setText("002");
    windows.form().callsignField.setText("ZZ9ZZZ");
    windows.form().locatorField.setText("JN61FU");
    windows.window().sync();
    state.ResumeTiming();
    insert->click();
    QApplication::processEvents();
  }
}
BENCHMARK(GuiInsertionWith10000Contacts)->Unit(benchmark::kMillisecond);

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
