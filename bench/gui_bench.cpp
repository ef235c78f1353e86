#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "app/journal.h"
#include "band_logs.h"
#include "contest_texts.h"
#include "display_lines.h"
#include "edi/edi_file.h"
#include "form/text.h"
#include "gui/contact_window.h"
#include "gui/log_window.h"
#include "gui/station_settings_store.h"
#include "known_calls.h"
#include "log/log_form.h"
#include "platform/heap.h"
#include "probed_start.h"
#include "run_benchmarks.h"
#include "station/station_settings.h"
#include "support/hamlib_daemon.h"
#include "support/header_fill.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

namespace {

using vantor::bench::displayLines;
using vantor::bench::kCorrectedLocators;
using vantor::bench::kLoggedBand;
using vantor::bench::kOtherBands;
using vantor::bench::kTypicalCall;
using vantor::bench::kWorstCaseCall;
using vantor::testing::HamlibDaemon;

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// The real windows with a long log in the log widget, opened from the header screen.
class LoggedWindows : public vantor::testing::RunningProgram {
 public:
  explicit LoggedWindows(const std::string& lines) : RunningProgram({2026, 12, 7, 14, 32}) {
    fill(lines);
  }
  // The program as main starts it, with its journal on the disk in `dataFolder`.
  LoggedWindows(const std::string& lines, const std::filesystem::path& dataFolder)
      : RunningProgram({2026, 12, 7, 14, 32}, dataFolder, {}) {
    fill(lines);
    session().recordChanges();
  }

  void fill(const std::string& lines) {
    dialogs.recording = false;
    openLog({.locator = "jn81gd"});
    form().logBuffer().setText(lines);
    application.syncViews();
    QApplication::processEvents();
  }

  // Logs `lines` on each of `bands`, each shown and painted in the windows, then shows the log of
  // kLoggedBand again; with a journal, the logs are written and synced.
  void fillBands(std::span<const std::string_view> bands, const std::string& lines) {
    vantor::bench::fillBands(session(), bands, lines, [this] {
      application.syncViews();
      QApplication::processEvents();
    });
    session().recordChanges();
    session().syncRecordedChanges();
  }
  void fillTwoOtherBands() {
    fillBands(kOtherBands, vantor::bench::qsoLines(vantor::bench::kOtherBandContacts));
  }

