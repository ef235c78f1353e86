#include "app/session_state.h"

#include <algorithm>
#include <string>

#include "app/session.h"
#include "form/control_state.h"
#include "form/form.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

namespace {

// The band logs' groups, after the log screen's: 'a' for the first, and on.
constexpr char kFirstBandTag = 'a';
constexpr std::size_t kBandTags = LogForm::kMostBandLogs;

bool isBandTag(char tag) {
  return tag >= kFirstBandTag && static_cast<std::size_t>(tag - kFirstBandTag) < kBandTags;
}

// The log screen's controls whose typing may wait a second before it is synced to the disk: the
// entry row of the contact being typed, its distance and the log buffer. Everything the hidden
// calculator shows follows from them.
bool mayWait(char tag, const Control& control) {
  static constexpr std::string_view entryRow[] = {"Text5",  "Text6",  "Text8", "Text9",
                                                  "Text10", "Text16", "Text15"};
  return tag == 'B' || isBandTag(tag) ||
         (tag == 'L' && std::find(std::begin(entryRow), std::end(entryRow), control.name()) !=
                            std::end(entryRow));
}

Form* formOf(Session& session, std::string_view tag) {
  if (tag.size() == 1 && isBandTag(tag[0])) {
    const auto index = static_cast<std::size_t>(tag[0] - kFirstBandTag);
    if (!session.hasLog() || index >= session.log().bandCount()) {
      throw StateError("no band log " + std::string(tag));
    }
    return &session.log().bandAt(index);
  }
  if (tag == "H") {
    return &session.header();
  }
  if (tag == "L") {
    return &session.log();
  }
  if (tag == "B") {
    return &session.bearing();
  }
  throw StateError("not a screen: " + std::string(tag));
}

Control& controlOf(Form& form, const std::string& name) {
  for (Control* control : form.controls()) {
    if (control->name() == name) {
      return *control;
    }
  }
  throw StateError("no control " + name);
}

// Writes `write`'s items after their count.
template <typename Write>
void addCounted(JournalEntry& entry, Write write) {
  const std::size_t countAt = entry.size();
  entry.emplace_back();
  write(entry);
  entry[countAt] = std::to_string(entry.size() - countAt - 1);
}

// Runs `read` over the next counted items and checks that it read exactly those.
template <typename Read>
void readCounted(StateReader& reader, Read read) {
  const std::size_t count = reader.number();
  const std::size_t end = reader.position() + count;
  read();
  if (reader.position() != end) {
    throw StateError("a state of the wrong length");
  }
}

void applyGroup(Session& session, StateReader& reader) {
  Form& form = *formOf(session, reader.text());
  readCounted(reader, [&] { form.restoreFormState(reader); });
  const std::size_t controls = reader.number();
  for (std::size_t i = 0; i < controls; ++i) {
    Control& control = controlOf(form, reader.text());
    readCounted(reader, [&] { control.restoreState(reader); });
  }
}

}  // namespace

void SessionRecorder::startEntry(JournalEntry& entry, std::string_view kind) const {
  entry.emplace_back(kind);
  entry.emplace_back(m_session.hasLog() ? "1" : "0");
  entry.emplace_back(m_session.hasBearing() ? "1" : "0");
  entry.emplace_back(m_session.logShown() ? "1" : "0");
}

// Adds the screen's group when it is new or changed; returns whether a control that must reach
// the disk at once changed.
bool SessionRecorder::addForm(JournalEntry& entry, char tag, Form& form, bool whole) {
  whole = whole || m_savedForms[tag] != &form;
  std::vector<Control*> changed;
  for (Control* control : form.keptControls()) {
    const auto saved = m_savedRevisions.find(control);
    if (whole || saved == m_savedRevisions.end() || saved->second != control->revision()) {
      changed.push_back(control);
    }
  }
  ControlState formState;
  form.saveFormState(formState);
  ControlState& savedState = m_savedFormStates[tag];
  if (changed.empty() && !whole && formState == savedState) {
    return false;
  }
  m_savedForms[tag] = &form;
  entry.emplace_back(1, tag);
  entry.push_back(std::to_string(formState.size()));
  entry.insert(entry.end(), formState.begin(), formState.end());
  savedState = std::move(formState);
  entry.push_back(std::to_string(changed.size()));
  bool urgent = whole;
  for (Control* control : changed) {
    entry.push_back(control->name());
    addCounted(entry, [&](ControlState& state) { control->saveState(state, whole); });
    m_savedRevisions[control] = control->revision();
    urgent = urgent || !mayWait(tag, *control);
  }
  return urgent;
}

// The log screen's group, then each band log's, so that a restore knows the band logs first.
bool SessionRecorder::addLog(JournalEntry& entry, bool whole) {
  LogForm& log = m_session.log();
  bool urgent = addForm(entry, 'L', log, whole);
  const std::size_t bands = std::min(log.bandCount(), kBandTags);
  for (std::size_t index = 0; index < bands; ++index) {
    const char tag = static_cast<char>(kFirstBandTag + static_cast<char>(index));
    urgent = addForm(entry, tag, log.bandAt(index), whole) || urgent;
  }
  return urgent;
}

JournalEntry SessionRecorder::whole(std::string_view kind) {
  JournalEntry entry;
  startEntry(entry, kind);
  addForm(entry, 'H', m_session.header(), true);
  if (m_session.hasLog()) {
    addLog(entry, true);
  }
  if (m_session.hasBearing()) {
    addForm(entry, 'B', m_session.bearing(), true);
  }
  m_savedLogShown = m_session.logShown();
  return entry;
}

std::optional<SessionRecorder::Changes> SessionRecorder::changes() {
  Changes changes;
  startEntry(changes.entry, entry_kind::changes);
  const std::size_t flagsEnd = changes.entry.size();
  changes.urgent = addForm(changes.entry, 'H', m_session.header(), false);
  if (m_session.hasLog()) {
    changes.urgent = addLog(changes.entry, false) || changes.urgent;
  }
  if (m_session.hasBearing()) {
    changes.urgent = addForm(changes.entry, 'B', m_session.bearing(), false) || changes.urgent;
  }
  const bool shownChanged = m_savedLogShown != m_session.logShown();
  m_savedLogShown = m_session.logShown();
  if (changes.entry.size() == flagsEnd && !shownChanged) {
    return std::nullopt;
  }
  changes.urgent = changes.urgent || shownChanged;
  return changes;
}

void applyEntry(Session& session, const JournalEntry& entry, int format) {
  StateReader reader(entry, 1, format);
  const bool hasLog = reader.flag();
  const bool hasBearing = reader.flag();
  session.restoreLogShown(reader.flag());
  if (hasLog) {
    static_cast<void>(session.log());
  }
  if (hasBearing) {
    static_cast<void>(session.bearing());
  }
  while (!reader.atEnd()) {
    applyGroup(session, reader);
  }
}

}  // namespace vantor
