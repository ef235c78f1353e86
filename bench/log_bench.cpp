#include <benchmark/benchmark.h>

#include <string>

#include "app/session.h"
#include "log/log_form.h"
#include "log/qso_line.h"
#include "log/serial_number.h"
#include "support/fakes.h"

namespace {

constexpr int kContactCount = 10000;

// A session whose log buffer holds 10,000 contacts (about 550 KB), none of them with a call
// starting "QQ9Z", and whose call field writes the time with "Auto" and "+1 GMT".
class LoggedContest {
 public:
  LoggedContest() {
    dialogs.recording = false;
    vantor::LogForm& log = session.log();
    std::string buffer;
    for (int i = 0; i < kContactCount; ++i) {
      std::string call = "QQ0AAA";
      call[2] = static_cast<char>('0' + i % 9);
      call[3] = static_cast<char>('A' + i / 9 % 26);
      call[4] = static_cast<char>('A' + i / 234 % 26);
      const vantor::QsoLine line{.kind = vantor::QsoLine::Kind::Normal,
                                 .date = "261207",
                                 .time = "1432",
                                 .call = call,
                                 .modeCode = "1",
                                 .rst = "59",
                                 .sentNumber = vantor::serialNumberText(i % 999 + 1),
                                 .receivedNumber = vantor::serialNumberText(i % 999 + 1),
                                 .locator = "JN61FU",
                                 .points = std::to_string(100 + i % 900)};
      buffer += line.text();
    }
    log.logBuffer.setText(buffer);
    log.dateField.setText("261207");
    log.autoTimeBox.click();
    log.plusOneOption.click();
  }

  vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  vantor::testing::RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
};

// One keystroke in the call field: the mark, the upper-case write-back, the automatic time and a
// search through the whole log that finds nothing. The search visits each place of the call's
// last letter: about 800 for a "Y" or "X", which end few calls of this log, and 20,000 for a
// "Q", which stands twice on every line (the worst case).
void BM_LogCallKeystroke(benchmark::State& state) {
  LoggedContest contest;
  vantor::Field& call = contest.session.log().callsignField;
  const bool worstCase = state.range(0) != 0;
  const char* const typed[] = {worstCase ? "qq9zq" : "qq9zy", worstCase ? "qq9zqq" : "qq9zyx"};
  bool longer = false;
  for (auto _ : state) {
    call.setText(typed[longer ? 1 : 0]);
    longer = !longer;
  }
  state.counters["log_bytes"] = static_cast<double>(contest.session.log().logBuffer.text().size());
}
BENCHMARK(BM_LogCallKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One "Inserisci" on a filled row; typing the row is not timed.
void BM_LogInsertion(benchmark::State& state) {
  LoggedContest contest;
  vantor::LogForm& log = contest.session.log();
  for (auto _ : state) {
    state.PauseTiming();
    log.callsignField.setText("QQ9ZZZ");
    log.locatorField.setText("JN61FU");
    state.ResumeTiming();
    log.insertButton.press();
  }
  state.counters["log_bytes"] = static_cast<double>(log.logBuffer.text().size());
}
BENCHMARK(BM_LogInsertion)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
