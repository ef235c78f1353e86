#include "form/field.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "form/text.h"

namespace vantor {

namespace {

// Behaviours that write fields may re-enter, but a chain this deep is a cycle.
constexpr int kMaxChangeDepth = 32;

std::string withoutLineBreaks(std::string_view text) {
  std::string flat(text);
  std::replace(flat.begin(), flat.end(), '\r', ' ');
  std::replace(flat.begin(), flat.end(), '\n', ' ');
  return flat;
}

// How many bytes two texts share at their start, or at their end with `fromEnd`, up to `limit`.
// The log buffer is megabytes long and an edit touches a line: blocks are compared with memcmp,
// many bytes at a time, and only the block that differs byte by byte.
std::size_t commonBytes(std::string_view a, std::string_view b, std::size_t limit, bool fromEnd) {
  constexpr std::size_t kBlock = 256;
  const auto at = [fromEnd](std::string_view text, std::size_t skipped, std::size_t length) {
    return text.data() + (fromEnd ? text.size() - skipped - length : skipped);
  };
  std::size_t common = 0;
  while (common + kBlock <= limit &&
         std::memcmp(at(a, common, kBlock), at(b, common, kBlock), kBlock) == 0) {
    common += kBlock;
  }
  while (common < limit && *at(a, common, 1) == *at(b, common, 1)) {
    ++common;
  }
  return common;
}

}  // namespace

Field::Field(std::string name, std::string_view initialText, Lines lines)
    : Control(std::move(name)),
      m_text(lines == Lines::Single ? withoutLineBreaks(initialText) : std::string(initialText)),
      m_lines(lines) {}

void Field::setText(std::string_view text) {
  write(text, std::nullopt);
}

void Field::edit(std::string_view text, std::size_t caret) {
  write(text, caret);
}

// A multi-line text is compared and stored as given: of the log buffer, megabytes long, only the
// part between the two texts' common start and common end is copied, into the room it has.
void Field::write(std::string_view text, std::optional<std::size_t> caret) {
  std::string room;
  text = stored(text, room);
  if (text == m_text) {
    if (caret) {
      setCaret(*caret);
    }
    return;
  }
  const std::size_t at = commonBytes(m_text, text, std::min(m_text.size(), text.size()), false);
  const std::size_t common =
      commonBytes(m_text, text, std::min(m_text.size(), text.size()) - at, true);
  replacePart(at, m_text.size() - common - at, text.substr(at, text.size() - common - at), caret);
}

void Field::editPart(std::size_t at, std::size_t removed, std::string_view inserted,
                     std::size_t caret) {
  if (!writePart(at, removed, inserted, caret)) {
    setCaret(caret);
  }
}

void Field::append(std::string_view text) {
  if (text.empty()) {
    return;
  }
  std::string room;
  text = stored(text, room);
  noteChange(m_text.size(), 0, text.size());
  m_text += text;
  changed(std::nullopt);
}

void Field::applyEdits(std::span<const TextEdit> edits) {
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    static_cast<void>(writePart(edit->at, edit->removed, edit->inserted, std::nullopt));
  }
}

// The part, cut to the text, gives way to `inserted` unless it holds those bytes already; whether
// it did.
bool Field::writePart(std::size_t at, std::size_t removed, std::string_view inserted,
                      std::optional<std::size_t> caret) {
  at = std::min(at, m_text.size());
  removed = std::min(removed, m_text.size() - at);
  std::string room;
  inserted = stored(inserted, room);
  if (std::string_view(m_text).substr(at, removed) == inserted) {
    return false;
  }
  replacePart(at, removed, inserted, caret);
  return true;
}

// A single-line field's line breaks turn into blanks, in `room`.
std::string_view Field::stored(std::string_view text, std::string& room) const {
  if (m_lines == Lines::Multi) {
    return text;
  }
  room = withoutLineBreaks(text);
  return room;
}

void Field::replacePart(std::size_t at, std::size_t removed, std::string_view inserted,
                        std::optional<std::size_t> caret) {
  noteChange(at, removed, inserted.size());
  m_text.replace(at, removed, inserted);
  ++m_rewrites;
  changed(caret);
}

// The `removed` bytes from `at` are about to give way to `inserted` bytes: the change, and what
// the next save must write.
void Field::noteChange(std::size_t at, std::size_t removed, std::size_t inserted) {
  const bool kept = removed <= kKeptRemoval;
  m_lastChange = Change{.at = at,
                        .removed = kept ? m_text.substr(at, removed) : std::string(),
                        .inserted = inserted,
                        .removedKept = kept,
                        .rewritesBefore = m_rewrites};
  m_saved.note(at, removed, m_text.size());
  m_shown.note(at, removed, m_text.size());
}

void Field::changed(std::optional<std::size_t> caret) {
  m_caret = std::min(caret.value_or(m_caret), m_text.size());
  touch();
  if (m_onChange) {
    assert(m_depth < kMaxChangeDepth && "field change behaviours form a cycle");
    ++m_depth;
    m_onChange();
    --m_depth;
  }
}

void Field::setLocked(bool locked) {
  if (m_locked != locked) {
    m_locked = locked;
    touch();
  }
}

void Field::setBackground(Color color) {
  if (m_background != color) {
    m_background = color;
    touch();
  }
}

void Field::setTextColor(Color color) {
  if (m_textColor != color) {
    m_textColor = color;
    touch();
  }
}

void Field::setCaret(std::size_t byteOffset) {
  const std::size_t caret = std::min(byteOffset, m_text.size());
  if (m_caret != caret) {
    m_caret = caret;
    touch();
  }
}

bool Field::writeUpperCase() {
  const std::string upper = toUpper(m_text);
  const bool changed = upper != m_text;
  setText(upper);
  moveCaretToEnd();
  return changed;
}

// What changed since the last save: the text between the start and the end it kept.
void Field::saveState(ControlState& state, bool whole) {
  Control::saveState(state, whole);
  const std::size_t from = whole ? 0 : std::min(m_saved.prefix, m_text.size());
  const std::size_t kept = whole ? 0 : std::min(m_saved.suffix, m_text.size() - from);
  writeNumber(state, from);
  state.push_back(m_text.substr(from, m_text.size() - from - kept));
  writeNumber(state, kept);
  m_saved.mark(m_text.size());
  writeNumber(state, m_caret);
  writeColor(state, m_background);
  writeColor(state, m_textColor);
  writeFlag(state, m_locked);
}

void Field::restoreState(StateReader& state) {
  Control::restoreState(state);
  const std::size_t from = state.number();
  const std::string& changed = state.text();
  const std::size_t kept = state.format() >= 2 ? state.number() : 0;
  if (from > m_text.size() || kept > m_text.size() - from) {
    throw StateError(name() + ": a change past the end of the text");
  }
  m_text.replace(from, m_text.size() - from - kept, changed);
  ++m_rewrites;
  m_saved.mark(m_text.size());
  m_shown = {};
  m_caret = std::min(state.number(), m_text.size());
  m_background = state.color();
  m_textColor = state.color();
  m_locked = state.flag();
}

}  // namespace vantor