  vantor::LogForm& form() { return session().log(); }
  vantor::gui::LogWindow& window() { return *application.logWindow(); }
};

// One click on "Inserisci" for a call not yet in the log, with the window brought up to date, the
// log widget included; with a journal, its entry is written and synced before the click returns.
void clickInsert(benchmark::State& state, LoggedWindows& windows) {
  auto* insert = windows.log<QPushButton>("Command1");
  int next = contacts(state);
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().serialSentField.setText("002");
    windows.form().callsignField.setText(vantor::bench::callOf(next++));
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
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  clickInsert(state, windows);
}
BENCHMARK(GuiInsertionWithoutJournal)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

void GuiInsertionWithJournal(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)), data.path());
  clickInsert(state, windows);
}
BENCHMARK(GuiInsertionWithJournal)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The same with the logs of two other bands held, each of 10,000 contacts and shown once.
void GuiInsertionWithJournalAndTwoOtherBands(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)), data.path());
  windows.fillTwoOtherBands();
  clickInsert(state, windows);
}
BENCHMARK(GuiInsertionWithJournalAndTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline of an insertion in the window: the same line appended to a text widget showing
// the same log, plainly.
void PlainTextWidgetAppend(benchmark::State& state) {
  QPlainTextEdit widget;
  widget.setPlainText(displayLines(vantor::bench::qsoLines(contacts(state))));
  widget.show();
  QApplication::processEvents();
  const QString line = displayLines(vantor::bench::qsoLine(0, "ZZ9ZZZ")).chopped(1);
  for (auto _ : state) {
    widget.appendPlainText(line);
    QApplication::processEvents();
  }
}
BENCHMARK(PlainTextWidgetAppend)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

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

// The correction window opened on the log's middle line as the operator opens it: the caret put
// on that line of the log widget, then Ctrl+E. Its locator field; nothing when it did not open.
QLineEdit* openMiddleContact(LoggedWindows& windows, int count) {
  auto* logText = windows.log<QPlainTextEdit>("Text15");
  logText->setTextCursor(QTextCursor(logText->document()->findBlockByNumber(count / 2)));
  QTest::keyClick(logText, Qt::Key_E, Qt::ControlModifier);
  vantor::gui::ContactWindow* window = windows.application.contactWindow();
  return window == nullptr ? nullptr : window->findChild<QLineEdit*>(QStringLiteral("Text6"));
}

// Enter in the correction window's locator field, the locator retyped: the correction applied to
// the log, every window brought up to date, the log widget included, and the correction window
// closed; with a journal, its entry is written and synced before the key returns. Opening the
// window, typing the locator and syncing the typing's own journal entries are untimed. The
// locators alternate, so every Enter changes the middle line.
void correctInWindow(benchmark::State& state, LoggedWindows& windows) {
  bool refused = false;
  std::size_t next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QLineEdit* locator = openMiddleContact(windows, contacts(state));
    if (locator == nullptr) {
      state.SkipWithError("the correction window did not open");
      break;
    }
    LoggedWindows::retype(locator, QString::fromLatin1(kCorrectedLocators[next]));
    windows.session().recordChanges();
    windows.session().syncRecordedChanges();
    next = 1 - next;
    state.ResumeTiming();
    QTest::keyClick(locator, Qt::Key_Return);
    QApplication::processEvents();
    refused = refused || windows.application.contactWindow() != nullptr;
  }
  if (refused) {
    state.SkipWithError("a correction was refused");
  }
}

void GuiLocatorCorrectionWithoutJournal(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  correctInWindow(state, windows);
}
BENCHMARK(GuiLocatorCorrectionWithoutJournal)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

void GuiLocatorCorrectionWithJournal(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)), data.path());
  correctInWindow(state, windows);
}
BENCHMARK(GuiLocatorCorrectionWithJournal)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline of a correction in the window: Enter in a line edit of its own, which writes the
// middle line, its locator changed, over that line of Qt's plain text widget showing the same
// log. The journal's part is PlainAppendAndSync's.
void PlainTextWidgetLineCorrection(benchmark::State& state) {
  const int middle = contacts(state) / 2;
  QPlainTextEdit widget;
  widget.setPlainText(displayLines(vantor::bench::qsoLines(contacts(state))));
  QLineEdit locator;
  widget.show();
  locator.show();
  QApplication::processEvents();
  const QString line = widget.document()->findBlockByNumber(middle).text();
  const auto corrected = [&line](std::string_view written) {
    return QString(line).replace(QStringLiteral("JN80XX"), QString::fromLatin1(written));
  };
  const QString lines[] = {corrected(kCorrectedLocators[0]), corrected(kCorrectedLocators[1])};
  std::size_t next = 0;
  QObject::connect(&locator, &QLineEdit::returnPressed, [&] {
    QTextCursor cursor(widget.document()->findBlockByNumber(middle));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(lines[next]);
    next = 1 - next;
  });
  for (auto _ : state) {
    QTest::keyClick(&locator, Qt::Key_Return);
    QApplication::processEvents();
  }
}
BENCHMARK(PlainTextWidgetLineCorrection)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The key that turns the first call of `typed` into the second.
char lastKey(const std::string_view (&typed)[2]) {
  return typed[1].back();
}

