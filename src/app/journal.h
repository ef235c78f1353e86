#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/journal_codec.h"
#include "app/session_state.h"
#include "platform/clock.h"
#include "platform/durable_file.h"

namespace vantor {

class Session;

// The log kept on disk while the program runs, so that a crash, a kill or a power cut loses
// nothing the operator cannot type again. The live journal in the data folder starts with the
// whole state of the screens and grows by one entry per operator action; now and then it is
// rewritten as one whole state. A clean end marks it finished and keeps it under a dated name.
class Journal {
 public:
  Journal(Session& session, std::filesystem::path folder);
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  ~Journal();

  // Start-up, before any window is shown: offers to resume a log the last run did not close,
  // then starts the live journal. False when another running program keeps this folder's
  // journal; the operator has been told.
  bool start();

  // After each operator action: writes what changed. It reaches the disk at once, unless only
  // typing that may wait changed; then `hasPending` holds until syncPending is called.
  void record();
  [[nodiscard]] bool hasPending() const { return m_pending; }
  void syncPending();

  // The program ends cleanly: the journal is marked finished and kept under a dated name.
  void finish();

  [[nodiscard]] std::filesystem::path livePath() const { return m_folder / "vantor.journal"; }

 private:
  // Whether the log was resumed.
  bool offerResume(const JournalContents& contents);
  void keepDamaged(JournalContents::Status status);
  void setAside(const std::string& why);
  void writeSnapshot(std::string_view kind);
  void write(const std::string& bytes, bool urgent);
  void fail(const std::error_code& error);
  [[nodiscard]] std::filesystem::path datedPath(const std::string& suffix) const;
  void pruneFinished() const;

  Session& m_session;
  std::filesystem::path m_folder;
  SessionRecorder m_recorder;
  platform::FileLock m_lock;
  platform::AppendOnlyFile m_file;
  std::size_t m_snapshotBytes = 0;
  std::size_t m_bytesSinceSnapshot = 0;
  bool m_pending = false;
  bool m_needsSnapshot = false;
  bool m_finished = false;
  // While writing keeps failing the operator is told again only now and then.
  std::optional<LocalDateTime> m_failureShown;
};

}  // namespace vantor
