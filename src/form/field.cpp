#include "form/field.h"

#include <algorithm>
#include <cassert>

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

// A multi-line text is compared and stored as given: the log buffer, megabytes long, is copied
// only when it changed, and into the room it already has.
void Field::write(std::string_view text, std::optional<std::size_t> caret) {
  std::string singleLine;
  if (m_lines == Lines::Single) {
    singleLine = withoutLineBreaks(text);
    text = singleLine;
  }
  if (text == m_text) {
    if (caret) {
      setCaret(*caret);
    }
    return;
  }
  const auto differ = std::mismatch(m_text.begin(), m_text.end(), text.begin(), text.end());
  const auto at = static_cast<std::size_t>(differ.first - m_text.begin());
  m_savedPrefix = std::min(m_savedPrefix, at);
  noteChange(text, at);
  m_text.assign(text);
  ++m_rewrites;
  changed(caret);
}

void Field::append(std::string_view text) {
  if (text.empty()) {
    return;
  }
  const std::size_t at = m_text.size();
  if (m_lines == Lines::Single) {
    m_text += withoutLineBreaks(text);
  } else {
    m_text += text;
  }
  m_lastChange =
      Change{.at = at, .removed = {}, .inserted = m_text.size() - at, .rewritesBefore = m_rewrites};
  changed(std::nullopt);
}

// `text` replaces the held one, the same up to `at`: the change ends where the two texts' common
// end begins.
void Field::noteChange(std::string_view text, std::size_t at) {
  const std::size_t room = std::min(m_text.size(), text.size()) - at;
  const auto common = static_cast<std::size_t>(
      std::mismatch(m_text.rbegin(), m_text.rbegin() + static_cast<std::ptrdiff_t>(room),
                    text.rbegin())
          .first -
      m_text.rbegin());
  const std::size_t removed = m_text.size() - common - at;
  const bool kept = removed <= kKeptRemoval;
  m_lastChange = Change{.at = at,
                        .removed = kept ? m_text.substr(at, removed) : std::string(),
                        .inserted = text.size() - common - at,
                        .removedKept = kept,
                        .rewritesBefore = m_rewrites};
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

void Field::saveState(ControlState& state, bool whole) {
  Control::saveState(state, whole);
  const std::size_t from = whole ? 0 : std::min(m_savedPrefix, m_text.size());
  writeNumber(state, from);
  state.push_back(m_text.substr(from));
  m_savedPrefix = m_text.size();
  writeNumber(state, m_caret);
  writeColor(state, m_background);
  writeColor(state, m_textColor);
  writeFlag(state, m_locked);
}

void Field::restoreState(StateReader& state) {
  Control::restoreState(state);
  const std::size_t from = state.number();
  if (from > m_text.size()) {
    throw StateError(name() + ": a change past the end of the text");
  }
  m_text.resize(from);
  m_text += state.text();
  ++m_rewrites;
  m_savedPrefix = m_text.size();
  m_caret = std::min(state.number(), m_text.size());
  m_background = state.color();
  m_textColor = state.color();
  m_locked = state.flag();
}

}  // namespace vantor
