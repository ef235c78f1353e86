#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QTextCursor;

namespace vantor {
class Field;
}

namespace vantor::gui {

// The text widget's lines for a text kept with CR LF line ends, and back.
[[nodiscard]] QString toDisplayLines(std::string_view text);
[[nodiscard]] std::string fromDisplayLines(QString display);

// What the text widget holds, each paragraph break as LF: a no-break space stays one, where the
// widget's plain text would give a space.
[[nodiscard]] QString shownText(const QPlainTextEdit& widget);
// What shownText gives once the widget shows `text`: each of its line ends (CR LF, or a lone CR
// or LF) and each character the widget takes for a paragraph break becomes one LF.
[[nodiscard]] QString asShown(std::string_view text);

// Whether a text shows line for line and character for character in the text widget: each line
// ends in CR LF (the last needs no end), it is UTF-8 throughout, and it holds no character the
// widget shows or reads back as another (a lone CR or LF, the Unicode line and paragraph
// separators, the widget's frame marks, a byte order mark).
[[nodiscard]] bool showsLineForLine(std::string_view text);

// What a multi-line widget shows of its field, so that a long log is neither compared, copied
// nor read back whole for a contact or a keystroke:
// - how far it shows the text: its size and the field's count of rewrites at the last show. Text
//   appended since then is appended to the widget; anything else is shown anew.
// - whether it shows the text line for line. The operator's edit is then followed from the lines
//   it touched alone; otherwise the widget's whole text is read back, as it shows it.
class ShownLines {
 public:
  // Brings the widget up to the field's text: nothing when it shows it already, the text added
  // when that extends what it shows, else the whole text.
  void show(QPlainTextEdit& widget, const Field& field);

  // Whether the widget shows the field's text line for line, each of its blocks one line.
  [[nodiscard]] bool linesMatch() const { return m_lineForLine; }

  // The widget's document changed from `position` on, `added` characters standing there now.
  void followChange(const QPlainTextEdit& widget, const Field& field, int position, int added);
  // The operator's edit: a part of the field's text, when the change was followed, or its whole
  // new text; with the caret as a byte offset into the new text.
  struct Edit {
    bool part = false;
    std::size_t at = 0;
    std::size_t removed = 0;
    std::string text;
    std::size_t caret = 0;
  };
  [[nodiscard]] Edit edited(const QPlainTextEdit& widget);
  // Hands the edit to the field; the widget shows the result unless a behaviour changed it.
  void apply(Field& field, const Edit& edit);

 private:
  // The lines of a followed change, as the field's text will hold them: `lines` lines from
  // `firstLine` on, in place of the `replaced` lines between bytes `at` and `at + removed`.
  struct Part {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::string text;
    int firstLine = 0;
    int lines = 0;
    int replaced = 0;
  };
  [[nodiscard]] bool showsAll(const Field& field) const;
  // A CR shown last could pair with an LF appended: that is shown anew.
  [[nodiscard]] bool isExtendedBy(const Field& field) const;
  void showWhole(QPlainTextEdit& widget, const Field& field);
  void showAppended(QPlainTextEdit& widget, const Field& field);
  [[nodiscard]] bool showChangedLines(QPlainTextEdit& widget, const Field& field);
  // The widget shows the field's text as it now stands.
  void take(const Field& field);
  static std::optional<std::size_t> caretAfter(const Part& part, const QTextCursor& cursor);
  void stopFollowing();

  std::size_t m_size = 0;
  std::uint64_t m_rewrites = 0;
  bool m_any = false;
  bool m_lineForLine = false;
  int m_blocks = 0;
  // The change followed since the last edit was handed on.
  std::optional<Part> m_pending;
};

}  // namespace vantor::gui
