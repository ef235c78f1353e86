#include "app/journal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "app/session.h"
#include "contest/contact.h"
#include "edi/edi_file.h"
#include "form/control_state.h"
#include "form/text.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

namespace {

// A journal this large beyond its last whole state is rewritten as one whole state.
constexpr std::size_t kSmallestRewrite = 4U << 20;
constexpr std::size_t kFinishedKept = 20;
// How many journals may go aside in one minute; past that a journal stays where it is.
constexpr int kCopiesOfAMinute = 1000;
constexpr int kMinutesBetweenFailureBoxes = 5;
// How many live journals a folder may hold side by side, each left by a run that could not read
// the ones before it.
constexpr int kLiveJournals = 5;
// The largest journal reopened: a log as large as the largest EDI file, with the changes written
// behind its whole state before the journal is rewritten, stays well below it.
constexpr std::size_t kLargestKept = 64U << 20U;
constexpr std::string_view kFinishedPrefix = "vantor-";
constexpr std::string_view kJournalExtension = ".journal";

// "vantor.journal", then "vantor.2.journal" and on.
std::string liveName(int index) {
  return index == 0 ? "vantor.journal"
                    : "vantor." + std::to_string(index + 1) + std::string(kJournalExtension);
}

// The screens of a journal that is only being looked at: no box, no window.
class QuietDialogs final : public Dialogs {
 public:
  void showMessage(const Message& /*message*/) override {}

 protected:
  [[nodiscard]] bool ask(const std::string& /*question*/, Answer /*byDefault*/) override {
    return false;
  }
};

class NoWindows final : public Screens {
 public:
  void showLog() override {}
  void showHeader() override {}
  void showContact() override {}
  void closeContact() override {}
  void syncViews() override {}
  void closeAll() override {}
};

long minuteNumber(const DateTime& moment) {
  using namespace std::chrono;
  const sys_days day{year{moment.year} / moment.month / moment.day};
  return day.time_since_epoch().count() * 1440L + moment.hour * 60L + moment.minute;
}

// The contacts of a contest's band logs as their scores count them, how many bands hold them,
// and the last record of the band logged (or of the last band that holds one).
struct LogSummary {
  std::size_t contacts = 0;
  std::size_t bands = 0;
  std::string lastTime;
  std::string lastCall;
};

std::optional<Contact> lastRecord(LogDocument& document) {
  const std::span<const LogLine> lines = document.lines();
  const auto last = std::find_if(lines.rbegin(), lines.rend(),
                                 [](const LogLine& line) { return line.isRecord(); });
  if (last == lines.rend()) {
    return std::nullopt;
  }
  return document.contactAt(lines.size() - 1 - static_cast<std::size_t>(last - lines.rbegin()));
}

LogSummary summarize(LogForm& log) {
  LogSummary summary;
  std::optional<Contact> last;
  for (std::size_t index = 0; index < log.bandCount(); ++index) {
    LogDocument& document = log.bandAt(index).document();
    const std::size_t contacts = document.score().contacts();
    summary.contacts += contacts;
    summary.bands += contacts > 0 ? 1 : 0;
    if (auto record = lastRecord(document); record && (!last || &document == &log.document())) {
      last = std::move(record);
    }
  }
  if (last) {
    summary.lastTime = last->time;
    summary.lastCall = last->call;
  }
  return summary;
}

// What a found log holds, to follow "un LOG" in a question: ": 3 contatti, l'ultimo alle 0840
// (QQ3ABC, Contest IARU Reg. I VHF)", with "su 2 bande" after the count when several bands hold
// contacts, or ", senza contatti".
std::string logDescription(Session& found) {
  const std::string contest = found.header().contestList.text();
  const LogSummary log = found.hasLog() ? summarize(found.log()) : LogSummary{};
  if (log.contacts > 0) {
    const std::string bands = log.bands > 1 ? " su " + std::to_string(log.bands) + " bande" : "";
    return ": " + std::to_string(log.contacts) +
           (log.contacts == 1 ? " contatto, alle " : " contatti" + bands + ", l'ultimo alle ") +
           messageQuote(log.lastTime) + " (" + messageQuote(log.lastCall) + ", " +
           messageQuote(contest) + ")";
  }
  return contest == kPlaceholder ? ", senza contatti"
                                 : ", senza contatti (" + messageQuote(contest) + ")";
}

std::string resumeQuestion(Session& found) {
  return "È stato trovato un LOG non chiuso" + logDescription(found) + ". Riprenderlo?";
}

// Applies the entries in order; an entry that cannot be read ends the restoring there. Returns
// how many were applied whole.
std::size_t applyAll(Session& session, const JournalContents& contents) {
  std::size_t applied = 0;
  for (const JournalEntry& entry : contents.entries) {
    try {
      applyEntry(session, entry, contents.format);
    } catch (const StateError&) {
      break;
    }
    ++applied;
  }
  return applied;
}

// Whether the entries hold anything the operator typed: more than the start of a fresh session.
bool holdsTyping(const JournalContents& contents) {
  const auto& entries = contents.entries;
  return !entries.empty() && !(entries.size() == 1 && entries[0].front() == entry_kind::freshStart);
}

bool isFinished(const JournalContents& contents) {
  return !contents.entries.empty() && contents.entries.back().front() == entry_kind::end;
}

std::string statusText(JournalContents::Status status) {
  switch (status) {
    case JournalContents::Status::NewerVersion:
      return "è di una versione più recente di Vantor";
    case JournalContents::Status::NotAJournal:
      return "non è un giornale di Vantor";
    default:
      return "è danneggiato";
  }
}

bool isFinishedName(const std::string& name) {
  return name.starts_with(kFinishedPrefix) && name.ends_with(kJournalExtension) &&
         name.find("-non-ripreso") == std::string::npos &&
         name.find("-danneggiato") == std::string::npos;
}

}  // namespace