// One key typed into the call field at the end of the first call of `typed`, duplicate search and
// window update included.
void typeCall(benchmark::State& state, LoggedWindows& windows, const std::string_view (&typed)[2]) {
  auto* call = windows.log<QLineEdit>("Text6");
  const std::string start = vantor::toUpper(typed[0]);
  for (auto _ : state) {
    state.PauseTiming();
    windows.form().callsignField.edit(start, start.size());
    windows.window().sync();
    state.ResumeTiming();
    QTest::keyClick(call, lastKey(typed));
    QApplication::processEvents();
  }
}

void GuiCallKeystroke(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  typeCall(state, windows, kTypicalCall);
}
BENCHMARK(GuiCallKeystroke)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// Every line of the log shares the typed call's letters.
void GuiCallKeystrokeWorstCase(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::worstCaseQsoLines(contacts(state)));
  typeCall(state, windows, kWorstCaseCall);
}
BENCHMARK(GuiCallKeystrokeWorstCase)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// Both with the logs of two other bands held, each of 10,000 contacts and shown once.
void GuiCallKeystrokeWithTwoOtherBands(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  windows.fillTwoOtherBands();
  typeCall(state, windows, kTypicalCall);
}
BENCHMARK(GuiCallKeystrokeWithTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

void GuiCallKeystrokeWorstCaseWithTwoOtherBands(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::worstCaseQsoLines(contacts(state)));
  windows.fillTwoOtherBands();
  typeCall(state, windows, kWorstCaseCall);
}
BENCHMARK(GuiCallKeystrokeWorstCaseWithTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline of a keystroke in the window: the same key typed into a line edit of its own,
// whose text, upper-cased, is looked for in the same log.
void typePlainly(benchmark::State& state, const std::string& lines,
                 const std::string_view (&typed)[2]) {
  QLineEdit call;
  QObject::connect(&call, &QLineEdit::textEdited, [&lines](const QString& text) {
    benchmark::DoNotOptimize(lines.find(text.toUpper().toStdString()));
  });
  call.show();
  const QString start = QString::fromUtf8(typed[0].data(), typed[0].size()).toUpper();
  for (auto _ : state) {
    state.PauseTiming();
    call.setText(start);
    state.ResumeTiming();
    QTest::keyClick(&call, lastKey(typed));
    QApplication::processEvents();
  }
}

void PlainLineEditKeystroke(benchmark::State& state) {
  typePlainly(state, vantor::bench::qsoLines(contacts(state)), kTypicalCall);
}
BENCHMARK(PlainLineEditKeystroke)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void PlainLineEditKeystrokeWorstCase(benchmark::State& state) {
  typePlainly(state, vantor::bench::worstCaseQsoLines(contacts(state)), kWorstCaseCall);
}
BENCHMARK(PlainLineEditKeystrokeWorstCase)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// Ctrl+PgDn and Ctrl+PgUp in turn in the call field, between the logs of 144 and 432 MHz, each
// of that many contacts and shown once before: the log screen switched to the other band's log,
// the windows brought up to date and painted; with a journal, the log screen's state written.
// The time is one switch.
void switchBands(benchmark::State& state, LoggedWindows& windows) {
  windows.fillBands({kOtherBands, 1}, vantor::bench::qsoLines(contacts(state)));
  auto* call = windows.log<QLineEdit>("Text6");
  const Qt::Key keys[] = {Qt::Key_PageDown, Qt::Key_PageUp};
  const std::string_view reached[] = {kOtherBands[0], kLoggedBand};
  bool missed = false;
  std::size_t next = 0;
  for (auto _ : state) {
    QTest::keyClick(call, keys[next], Qt::ControlModifier);
    QApplication::processEvents();
    missed = missed || windows.form().band().band() != reached[next];
    next = 1 - next;
  }
  if (missed) {
    state.SkipWithError("a key did not switch the band");
  }
}

void GuiBandSwitch(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  switchBands(state, windows);
}
BENCHMARK(GuiBandSwitch)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

void GuiBandSwitchWithJournal(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)), data.path());
  switchBands(state, windows);
}
BENCHMARK(GuiBandSwitchWithJournal)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The baseline of a switch that lays the text out anew: Qt's plain text widget given the other
// log's text, of the same length.
void PlainTextWidgetShowOtherLog(benchmark::State& state) {
  const QString text = displayLines(vantor::bench::qsoLines(contacts(state)));
  QPlainTextEdit widget;
  widget.setPlainText(text);
  widget.show();
  QApplication::processEvents();
  for (auto _ : state) {
    widget.setPlainText(text);
    QApplication::processEvents();
  }
}
BENCHMARK(PlainTextWidgetShowOtherLog)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline of the window's own way: two documents of the same log made and shown once
// beforehand, swapped in turn in Qt's plain text widget.
void PlainTextWidgetSwapDocuments(benchmark::State& state) {
  const QString text = displayLines(vantor::bench::qsoLines(contacts(state)));
  QPlainTextEdit widget;
  QTextDocument* documents[2];
  for (QTextDocument*& document : documents) {
    document = new QTextDocument(&widget);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setPlainText(text);
    widget.setDocument(document);
    widget.show();
    QApplication::processEvents();
  }
  std::size_t next = 0;
  for (auto _ : state) {
    widget.setDocument(documents[next]);
    QApplication::processEvents();
    next = 1 - next;
  }
}
BENCHMARK(PlainTextWidgetSwapDocuments)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// Two keys typed into the middle of the log widget, a letter and Backspace, the log buffer and
// its duplicate index brought up to date with each; the time is one round of both.
void typeIntoLogLine(benchmark::State& state, QPlainTextEdit& log) {
  log.setFocus();
  QTextCursor middle = log.textCursor();
  middle.setPosition(static_cast<int>(log.document()->characterCount() / 2));
  middle.movePosition(QTextCursor::StartOfBlock);
  log.setTextCursor(middle);
  for (auto _ : state) {
    QTest::keyClick(&log, Qt::Key_X);
    QTest::keyClick(&log, Qt::Key_Backspace);
    QApplication::processEvents();
  }
}

