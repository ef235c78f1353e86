#include "app/journal.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/session.h"
#include "form/control_state.h"
#include "form/text.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "log/qso_line.h"

namespace vantor {

namespace {

// A journal this large beyond its last whole state is rewritten as one whole state.
constexpr std::size_t kSmallestRewrite = 4U << 20;
constexpr std::size_t kFinishedKept = 20;
constexpr int kMinutesBetweenFailureBoxes = 5;
constexpr std::string_view kFinishedPrefix = "vantor-";
constexpr std::string_view kJournalExtension = ".journal";

// The screens of a journal that is only being looked at: no box, no window.
class QuietDialogs final : public Dialogs {
 public:
  void showMessage(const Message& /*message*/) override {}
  [[nodiscard]] bool askYesNo(const std::string& /*question*/) override { return false; }
};

class NoWindows final : public Screens {
 public:
  void showLog() override {}
  void showHeader() override {}
  void closeAll() override {}
};

long minuteNumber(const LocalDateTime& moment) {
  using namespace std::chrono;
  const sys_days day{year{moment.year} / moment.month / moment.day};
  return day.time_since_epoch().count() * 1440L + moment.hour * 60L + moment.minute;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The contacts of a log buffer: its lines of the QSO record's shape.
struct LogSummary {
  std::size_t contacts = 0;
  std::string lastTime;
  std::string lastCall;
};

LogSummary summarize(std::string_view buffer) {
  LogSummary summary;
  forEachLine(buffer, [&summary](std::string_view line) {
    if (const auto fields = readQsoRecord(line)) {
      ++summary.contacts;
      summary.lastTime = (*fields)[qso::time];
      summary.lastCall = (*fields)[qso::call];
    }
  });
  return summary;
}

std::string resumeQuestion(Session& found) {
  const std::string contest = found.header().contestList.text();
  const LogSummary log = found.hasLog() ? summarize(found.log().logBuffer.text()) : LogSummary{};
  std::string question = "È stato trovato un LOG non chiuso";
  if (log.contacts == 0) {
    question += ", senza contatti";
    if (contest != kPlaceholder) {
      question += " (" + contest + ")";
    }
  } else {
    question += ": " + std::to_string(log.contacts) +
                (log.contacts == 1 ? " contatto, alle " : " contatti, l'ultimo alle ") +
                log.lastTime + " (" + log.lastCall + ", " + contest + ")";
  }
  return question + ". Riprenderlo?";
}

// Applies the entries in order; an entry that cannot be read ends the restoring there.
bool applyAll(Session& session, const JournalContents& contents) {
  for (const JournalEntry& entry : contents.entries) {
    try {
      applyEntry(session, entry, contents.format);
    } catch (const StateError&) {
      return false;
    }
  }
  return true;
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

Journal::Journal(Session& session, std::filesystem::path folder)
    : m_session(session), m_folder(std::move(folder)), m_recorder(session) {}

Journal::~Journal() {
  m_session.keepJournal(nullptr);
}

bool Journal::start() {
  std::error_code error;
  std::filesystem::create_directories(m_folder, error);
  if (!error) {
    error = m_lock.take(m_folder / "vantor.lock");
  }
  if (error == std::errc::resource_unavailable_try_again) {
    m_session.dialogs().showMessage(
        Message{"Vantor è già aperto e tiene il LOG in " + m_folder.string() +
                ": chiudere l'altro programma prima di aprirne un altro."});
    return false;
  }
  m_session.keepJournal(this);
  if (error) {
    fail(error);
    return true;
  }
  const bool resumed =
      std::filesystem::exists(livePath()) && offerResume(decodeJournal(readFile(livePath())));
  if (resumed || std::filesystem::exists(livePath())) {
    writeSnapshot(resumed ? entry_kind::whole : entry_kind::freshStart);
    return true;
  }
  // A fresh start holds nothing the operator typed, so the first window does not wait for the
  // disk: the live journal is written whole at the first change.
  static_cast<void>(m_recorder.whole(entry_kind::freshStart));
  m_needsSnapshot = true;
  return true;
}

// A journal that ended cleanly is kept as finished; one that did not is offered for resuming
// when it holds more than a fresh start. Nothing is ever thrown away: what is not resumed stays
// aside under a dated name.
bool Journal::offerResume(const JournalContents& contents) {
  using Status = JournalContents::Status;
  const auto& entries = contents.entries;
  if (contents.status != Status::Complete && contents.status != Status::Torn) {
    keepDamaged(contents.status);
  }
  if (contents.status == Status::NotAJournal || contents.status == Status::NewerVersion) {
    setAside("-danneggiato");
    return false;
  }
  if (!entries.empty() && entries.back().front() == entry_kind::end) {
    setAside("");
    return false;
  }
  if (entries.empty() || (entries.size() == 1 && entries[0].front() == entry_kind::freshStart)) {
    return false;
  }
  QuietDialogs quiet;
  NoWindows none;
  Session found(m_session.clock(), quiet, none);
  applyAll(found, contents);
  if (!m_session.dialogs().askYesNo(resumeQuestion(found))) {
    setAside("-non-ripreso");
    return false;
  }
  applyAll(m_session, contents);
  if (m_session.hasLog()) {
    m_session.log().indexLog();
  }
  if (m_session.logShown()) {
    m_session.log().focusCall();
  }
  return true;
}

// A journal that cannot be read whole is told about. One that is not a journal of this program
// then goes aside in place of the live one; of a damaged one a copy is kept aside, since what
// came before the damage can still be resumed.
void Journal::keepDamaged(JournalContents::Status status) {
  const std::filesystem::path aside = datedPath("-danneggiato");
  const std::string kept = aside.filename().string();
  if (status != JournalContents::Status::Damaged) {
    m_session.dialogs().showMessage(Message{"Il giornale del LOG " + livePath().string() + " " +
                                            statusText(status) + ": è stato messo da parte come " +
                                            kept + "."});
    return;
  }
  m_session.dialogs().showMessage(
      Message{"Il giornale del LOG " + livePath().string() +
              " è danneggiato: si può riprendere quanto scritto prima del danno; il file resta "
              "da parte come " +
              kept + "."});
  std::error_code ignored;
  std::filesystem::copy_file(livePath(), aside, ignored);
}

void Journal::setAside(const std::string& why) {
  std::error_code error;
  std::filesystem::rename(livePath(), datedPath(why), error);
  if (!error) {
    error = platform::syncFolder(m_folder);
  }
  if (error) {
    fail(error);
  }
  if (why.empty()) {
    pruneFinished();
  }
}

void Journal::writeSnapshot(std::string_view kind) {
  std::string bytes(kJournalHeader);
  appendEntry(bytes, m_recorder.whole(kind));
  m_file.close();
  std::error_code error = platform::replaceDurably(livePath(), bytes);
  if (!error) {
    error = m_file.open(livePath());
  }
  if (error) {
    fail(error);
    return;
  }
  m_snapshotBytes = bytes.size();
  m_bytesSinceSnapshot = 0;
  m_needsSnapshot = false;
  m_pending = false;
  m_failureShown.reset();
}

void Journal::record() {
  if (m_finished) {
    return;
  }
  auto changes = m_recorder.changes();
  if (!changes) {
    return;
  }
  if (m_needsSnapshot) {
    changes.reset();
    writeSnapshot(entry_kind::whole);
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
  if (const std::error_code error = m_file.sync()) {
    fail(error);
  }
}

void Journal::finish() {
  if (m_finished) {
    return;
  }
  record();
  if (!m_needsSnapshot) {
    write(encodeEntry({std::string(entry_kind::end)}), true);
  }
  m_finished = true;
  m_file.close();
  if (!m_needsSnapshot) {
    setAside("");
  }
}

// What was not written is written whole on the next change: nothing is lost as long as the
// program runs.
void Journal::fail(const std::error_code& error) {
  m_needsSnapshot = true;
  m_pending = false;
  const LocalDateTime now = m_session.clock().now();
  if (m_failureShown &&
      minuteNumber(now) - minuteNumber(*m_failureShown) < kMinutesBetweenFailureBoxes) {
    return;
  }
  m_failureShown = now;
  m_session.dialogs().showMessage(Message{"Impossibile scrivere il giornale del LOG in " +
                                          m_folder.string() + ": " + error.message() +
                                          ". Il LOG resta in memoria; si riprova alla prossima "
                                          "modifica."});
}

std::filesystem::path Journal::datedPath(const std::string& suffix) const {
  const LocalDateTime now = m_session.clock().now();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute);
  const std::string stem = std::string(kFinishedPrefix) + stamp + suffix;
  std::filesystem::path path = m_folder / (stem + std::string(kJournalExtension));
  for (int copy = 2; std::filesystem::exists(path); ++copy) {
    path = m_folder / (stem + "-" + std::to_string(copy) + std::string(kJournalExtension));
  }
  return path;
}

void Journal::pruneFinished() const {
  std::vector<std::filesystem::path> finished;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(m_folder, error)) {
    if (isFinishedName(entry.path().filename().string())) {
      finished.push_back(entry.path());
    }
  }
  std::sort(finished.begin(), finished.end());
  for (std::size_t i = 0; i + kFinishedKept < finished.size(); ++i) {
    std::filesystem::remove(finished[i], error);
  }
}

}  // namespace vantor