bool isJournalFile(const std::filesystem::path& path) {
  return path.extension() == kJournalExtension;
}

Journal::Journal(Session& session, std::filesystem::path folder, platform::FileSystem& files)
    : m_session(session), m_folder(std::move(folder)), m_files(files), m_recorder(session) {}

Journal::~Journal() {
  m_session.keepJournal(nullptr);
}

bool Journal::start() {
  const std::error_code error = m_lock.take(m_files, m_folder);
  if (error == std::errc::resource_unavailable_try_again) {
    tell("Vantor è già aperto e tiene il LOG in " + quotedPath(m_folder) +
         ": chiudere l'altro programma prima di aprirne un altro.");
    return false;
  }
  m_session.keepJournal(this);
  if (error) {
    fail(error);
    return true;
  }
  removeTemporaries();
  takeLiveJournal();
  return true;
}

// Every live journal a run left is looked at, in order, until one is resumed: one that cannot be
// read is told and left as it is, one that is not resumed goes aside. This run's journal is the
// resumed one, else the first name free. It is written whole now when it replaces a journal
// that held nothing typed; else at the first change, since a fresh start holds nothing the
// operator typed and the first window need not wait for the disk.
void Journal::takeLiveJournal() {
  for (int index = 0; index < kLiveJournals && !m_resumed; ++index) {
    const std::filesystem::path path = m_folder / liveName(index);
    std::string bytes;
    const std::error_code error = platform::readWholeFile(
        m_files, path, bytes, std::numeric_limits<std::size_t>::max(), false);
    Found found = Found::Free;
    if (error && error != std::errc::no_such_file_or_directory) {
      tell("Il giornale del LOG " + quotedPath(path) + " non si può leggere: " + error.message() +
           ". Resta com'è: il LOG si tiene in un giornale nuovo accanto.");
      found = Found::Kept;
    } else if (!error) {
      found = offerResume(path, decodeJournal(bytes));
    }
    m_resumed = found == Found::Resumed;
    if (m_resumed || (found == Found::Free && m_livePath.empty())) {
      m_livePath = path;
    }
  }
  static_cast<void>(m_recorder.whole(entry_kind::freshStart));
  m_needsSnapshot = true;
  platform::FileStatus status;
  if (m_resumed || (!m_livePath.empty() && !m_files.status(m_livePath, status))) {
    writeSnapshot(m_resumed ? entry_kind::whole : entry_kind::freshStart);
  }
}