void GuiLogLineKeystrokes(benchmark::State& state) {
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)));
  typeIntoLogLine(state, *windows.log<QPlainTextEdit>("Text15"));
  if (windows.form().logBuffer().text() != vantor::bench::qsoLines(contacts(state))) {
    state.SkipWithError("the keys did not reach the log buffer as typed");
  }
}
BENCHMARK(GuiLogLineKeystrokes)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The same with the journal on the disk: each key's entry written, synced within a second.
void GuiLogLineKeystrokesWithJournal(benchmark::State& state) {
  const vantor::testing::TempFolder data;
  LoggedWindows windows(vantor::bench::qsoLines(contacts(state)), data.path());
  typeIntoLogLine(state, *windows.log<QPlainTextEdit>("Text15"));
  state.counters["journal_MB"] =
      static_cast<double>(std::filesystem::file_size(data.path() / "vantor.journal")) / 1e6;
}
BENCHMARK(GuiLogLineKeystrokesWithJournal)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMillisecond);

// The baseline: the same keys typed into Qt's plain text widget showing the same log.
void PlainTextWidgetKeystrokes(benchmark::State& state) {
  QPlainTextEdit widget;
  widget.setPlainText(displayLines(vantor::bench::qsoLines(contacts(state))));
  widget.show();
  QApplication::processEvents();
  typeIntoLogLine(state, widget);
}
BENCHMARK(PlainTextWidgetKeystrokes)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// Each round starts a program afresh and times it from its start to its first window painted; a
// start that fails or hangs ends the benchmark.
void timeStarts(benchmark::State& state, const vantor::bench::ProbedStart& start) {
  for (auto _ : state) {
    const auto shown = vantor::bench::startProbed(start);
    if (!shown) {
      state.SkipWithError("the program did not show its window");
      return;
    }
    state.SetIterationTime(shown->seconds);
    state.counters["peak_MiB"] = shown->peakMiB;
  }
}

