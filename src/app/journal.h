#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/journal_codec.h"
#include "app/session_state.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/durable_file.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"

namespace vantor {

class Session;

// Whether a file given to open is a journal, by its name ("....journal"), not an EDI file.
[[nodiscard]] bool isJournalFile(const std::filesystem::path& path);

// The log kept on disk while the program runs, so that a crash, a kill or a power cut loses
// nothing the operator cannot type again. The live journal in the data folder starts with the
// whole state of the screens and grows by one entry per operator action; now and then it is
// rewritten as one whole state. A clean end marks it finished and keeps it under a dated name.
//
// The folder and its files are the operator's alone. A journal is never replaced unread: one that
// cannot be read stays as it is and the log goes into a new one beside it ("vantor.2.journal"
// and on); one that is damaged goes aside whole. A journal deleted or replaced while the program
// runs is noticed before the next write reaches the disk and written anew, whole.
class Journal {
 public:
  Journal(Session& session, std::filesystem::path folder,
          platform::FileSystem& files = platform::systemFiles());
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  ~Journal();

  // Start-up, before any window is shown: offers to resume a log the last run did not close,
  // then starts the live journal. False when another running program keeps this folder's
  // journal; the operator has been told.
  bool start();

  // At start-up, once start chose this run's journal: the log of a journal kept in the data
  // folder (finished, set aside unresumed, or damaged), or anywhere, goes on the screens as a
  // resumed log does, asking nothing, reaches this run's journal at once, and the log screen shows
  // when it was shown. The file is only read. One that cannot be read, is too large, is no journal
  // of this version or holds nothing typed is told and the screens stay as they are; of a damaged
  // one, what precedes the damage is taken when the operator agrees. Refused, with a box, when
  // this start resumed a log not closed.
  void reopen(const std::filesystem::path& path);

  // After each operator action: writes what changed. It reaches the disk at once, unless only
  // typing that may wait changed; then `hasPending` holds until syncPending is called.
  void record();
  [[nodiscard]] bool hasPending() const { return m_pending; }
  void syncPending();

  // A new contest: the live journal, which holds the earlier one up to this moment, is kept aside
  // under a dated name, and the next action starts the live journal anew.
  void setContestAside();

  // The program ends cleanly: the journal is marked finished and kept under a dated name.
  void finish();

  // The live journal this run writes; empty before start chose it.
  [[nodiscard]] const std::filesystem::path& livePath() const { return m_livePath; }

 private:
  // What became of a live journal a run left.
  enum class Found {
    Resumed,  // its log is on the screens; this run goes on writing it
    Free,     // its name may take this run's journal: it went aside, or held nothing typed
    Kept,     // it stays where it is
  };
  void takeLiveJournal();
  Found offerResume(const std::filesystem::path& path, const JournalContents& contents);
  [[nodiscard]] bool resume(const JournalContents& contents);
  void takeLog(const JournalContents& contents);
  [[nodiscard]] std::optional<JournalContents> readKept(const std::filesystem::path& path,
                                                        const std::string& name);
  [[nodiscard]] bool keepReopened(JournalContents& contents, const std::string& name);
  Found setDamagedAside(const std::filesystem::path& path, const JournalContents& contents);
  [[nodiscard]] bool setAside(const std::filesystem::path& path, const std::string& why);
  void removeTemporaries();
  [[nodiscard]] std::filesystem::path freeLivePath();
  [[nodiscard]] bool inPlace() const;
  void writeAnew();
  void writeSnapshot(std::string_view kind);
  [[nodiscard]] std::error_code replaceLive(const std::string& bytes);
  void write(const std::string& bytes, bool urgent);
  void fail(const std::error_code& error);
  void tellNowAndThen(const std::string& text);
  void tell(const std::string& text);
  [[nodiscard]] std::filesystem::path datedPath(const std::string& suffix);
  void pruneFinished();

  Session& m_session;
  std::filesystem::path m_folder;
  platform::FileSystem& m_files;
  SessionRecorder m_recorder;
  platform::FolderLock m_lock;
  platform::AppendOnlyFile m_file;
  std::filesystem::path m_livePath;
  std::size_t m_snapshotBytes = 0;
  std::size_t m_bytesSinceSnapshot = 0;
  bool m_pending = false;
  bool m_needsSnapshot = false;
  bool m_finished = false;
  // This start resumed a log not closed: no other log joins it.
  bool m_resumed = false;
  // While writing keeps failing the operator is told again only now and then.
  std::optional<DateTime> m_failureShown;
};

}  // namespace vantor
