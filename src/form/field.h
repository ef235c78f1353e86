#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "form/color.h"
#include "form/control.h"
#include "form/text.h"

namespace vantor {

// A text field. Writing a different text stores it and runs the change behaviour at once, before
// setText returns; writing the text the field already holds does nothing. A behaviour may write
// any field, its own included.
class Field : public Control {
 public:
  enum class Lines { Single, Multi };

  explicit Field(std::string name, std::string_view initialText = {}, Lines lines = Lines::Single);

  [[nodiscard]] const std::string& text() const { return m_text; }
  void setText(std::string_view text);
  // The operator's edit: the new text with the caret where the operator left it, both in place
  // before the change behaviour runs (which may move the caret again).
  void edit(std::string_view text, std::size_t caret);
  // The operator's edit of a part: the `removed` bytes from `at` give way to `inserted`. A long
  // text is then neither compared nor copied whole.
  void editPart(std::size_t at, std::size_t removed, std::string_view inserted, std::size_t caret);
  void clear() { setText({}); }
  // Adds text at the end without copying what is there: the log buffer grows this way.
  void append(std::string_view text);
  // Makes the edits (see editedText) each as a change of its own, the last first so the offsets
  // of the others still hold: a long text changed at its start and at its end has two short
  // changes, not one as long as the text.
  void applyEdits(std::span<const TextEdit> edits);
  // How many times the text was replaced rather than grown at its end: a view that showed the
  // text at the same count shows the start of the current text already.
  [[nodiscard]] std::uint64_t rewrites() const { return m_rewrites; }

  // What the last change did to the text: at byte `at`, `removed` made way for `inserted` bytes,
  // in the text as it stood after `rewritesBefore` rewrites.
  // A change that removed more than kKeptRemoval bytes keeps none of them, so a text replaced
  // whole is not copied for it.
  struct Change {
    std::size_t at = 0;
    std::string removed;
    std::size_t inserted = 0;
    bool removedKept = true;
    std::uint64_t rewritesBefore = 0;
  };
  static constexpr std::size_t kKeptRemoval = 1 << 16;
  [[nodiscard]] const Change& lastChange() const { return m_lastChange; }

  // How much of the text's start and of its end stayed as they were since a mark: every change
  // since lies between.
  struct KeptEnds {
    std::size_t prefix = 0;
    std::size_t suffix = 0;

    // The `removed` bytes from `at` of a text of `size` bytes give way to others.
    void note(std::size_t at, std::size_t removed, std::size_t size) {
      prefix = std::min(prefix, at);
      suffix = std::min(suffix, size - at - removed);
    }
    void mark(std::size_t size) { prefix = suffix = size; }
  };
  // What stayed since the view last marked the text as shown; nothing is known to have stayed
  // before the first mark and after a journal restore.
  [[nodiscard]] const KeptEnds& keptSinceShown() const { return m_shown; }
  void markShown() const { m_shown.mark(m_text.size()); }

  void onChange(std::function<void()> behaviour) {
    registerBehaviour(m_onChange, std::move(behaviour), "change");
  }

  // The operator pressed Enter in the field: runs the Enter behaviour, when it has one.
  void enter() {
    if (m_onEnter) {
      m_onEnter();
    }
  }
  void onEnter(std::function<void()> behaviour) {
    registerBehaviour(m_onEnter, std::move(behaviour), "Enter");
  }

  // The operator asked to open what stands at the caret (a double click, Ctrl+E): runs the open
  // behaviour, when the field has one.
  void open() {
    if (m_onOpen) {
      m_onOpen();
    }
  }
  void onOpen(std::function<void()> behaviour) {
    registerBehaviour(m_onOpen, std::move(behaviour), "open");
  }

  [[nodiscard]] bool multiLine() const { return m_lines == Lines::Multi; }

  // Locked fields show their text but the operator cannot type into them.
  [[nodiscard]] bool locked() const { return m_locked; }
  void setLocked(bool locked);

  [[nodiscard]] Color background() const { return m_background; }
  void setBackground(Color color);

  [[nodiscard]] Color textColor() const { return m_textColor; }
  void setTextColor(Color color);

  // The caret as a byte offset into the UTF-8 text, never past its end.
  [[nodiscard]] std::size_t caret() const { return m_caret; }
  void setCaret(std::size_t byteOffset);
  void moveCaretToEnd() { setCaret(m_text.size()); }
  // Writes the text in upper case with the caret after it. True when that changed the text, in
  // which case the change behaviour has already run again for the upper-case text.
  bool writeUpperCase();

  void saveState(ControlState& state, bool whole) override;
  void restoreState(StateReader& state) override;

 private:
  void write(std::string_view text, std::optional<std::size_t> caret);
  [[nodiscard]] std::string_view stored(std::string_view text, std::string& room) const;
  [[nodiscard]] bool writePart(std::size_t at, std::size_t removed, std::string_view inserted,
                               std::optional<std::size_t> caret);
  void replacePart(std::size_t at, std::size_t removed, std::string_view inserted,
                   std::optional<std::size_t> caret);
  void noteChange(std::size_t at, std::size_t removed, std::size_t inserted);
  void changed(std::optional<std::size_t> caret);

  std::string m_text;
  Lines m_lines;
  std::function<void()> m_onChange;
  std::function<void()> m_onEnter;
  std::function<void()> m_onOpen;
  bool m_locked = false;
  Color m_background = colors::white;
  Color m_textColor = Color::windowText();
  std::size_t m_caret = 0;
  // What stayed since the last save: a save writes what lies between.
  KeptEnds m_saved;
  // What stayed since the view last showed the text; the view's bookkeeping, not the text's.
  mutable KeptEnds m_shown;
  std::uint64_t m_rewrites = 0;
  Change m_lastChange;
  int m_depth = 0;
};

}  // namespace vantor