void StartUpToFirstWindow(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  timeStarts(state, {.program = VANTOR_PROGRAM, .home = home.path()});
}
BENCHMARK(StartUpToFirstWindow)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The settings file of a program started on `home`, where the program keeps it
// ($XDG_CONFIG_HOME/Vantor/Vantor.conf), set to `station` as "Radio e rotore" writes it; false
// when not written.
bool writeStationSettings(const std::filesystem::path& home,
                          const vantor::StationSettings& station) {
  const std::filesystem::path file = home / "config" / "Vantor" / "Vantor.conf";
  QSettings settings(QString::fromStdString(file.string()), QSettings::IniFormat);
  vantor::gui::saveStationSettings(settings, station);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

// The same start with a rig and a rotator set up on "NET rigctl" and "NET rotctl" whose daemons
// do not run: both ports, those of daemons started and killed, refuse connections, and the link
// tries them while the first window is built.
void StartUpToFirstWindowWithStationAbsent(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  HamlibDaemon rig(HamlibDaemon::Kind::Rig);
  HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
  rig.stop();
  rotator.stop();
  vantor::StationSettings station;
  station.rig = {vantor::kNetRigctlModel, rig.address(), 0};
  station.rotator = {vantor::kNetRotctlModel, rotator.address(), 0};
  if (!writeStationSettings(home.path(), station)) {
    state.SkipWithError("the settings file could not be written");
    return;
  }
  timeStarts(state, {.program = VANTOR_PROGRAM, .home = home.path()});
}
BENCHMARK(StartUpToFirstWindowWithStationAbsent)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same start with 200,000 known calls in the store of the user's data folder
// ($XDG_DATA_HOME/Vantor/stazioni.sqlite), which opens on its own thread after the first window.
void StartUpToFirstWindowWithKnownStations(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  const std::filesystem::path data = home.path() / "data" / "Vantor";
  std::filesystem::create_directories(data);
  if (!vantor::bench::makeKnownStore(data / "stazioni.sqlite", vantor::bench::kKnownCalls)) {
    state.SkipWithError("the store could not be made");
    return;
  }
  timeStarts(state, {.program = VANTOR_PROGRAM, .home = home.path()});
}
BENCHMARK(StartUpToFirstWindowWithKnownStations)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The baseline of the start-up and of the peak memory: a Qt Widgets program showing one empty
// window.
void StartUpEmptyWindow(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  timeStarts(state, {.program = VANTOR_EMPTY_WINDOW, .home = home.path()});
}
BENCHMARK(StartUpEmptyWindow)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same window showing one line of text: what the fonts' first use adds to any window that
// shows text.
void StartUpWindowWithOneLabel(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  timeStarts(state, {.program = VANTOR_EMPTY_WINDOW, .home = home.path(), .argument = "label"});
}
BENCHMARK(StartUpWindowWithOneLabel)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The header window's layout alone, as uic builds it, with no session, journal or lists behind
// it: what the first window's widgets cost before any of the program's own work.
void StartUpHeaderLayoutAlone(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  timeStarts(state, {.program = VANTOR_EMPTY_WINDOW, .home = home.path(), .argument = "header"});
}
BENCHMARK(StartUpHeaderLayoutAlone)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The program started on an EDI file of that many contacts, up to both windows painted with the
// whole log; the peak memory is the program's high-water mark until then.
void PeakMemoryWithBothWindows(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  const auto file = vantor::ediFilePath(home.path(), "01", "QQ9XYZ");
  if (vantor::saveEdiFile(file, vantor::bench::ediFileText(contacts(state)))) {
    state.SkipWithError("the EDI file could not be written");
    return;
  }
  timeStarts(
      state,
      {.program = VANTOR_PROGRAM, .home = home.path(), .argument = file.string(), .windows = 2});
}

// The baseline of the peak memory: Qt's plain text widget alone, showing the same file.
void PeakMemoryOfAPlainTextWidget(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  const auto file = vantor::ediFilePath(home.path(), "01", "QQ9XYZ");
  if (vantor::saveEdiFile(file, vantor::bench::ediFileText(contacts(state)))) {
    state.SkipWithError("the EDI file could not be written");
    return;
  }
  timeStarts(state,
             {.program = VANTOR_EMPTY_WINDOW, .home = home.path(), .argument = file.string()});
}
BENCHMARK(PeakMemoryOfAPlainTextWidget)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(PeakMemoryWithBothWindows)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A journal of a contest whose logs of kLoggedBand and kOtherBands hold `count` contacts each,
// the log screen shown on kLoggedBand, written as `path`.
void writeThreeBandJournal(const std::filesystem::path& path, int count) {
  const vantor::testing::TempFolder data;
  {
    vantor::testing::PinnedClock clock;
    vantor::testing::RecordingDialogs dialogs;
    dialogs.recording = false;
    vantor::testing::RecordingScreens screens;
    vantor::Session session{clock, dialogs, screens};
    vantor::Journal journal(session, data.path());
    journal.start();
    vantor::testing::fillRequiredHeader(session.header());
    session.header().proceedButton.press();
    const std::string lines = vantor::bench::qsoLines(count);
    session.log().logBuffer().setText(lines);
    vantor::bench::fillBands(session, kOtherBands, lines);
    session.recordChanges();
    session.syncRecordedChanges();
  }
  std::filesystem::copy_file(data.path() / "vantor.journal", path);
}

// The program started on a journal whose three band logs hold that many contacts each, as its
// command line reopens one, up to both windows painted with the log of kLoggedBand and
// `ctrlPageDowns` more bands then shown in turn; the peak memory is the program's high-water mark
// until then.
void startOnThreeBands(benchmark::State& state, int ctrlPageDowns) {
  const vantor::testing::TempFolder home;
  const auto journal = home.path() / "three-bands.journal";
  writeThreeBandJournal(journal, contacts(state));
  timeStarts(state, {.program = VANTOR_PROGRAM,
                     .home = home.path(),
                     .argument = journal.string(),
                     .windows = 2,
                     .ctrlPageDowns = ctrlPageDowns});
}

void PeakMemoryWithThreeBands(benchmark::State& state) {
  startOnThreeBands(state, 0);
}

// The same once Ctrl+PgDn has shown the two other bands' logs too: the log window holds a
// document for each.
void PeakMemoryWithThreeBandsShown(benchmark::State& state) {
  startOnThreeBands(state, 2);
}

// The baseline: Qt's plain text widget alone, showing the EDI files of the three logs one after
// another as one text.
void PeakMemoryOfAPlainTextWidgetWithThreeLogs(benchmark::State& state) {
  const vantor::testing::TempFolder home;
  const auto file = home.path() / "three-logs.edi";
  const std::string log = vantor::bench::ediFileText(contacts(state));
  if (vantor::saveEdiFile(file, log + log + log)) {
    state.SkipWithError("the file could not be written");
    return;
  }
  timeStarts(state,
             {.program = VANTOR_EMPTY_WINDOW, .home = home.path(), .argument = file.string()});
}

BENCHMARK(PeakMemoryOfAPlainTextWidgetWithThreeLogs)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryWithThreeBands)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryWithThreeBandsShown)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Whether the command line or the environment names the Qt platform to run on.
bool platformChosen(int argc, char* argv[]) {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    return true;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform") {
      return true;
    }
  }
  return false;
}

}  // namespace

// The offscreen platform unless another is chosen, "-platform xcb" under a real X server.
int main(int argc, char* argv[]) {
  vantor::platform::keepLargeBlocksApart();
  if (!platformChosen(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  return vantor::bench::runBenchmarks(argc, argv);
}