// A journal that ended cleanly goes aside as finished; one that did not is offered for resuming
// when it holds more than a fresh start, and goes aside when the operator does not resume it.
Journal::Found Journal::offerResume(const std::filesystem::path& path,
                                    const JournalContents& contents) {
  if (contents.status != JournalContents::Status::Complete &&
      contents.status != JournalContents::Status::Torn) {
    return setDamagedAside(path, contents);
  }
  if (isFinished(contents)) {
    return setAside(path, "") ? Found::Free : Found::Kept;
  }
  if (!holdsTyping(contents)) {
    return Found::Free;
  }
  if (resume(contents)) {
    return Found::Resumed;
  }
  return setAside(path, "-non-ripreso") ? Found::Free : Found::Kept;
}

// Asks whether to resume the log the entries hold; on "Sì" the screens take it.
bool Journal::resume(const JournalContents& contents) {
  QuietDialogs quiet;
  NoWindows none;
  Session found(m_session.clock(), quiet, none);
  applyAll(found, contents);
  // "No" sets the log aside, out of the operator's sight: Enter must not do it by a slip.
  if (!m_session.unrecordedDialogs().askYesNo(resumeQuestion(found), Answer::Yes)) {
    return false;
  }
  takeLog(contents);
  return true;
}

// The screens take the entries' log, read at once with its summary shown, the focus in the call
// field when the log screen shows.
void Journal::takeLog(const JournalContents& contents) {
  applyAll(m_session, contents);
  if (m_session.hasLog()) {
    m_session.log().takeRestoredLog();
  }
  if (m_session.logShown()) {
    m_session.log().focusCall();
  }
}

void Journal::reopen(const std::filesystem::path& path) {
  const std::string name = quotedPath(path.filename());
  // A log resumed after a crash is never mixed with the file's.
  if (m_resumed) {
    tell("Il file " + name + " non è stato aperto: è stato ripreso il LOG non chiuso.");
    return;
  }
  std::optional<JournalContents> contents = readKept(path, name);
  if (!contents || !keepReopened(*contents, name)) {
    return;
  }
  takeLog(*contents);
  // The log reaches this run's journal before its window takes its own copy.
  writeSnapshot(entry_kind::whole);
  if (m_session.logShown()) {
    m_session.showLog();
  }
}

// The entries of a journal to reopen, or nothing when the file cannot be read or holds no
// journal of this version; the operator has then been told why. The file is only read.
std::optional<JournalContents> Journal::readKept(const std::filesystem::path& path,
                                                 const std::string& name) {
  std::string bytes;
  const std::error_code error = platform::readWholeFile(m_files, path, bytes, kLargestKept);
  if (error == std::errc::file_too_large) {
    tell("Il file " + name +
         " non è stato aperto: è troppo grande per un giornale di Vantor (più di " +
         std::to_string(kLargestKept >> 20U) + " MiB).");
    return std::nullopt;
  }
  if (error) {
    tell("Impossibile aprire il file " + name + ": " + error.message());
    return std::nullopt;
  }
  JournalContents contents = decodeJournal(bytes);
  if (contents.status == JournalContents::Status::NotAJournal ||
      contents.status == JournalContents::Status::NewerVersion) {
    tell("Il file " + name + " " + statusText(contents.status) + ".");
    return std::nullopt;
  }
  return contents;
}

// Keeps the entries a scratch session takes whole, and tells whether the screens take them: not
// when they hold nothing the operator typed, and the part of a damaged journal before the damage
// only when the operator agrees.
bool Journal::keepReopened(JournalContents& contents, const std::string& name) {
  QuietDialogs quiet;
  NoWindows none;
  Session found(m_session.clock(), quiet, none);
  contents.entries.resize(applyAll(found, contents));
  const bool damaged = contents.status == JournalContents::Status::Damaged;
  if (!holdsTyping(contents)) {
    tell("Il file " + name +
         (damaged ? " è danneggiato e non contiene nulla da riprendere."
                  : " non contiene nessun LOG da riprendere."));
    return false;
  }
  return !damaged || m_session.unrecordedDialogs().askYesNo(
                         "Il file " + name + " è danneggiato. Prima del danno c'è un LOG" +
                         logDescription(found) + ". Riprenderlo?");
}

