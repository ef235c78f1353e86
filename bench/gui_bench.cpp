#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "app/session.h"
#include "gui/application.h"
#include "gui/log_window.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

constexpr int kContactCount = 10000;

// The real windows with 10,000 contacts in the log widget, opened from the header screen.
class LoggedWindows {
 public:
  LoggedWindows() {
    dialogs.recording = false;
    application.start();
    vantor::HeaderForm& header = application.session().header();
    header.callsignField.setText("QQ9XYZ");
    header.locatorField.setText("JN81GD");
    header.contestList.pickText("Contest IARU Reg. I VHF");
    header.categoryList.pickText("Singolo Operatore");
    header.bandList.pickText("144 Mhz");
    header.proceedButton.press();
    std::string buffer;
    for (int i = 0; i < kContactCount; ++i) {
      buffer += "261207;1432;QQ" + std::to_string(i) + "A;1;59;001;59;005;;JN61FU;349;;N;;\r\n";
    }
    log().logBuffer.setText(buffer);
    window().sync();
    QApplication::processEvents();
  }

  vantor::LogForm& log() { return application.session().log(); }
  vantor::gui::LogWindow& window() { return *application.logWindow(); }
  template <typename Widget>
  Widget* find(const char* name) {
    return window().findChild<Widget*>(QString::fromLatin1(name));
  }

  vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  vantor::gui::Application application{clock, dialogs};
};

// One click on "Inserisci" with the window brought up to date, the log widget included.
void GuiInsertionWith10000Contacts(benchmark::State& state) {
  LoggedWindows windows;
  auto* insert = windows.find<QPushButton>("Command1");
  for (auto _ : state) {
    state.PauseTiming();
    windows.log().serialSentField.setText("002");
    windows.log().callsignField.setText("ZZ9ZZZ");
    windows.log().locatorField.setText("JN61FU");
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
  auto* call = windows.find<QLineEdit>("Text6");
  for (auto _ : state) {
    state.PauseTiming();
    windows.log().callsignField.setText("QQ12");
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
