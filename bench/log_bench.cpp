#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <unordered_set>

#include "app/session.h"
#include "band_logs.h"
#include "contest_texts.h"
#include "form/text.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

using vantor::bench::kTypicalCall;
using vantor::bench::kWorstCaseCall;

// A session whose log buffer holds `lines`, and whose call field writes the time with "Auto" and
// "+1 GMT".
class LoggedContest {
 public:
  explicit LoggedContest(const std::string& lines) {
    dialogs.recording = false;
    vantor::LogForm& log = session.log();
    log.logBuffer().setText(lines);
    log.dateField.setText("261207");
    log.autoTimeBox.click();
    log.plusOneOption.click();
  }

  vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  vantor::testing::RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
};

// One keystroke in the call field, a letter typed and taken back in turn: the mark, the
// upper-case write-back, the automatic time and a search through the whole log that finds
// nothing. With `twoOtherBands`, the logs of two other bands are filled first.
void typeCall(benchmark::State& state, const std::string& lines, const std::string_view (&typed)[2],
              bool twoOtherBands = false) {
  LoggedContest contest(lines);
  if (twoOtherBands) {
    vantor::bench::fillTwoOtherBands(contest.session);
  }
  vantor::Field& call = contest.session.log().callsignField;
  std::size_t next = 0;
  for (auto _ : state) {
    call.edit(typed[next], typed[next].size());
    next = 1 - next;
  }
}

void CallKeystroke(benchmark::State& state) {
  typeCall(state, vantor::bench::qsoLines(static_cast<int>(state.range(0))), kTypicalCall);
}
BENCHMARK(CallKeystroke)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// Every line of the log shares the typed call's letters.
void CallKeystrokeWorstCase(benchmark::State& state) {
  typeCall(state, vantor::bench::worstCaseQsoLines(static_cast<int>(state.range(0))),
           kWorstCaseCall);
}
BENCHMARK(CallKeystrokeWorstCase)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The same keystrokes with the logs of two other bands held, each of 10,000 contacts.
void CallKeystrokeWithTwoOtherBands(benchmark::State& state) {
  typeCall(state, vantor::bench::qsoLines(static_cast<int>(state.range(0))), kTypicalCall, true);
}
BENCHMARK(CallKeystrokeWithTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond);

void CallKeystrokeWorstCaseWithTwoOtherBands(benchmark::State& state) {
  typeCall(state, vantor::bench::worstCaseQsoLines(static_cast<int>(state.range(0))),
           kWorstCaseCall, true);
}
BENCHMARK(CallKeystrokeWorstCaseWithTwoOtherBands)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond);

// The baseline of a keystroke: the upper-case call looked for in the same log, plainly.
void findCall(benchmark::State& state, const std::string& lines,
              const std::string_view (&typed)[2]) {
  const std::string calls[] = {vantor::toUpper(typed[0]), vantor::toUpper(typed[1])};
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lines.find(calls[next]));
    next = 1 - next;
  }
}

void PlainCallFind(benchmark::State& state) {
  findCall(state, vantor::bench::qsoLines(static_cast<int>(state.range(0))), kTypicalCall);
}
BENCHMARK(PlainCallFind)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

void PlainCallFindWorstCase(benchmark::State& state) {
  findCall(state, vantor::bench::worstCaseQsoLines(static_cast<int>(state.range(0))),
           kWorstCaseCall);
}
BENCHMARK(PlainCallFindWorstCase)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// One "Inserisci" on a filled row; typing the row is not timed.
void LogInsertion(benchmark::State& state) {
  LoggedContest contest(vantor::bench::qsoLines(static_cast<int>(state.range(0))));
  vantor::LogForm& log = contest.session.log();
  for (auto _ : state) {
    state.PauseTiming();
    log.callsignField.setText("QQ9ZZZ");
    log.locatorField.setText("JN61FU");
    state.ResumeTiming();
    log.insertButton.press();
  }
}
BENCHMARK(LogInsertion)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);

// The baseline of an insertion: the same line appended to the same log, plainly.
void PlainLineAppend(benchmark::State& state) {
  std::string log = vantor::bench::qsoLines(static_cast<int>(state.range(0)));
  const std::string line = vantor::bench::qsoLine(0, "QQ9ZZZ");
  for (auto _ : state) {
    log += line;
    benchmark::DoNotOptimize(log.data());
  }
}
BENCHMARK(PlainLineAppend)
    ->Apply(vantor::bench::logSizes)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);

// The log with the call of its middle line changed by one letter, as the operator corrects it in
// the log text: `variant` picks the letter.
std::string editedLog(const std::string& lines, char variant) {
  std::string edited = lines;
  const std::size_t middle = edited.find("\r\n", edited.size() / 2) + 2;
  // A record's call starts behind its date and time: "yymmdd;hhmm;".
  edited[middle + 12] = variant;
  return edited;
}

// One operator edit of a line in the log text, then one keystroke in the call field, which finds
// the duplicate index out of date and brings it up to date. Both texts are made beforehand: the
// window hands the core the whole edited text.
void LogLineEdit(benchmark::State& state) {
  const std::string lines = vantor::bench::qsoLines(static_cast<int>(state.range(0)));
  const std::string edited[] = {editedLog(lines, 'X'), editedLog(lines, 'Y')};
  LoggedContest contest(lines);
  vantor::LogForm& log = contest.session.log();
  std::size_t next = 0;
  for (auto _ : state) {
    log.logBuffer().edit(edited[next], edited[next].size() / 2);
    log.callsignField.edit(kTypicalCall[next], kTypicalCall[next].size());
    next = 1 - next;
  }
}
BENCHMARK(LogLineEdit)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The first keystroke in the call field after the log text was replaced whole, as a paste over
// all of it does: the duplicate index is read again from the whole log. The log turns
// in turn into its EDI file's text and back, each untimed.
void CallKeystrokeAfterRewrite(benchmark::State& state) {
  const std::string lines = vantor::bench::qsoLines(static_cast<int>(state.range(0)));
  const std::string texts[] = {vantor::bench::ediFileText(static_cast<int>(state.range(0))), lines};
  LoggedContest contest(lines);
  vantor::LogForm& log = contest.session.log();
  std::size_t next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    log.logBuffer().setText(texts[next]);
    state.ResumeTiming();
    log.callsignField.edit(kTypicalCall[next], kTypicalCall[next].size());
    next = 1 - next;
  }
}
BENCHMARK(CallKeystrokeAfterRewrite)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

// The baseline of an edit: the edited text copied in, and the third field of each line put in a
// set, plainly.
void PlainEditAndCallSet(benchmark::State& state) {
  const std::string lines = vantor::bench::qsoLines(static_cast<int>(state.range(0)));
  const std::string edited[] = {editedLog(lines, 'X'), editedLog(lines, 'Y')};
  std::string held = lines;
  std::unordered_set<std::string> calls;
  std::size_t next = 0;
  for (auto _ : state) {
    held = edited[next];
    calls.clear();
    for (std::size_t from = 0; from < held.size();) {
      const std::size_t end = held.find("\r\n", from);
      const std::size_t callStart = held.find(';', held.find(';', from) + 1) + 1;
      calls.insert(held.substr(callStart, held.find(';', callStart) - callStart));
      from = end + 2;
    }
    benchmark::DoNotOptimize(calls.size());
    next = 1 - next;
  }
}
BENCHMARK(PlainEditAndCallSet)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMillisecond);

}  // namespace