// A journal that does not decode whole goes aside as it is, never rewritten, and is told about;
// what a damaged one holds before the damage may still be resumed.
Journal::Found Journal::setDamagedAside(const std::filesystem::path& path,
                                        const JournalContents& contents) {
  const std::filesystem::path aside = datedPath("-danneggiato");
  if (const std::error_code error = m_files.rename(path, aside)) {
    tell("Il giornale del LOG " + quotedPath(path) + " " + statusText(contents.status) +
         " e non si può mettere da parte: " + error.message() +
         ". Resta com'è: il LOG si tiene in un giornale nuovo accanto.");
    return Found::Kept;
  }
  static_cast<void>(platform::syncFolder(m_files, m_folder));
  const bool resumable = contents.status == JournalContents::Status::Damaged &&
                         holdsTyping(contents) && !isFinished(contents);
  tell("Il giornale del LOG " + quotedPath(path) + " " + statusText(contents.status) +
       (resumable ? ": si può riprendere quanto scritto prima del danno; il file resta da parte "
                    "come "
                  : ": è stato messo da parte come ") +
       quotedPath(aside.filename()) + ".");
  return resumable && resume(contents) ? Found::Resumed : Found::Free;
}

bool Journal::setAside(const std::filesystem::path& path, const std::string& why) {
  std::error_code error = m_files.rename(path, datedPath(why));
  if (!error) {
    error = platform::syncFolder(m_files, m_folder);
  }
  if (error) {
    fail(error);
    return false;
  }
  if (why.empty()) {
    pruneFinished();
  }
  return true;
}

// The temporary files of a whole state that a power cut or a kill left: the lock is held, so no
// other program is writing them.
void Journal::removeTemporaries() {
  std::vector<std::string> names;
  static_cast<void>(m_files.list(m_folder, names));
  for (const std::string& name : names) {
    for (int index = 0; index < kLiveJournals; ++index) {
      if (platform::isTemporaryFor(name, liveName(index))) {
        static_cast<void>(m_files.remove(m_folder / name));
      }
    }
  }
}

// The first live journal's name that names nothing; empty when every one is taken.
std::filesystem::path Journal::freeLivePath() {
  for (int index = 0; index < kLiveJournals; ++index) {
    const std::filesystem::path path = m_folder / liveName(index);
    platform::FileStatus status;
    if (m_files.status(path, status) == std::errc::no_such_file_or_directory) {
      return path;
    }
  }
  return {};
}

// Whether the journal and the lock are still the files at their paths: a folder deleted while
// the program runs takes them both away.
bool Journal::inPlace() const {
  return m_lock.lockFileInPlace() && m_file.isAt(m_livePath);
}

// The journal or the lock went: the operator is told, and the journal is written whole where it
// stood, the folder and the lock made anew.
void Journal::writeAnew() {
  tellNowAndThen("Il giornale del LOG " + quotedPath(m_livePath) +
                 " è stato cancellato o sostituito mentre Vantor lo scriveva: viene scritto di "
                 "nuovo per intero.");
  writeSnapshot(entry_kind::whole);
}

void Journal::writeSnapshot(std::string_view kind) {
  if (!m_lock.lockFileInPlace()) {
    if (const std::error_code error = m_lock.retake()) {
      fail(error);
      return;
    }
  }
  std::string bytes(kJournalHeader);
  appendEntry(bytes, m_recorder.whole(kind));
  m_file.close();
  if (const std::error_code error = replaceLive(bytes)) {
    fail(error);
    return;
  }
  m_snapshotBytes = bytes.size();
  m_bytesSinceSnapshot = 0;
  m_needsSnapshot = false;
  m_pending = false;
  m_failureShown.reset();
}

// The whole state goes to the live journal's path; when something that is no journal took that
// name (a folder, say), to the next name free beside it.
std::error_code Journal::replaceLive(const std::string& bytes) {
  if (m_livePath.empty()) {
    m_livePath = freeLivePath();
  }
  if (m_livePath.empty()) {
    return std::make_error_code(std::errc::file_exists);
  }
  std::error_code error = platform::replaceDurably(m_files, m_livePath, {bytes},
                                                   platform::FileAccess::Private, &m_file);
  platform::FileStatus status;
  if (error && !m_files.status(m_livePath, status) && !status.isRegular()) {
    m_livePath = freeLivePath();
    error = m_livePath.empty() ? std::make_error_code(std::errc::file_exists)
                               : platform::replaceDurably(m_files, m_livePath, {bytes},
                                                          platform::FileAccess::Private, &m_file);
  }
  return error;
}

