#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "app/journal_codec.h"

namespace vantor {

class Control;
class Form;
class Session;

// The first text of an entry: what kind of entry it is.
namespace entry_kind {
inline constexpr std::string_view freshStart = "F";  // the whole state of a new session
inline constexpr std::string_view whole = "W";       // the whole state of a resumed one
inline constexpr std::string_view changes = "C";     // what one operator action changed
inline constexpr std::string_view end = "E";         // the program ended cleanly
}  // namespace entry_kind

// Writes the session's screens as journal entries: the whole state, or what changed since the
// entry before. Each screen's group holds its own state and its controls' states by name.
class SessionRecorder {
 public:
  explicit SessionRecorder(Session& session) : m_session(session) {}

  [[nodiscard]] JournalEntry whole(std::string_view kind);

  struct Changes {
    JournalEntry entry;
    // More than the typing that may wait a second changed: the entry must reach the disk now.
    bool urgent = false;
  };
  // Nothing when nothing changed.
  [[nodiscard]] std::optional<Changes> changes();

 private:
  void startEntry(JournalEntry& entry, std::string_view kind) const;
  bool addForm(JournalEntry& entry, char tag, Form& form, bool whole);
  bool addLog(JournalEntry& entry, bool whole);

  Session& m_session;
  std::unordered_map<const Control*, std::uint64_t> m_savedRevisions;
  std::unordered_map<char, const Form*> m_savedForms;
  // Each screen's own state as last written.
  std::unordered_map<char, ControlState> m_savedFormStates;
  bool m_savedLogShown = false;
};

// Brings the session's screens to the state an entry holds, written in layout `format`, running
// no behaviour. Throws StateError for an entry it cannot read.
void applyEntry(Session& session, const JournalEntry& entry, int format);

}  // namespace vantor
