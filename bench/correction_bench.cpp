#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "app/session.h"
#include "contest/contact.h"
#include "contest_texts.h"
#include "geo/bearing_form.h"
#include "log/contact_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

using vantor::bench::kCorrectedLocators;

// The calculator's home locator, which the contacts are measured from.
constexpr std::string_view kHome = "JN81GD";
// The worst case's ODX, farther from home than any other contact of the log.
constexpr std::string_view kOdxLocator = "IO91WM";
// The call the worst case gives the ODX in turn with its own: longer, so its line changes length.
constexpr std::string_view kOtherCall = "QQ9ZZZ/P";

int contacts(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// The log of the worst case: the contacts of qsoLines, but the middle one, in kOdxLocator, is the
// ODX, the one just behind it is its duplicate, and the next one holds kOtherCall.
std::string odxLogLines(int count) {
  const int middle = count / 2;
  std::string lines;
  for (int i = 0; i < count; ++i) {
    const std::string call = i == middle + 1   ? vantor::bench::callOf(middle)
                             : i == middle + 2 ? std::string(kOtherCall)
                                               : vantor::bench::callOf(i);
    vantor::Contact contact = *vantor::Contact::read(vantor::bench::qsoLine(i, call));
    if (i == middle) {
      contact.locator = kOdxLocator;
    }
    contact.markDuplicate(i == middle + 1, contact.points);
    lines += contact.line();
  }
  return lines;
}

// A session whose log buffer holds `lines`, measured from kHome, and the contact on the log's
// middle line, the one each figure corrects.
class CorrectedContest {
 public:
  CorrectedContest(const std::string& lines, int count) {
    dialogs.recording = false;
    session.bearing().setHomeLocator(kHome);
    log().logBuffer.setText(lines);
    middle = *log().document().contactAt(static_cast<std::size_t>(count / 2));
  }

  vantor::LogForm& log() { return session.log(); }

  // The middle contact with its call and locator corrected, every other field as it is.
  [[nodiscard]] vantor::ContactCorrection correction(std::string_view call,
                                                     std::string_view locator) const {
    return {.id = middle.id,
            .time = middle.time,
            .date = middle.date,
            .call = std::string(call),
            .rst = middle.rstSent,
            .serialReceived = middle.serialReceived,
            .locator = std::string(locator)};
  }

  vantor::testing::PinnedClock clock;
  vantor::testing::RecordingDialogs dialogs;
  vantor::testing::RecordingScreens screens;
  vantor::Session session{clock, dialogs, screens};
  vantor::Contact middle;
};

// The two corrections applied in turn, each undoing the other, so every one changes the log.
void correctInTurn(benchmark::State& state, CorrectedContest& contest,
                   const vantor::ContactCorrection (&corrections)[2]) {
  bool applied = true;
  std::size_t next = 0;
  for (auto _ : state) {
    applied = contest.log().correct(corrections[next]) && applied;
    next = 1 - next;
  }
  if (!applied) {
    state.SkipWithError("a correction was refused");
  }
}

// A typical correction: the middle contact's locator retyped. Its line is written anew with the
// new points, read again into the score and the call index, and its call's records are checked
// for duplicates; the ODX, elsewhere in the log, stays where it is.
void LocatorCorrection(benchmark::State& state) {
  CorrectedContest contest(vantor::bench::qsoLines(contacts(state)), contacts(state));
  const std::string& call = contest.middle.call;
  const vantor::ContactCorrection corrections[] = {contest.correction(call, kCorrectedLocators[0]),
                                                   contest.correction(call, kCorrectedLocators[1])};
  correctInTurn(state, contest, corrections);
}
BENCHMARK(LocatorCorrection)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The correction that costs most. Beyond its own line, a correction can cost three things, each a
// pass through the log or through the lines behind a line: a rewritten line that held the ODX has
// the ODX searched for again through every line (Score::replace); a changed call has the records
// of the old and of the new call looked for through every line (LogDocument::recordsOf); and each
// record whose duplicate mark turns is written anew, moving the lines behind it. So the middle
// contact is the ODX, its call turns into one of another length, and each of the two calls has a
// record just behind it whose mark turns: three lines written, the ODX searched for and two calls'
// records found, in both directions. A record of the new call before it would make the ODX a
// duplicate, no longer measured, and the correction back would then find the ODX without a
// search. A call held by many records adds a line read for each; in a contest a call is logged
// again a few times at most, so each call here is held twice.
void OdxCallCorrection(benchmark::State& state) {
  CorrectedContest contest(odxLogLines(contacts(state)), contacts(state));
  const vantor::ContactCorrection corrections[] = {
      contest.correction(kOtherCall, kOdxLocator),
      contest.correction(contest.middle.call, kOdxLocator)};
  correctInTurn(state, contest, corrections);
}
BENCHMARK(OdxCallCorrection)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

}  // namespace