void Journal::setContestAside() {
  if (m_finished || m_livePath.empty()) {
    return;
  }
  syncPending();
  m_file.close();
  if (setAside(m_livePath, "-contest-precedente")) {
    m_needsSnapshot = true;
  }
}

void Journal::record() {
  if (m_finished) {
    return;
  }
  auto changes = m_recorder.changes();
  if (!changes) {
    return;
  }
  if (m_needsSnapshot || !inPlace()) {
    changes.reset();
    if (m_needsSnapshot) {
      writeSnapshot(entry_kind::whole);
    } else {
      writeAnew();
    }
    return;
  }
  write(encodeEntry(changes->entry), changes->urgent);
  // The change's texts are let go before a whole state is written: at a reopen both hold the
  // whole log.
  changes.reset();
  if (!m_needsSnapshot && m_bytesSinceSnapshot > std::max(kSmallestRewrite, 2 * m_snapshotBytes)) {
    writeSnapshot(entry_kind::whole);
  }
}

void Journal::write(const std::string& bytes, bool urgent) {
  std::error_code error = m_file.append(bytes);
  if (!error && urgent) {
    error = m_file.sync();
  }
  if (error) {
    fail(error);
    return;
  }
  m_pending = !urgent;
  m_bytesSinceSnapshot += bytes.size();
}

void Journal::syncPending() {
  if (!m_pending) {
    return;
  }
  m_pending = false;
  if (!inPlace()) {
    writeAnew();
  } else if (const std::error_code error = m_file.sync()) {
    fail(error);
  }
}

// Only this run's own journal is marked finished and set aside: a file that took its name is
// left as it is.
void Journal::finish() {
  if (m_finished) {
    return;
  }
  record();
  if (!m_needsSnapshot && inPlace()) {
    write(encodeEntry({std::string(entry_kind::end)}), true);
  }
  const bool own = !m_needsSnapshot && inPlace();
  m_finished = true;
  m_file.close();
  if (own) {
    static_cast<void>(setAside(m_livePath, ""));
  }
}

// What was not written is written whole on the next change: nothing is lost as long as the
// program runs.
void Journal::fail(const std::error_code& error) {
  m_needsSnapshot = true;
  m_pending = false;
  tellNowAndThen("Impossibile scrivere il giornale del LOG in " + quotedPath(m_folder) + ": " +
                 error.message() + ". Il LOG resta in memoria; si riprova alla prossima modifica.");
}

void Journal::tellNowAndThen(const std::string& text) {
  const DateTime now = m_session.clock().now();
  if (m_failureShown &&
      minuteNumber(now) - minuteNumber(*m_failureShown) < kMinutesBetweenFailureBoxes) {
    return;
  }
  m_failureShown = now;
  tell(text);
}

void Journal::tell(const std::string& text) {
  m_session.unrecordedDialogs().showMessage(Message{text});
}

// "vantor-YYYYMMDD-HHMM<suffix>.journal", or the same with "-2" and on when that is taken;
// empty when every copy is.
std::filesystem::path Journal::datedPath(const std::string& suffix) {
  const DateTime now = m_session.clock().now();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute);
  const std::string stem = std::string(kFinishedPrefix) + stamp + suffix;
  for (int copy = 1; copy <= kCopiesOfAMinute; ++copy) {
    const std::string name = copy == 1 ? stem : stem + "-" + std::to_string(copy);
    const std::filesystem::path path = m_folder / (name + std::string(kJournalExtension));
    platform::FileStatus status;
    if (m_files.status(path, status) == std::errc::no_such_file_or_directory) {
      return path;
    }
  }
  return {};
}

// The oldest finished journals go, by when they were last written: their names would sort a
// tenth copy of one minute before its second.
void Journal::pruneFinished() {
  std::vector<std::string> names;
  static_cast<void>(m_files.list(m_folder, names));
  std::vector<std::pair<std::int64_t, std::filesystem::path>> finished;
  for (const std::string& name : names) {
    platform::FileStatus status;
    if (isFinishedName(name) && !m_files.status(m_folder / name, status) && status.isRegular()) {
      finished.emplace_back(status.modifiedNanoseconds, m_folder / name);
    }
  }
  std::sort(finished.begin(), finished.end());
  for (std::size_t i = 0; i + kFinishedKept < finished.size(); ++i) {
    static_cast<void>(m_files.remove(finished[i].second));
  }
}

}  // namespace vantor
