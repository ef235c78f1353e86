#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/session.h"
#include "contest/contact.h"
#include "contest_texts.h"
#include "geo/bearing_form.h"
#include "geo/locator.h"
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
// ODX and the first contact of its square, the one just behind it is its duplicate, and the next
// one holds kOtherCall.
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
      contact.newSquare = vantor::kNewSquareMark;
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
    log().logBuffer().setText(lines);
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

// The baselines do the same work with the plainest code: the log is a std::string, a line is
// split at ';' and joined again, and the score is worked out again by reading every line.
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kRecordFields = 15;
// The places of the fields the baselines read and write.
enum PlainField : std::size_t {
  kCall = 2,
  kLocator = 9,
  kPoints = 10,
  kNewSquare = 12,
  kDuplicateMark = 14
};
using PlainRecord = std::array<std::string_view, kRecordFields>;

// A line's fields; nothing when it has not exactly 15.
std::optional<PlainRecord> plainRecord(std::string_view line) {
  PlainRecord fields;
  std::size_t count = 0;
  for (std::size_t from = 0; count < kRecordFields; ++count) {
    const std::size_t end = line.find(';', from);
    fields[count] = line.substr(from, end - from);
    if (end == std::string_view::npos) {
      return count + 1 == kRecordFields ? std::optional(fields) : std::nullopt;
    }
    from = end + 1;
  }
  return std::nullopt;
}

// Whole kilometres from home to a valid locator, 0 counting as 1, as LogDocument measures them; -1
// for any other text.
int plainDistance(vantor::GeoPoint home, std::string_view locator) {
  if (!vantor::isValidLocator(locator)) {
    return -1;
  }
  const vantor::GeoPoint point = vantor::locatorToPoint(vantor::preparedLocator(locator));
  const int kilometres = vantor::courseBetween(home, point).distance;
  return kilometres == 0 ? 1 : kilometres;
}

struct PlainScore {
  std::size_t contacts = 0;
  double points = 0;
  int odxDistance = -1;
  std::size_t odxStart = 0;
};

// The score of every record not marked "D": their number, their points and the farthest of them.
PlainScore plainScore(std::string_view log, vantor::GeoPoint home) {
  PlainScore score;
  for (std::size_t from = 0, end = log.find(kLineEnd); end != std::string_view::npos;
       from = end + kLineEnd.size(), end = log.find(kLineEnd, from)) {
    const auto fields = plainRecord(log.substr(from, end - from));
    if (!fields || (*fields)[kDuplicateMark] == "D") {
      continue;
    }
    const std::string_view pointsText = (*fields)[kPoints];
    double points = 0;
    std::from_chars(pointsText.data(), pointsText.data() + pointsText.size(), points);
    ++score.contacts;
    score.points += points;
    if (const int distance = plainDistance(home, (*fields)[kLocator]);
        distance > score.odxDistance) {
      score.odxDistance = distance;
      score.odxStart = from;
    }
  }
  return score;
}

// The line at `start` written anew with `change` made to its fields; where the next line starts.
template <typename Change>
std::size_t plainRewrite(std::string& log, std::size_t start, Change change) {
  const std::size_t end = log.find(kLineEnd, start);
  const PlainRecord read = *plainRecord(std::string_view(log).substr(start, end - start));
  std::array<std::string, kRecordFields> fields;
  std::copy(read.begin(), read.end(), fields.begin());
  change(fields);
  std::string line = fields[0];
  for (std::size_t field = 1; field < kRecordFields; ++field) {
    line += ';';
    line += fields[field];
  }
  log.replace(start, end - start, line);
  return start + line.size() + kLineEnd.size();
}

// The contact at `start` corrected: its call and locator written, its points measured again.
void plainCorrect(std::string& log, std::size_t start, std::string_view call,
                  std::string_view locator, vantor::GeoPoint home) {
  const std::string points = std::to_string(plainDistance(home, locator));
  plainRewrite(log, start, [&](std::array<std::string, kRecordFields>& fields) {
    fields[kCall] = call;
    fields[kLocator] = locator;
    fields[kPoints] = points;
  });
}

// The records of `call` marked again: the first a contact worth its distance, every later one a
// duplicate; only a record whose mark turns is written anew.
void plainMarkDuplicates(std::string& log, std::string_view call, vantor::GeoPoint home) {
  bool first = true;
  for (std::size_t from = 0, end = log.find(kLineEnd); end != std::string::npos;
       end = log.find(kLineEnd, from)) {
    const auto fields = plainRecord(std::string_view(log).substr(from, end - from));
    std::size_t next = end + kLineEnd.size();
    if (fields && (*fields)[kCall] == call) {
      if (((*fields)[kDuplicateMark] == "D") == first) {
        // The points, the new square and the mark of a contact, or of a duplicate.
        const std::string marks[] = {
            first ? std::to_string(plainDistance(home, (*fields)[kLocator])) : "0",
            first ? "N" : "", first ? "" : "D"};
        next = plainRewrite(log, from, [&marks](std::array<std::string, kRecordFields>& written) {
          written[kPoints] = marks[0];
          written[kNewSquare] = marks[1];
          written[kDuplicateMark] = marks[2];
        });
      }
      first = false;
    }
    from = next;
  }
}

// Where line `line` of the log starts.
std::size_t plainLineStart(std::string_view log, int line) {
  std::size_t start = 0;
  for (int skipped = 0; skipped < line; ++skipped) {
    start = log.find(kLineEnd, start) + kLineEnd.size();
  }
  return start;
}

// The baseline of a typical correction: the middle line's locator and points written in the
// string, and the score worked out again.
void PlainLocatorCorrection(benchmark::State& state) {
  std::string log = vantor::bench::qsoLines(contacts(state));
  const std::size_t middle = plainLineStart(log, contacts(state) / 2);
  const std::string call = vantor::bench::callOf(contacts(state) / 2);
  const vantor::GeoPoint home = vantor::locatorToPoint(vantor::preparedLocator(kHome));
  std::size_t next = 0;
  for (auto _ : state) {
    plainCorrect(log, middle, call, kCorrectedLocators[next], home);
    benchmark::DoNotOptimize(plainScore(log, home));
    next = 1 - next;
  }
}
BENCHMARK(PlainLocatorCorrection)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

// The baseline of the worst case: the ODX's call written in the string, the records of both
// calls marked again, and the score worked out again.
void PlainOdxCallCorrection(benchmark::State& state) {
  std::string log = odxLogLines(contacts(state));
  const std::size_t middle = plainLineStart(log, contacts(state) / 2);
  const std::string calls[] = {vantor::bench::callOf(contacts(state) / 2), std::string(kOtherCall)};
  const vantor::GeoPoint home = vantor::locatorToPoint(vantor::preparedLocator(kHome));
  std::size_t next = 0;
  for (auto _ : state) {
    plainCorrect(log, middle, calls[1 - next], kOdxLocator, home);
    plainMarkDuplicates(log, calls[next], home);
    plainMarkDuplicates(log, calls[1 - next], home);
    benchmark::DoNotOptimize(plainScore(log, home));
    next = 1 - next;
  }
}
BENCHMARK(PlainOdxCallCorrection)->Apply(vantor::bench::logSizes)->Unit(benchmark::kMicrosecond);

}  // namespace
