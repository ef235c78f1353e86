#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace vantor {
class Field;
}

namespace vantor::gui {

// The text widget's lines for a text kept with CR LF line ends, and back.
[[nodiscard]] QString toDisplayLines(std::string_view text);
[[nodiscard]] std::string fromDisplayLines(QString display);

// Whether a text shows line for line and character for character in the text widget: each line
// ends in CR LF (the last needs no end), it is UTF-8 throughout, and it holds no character the
// widget shows or reads back as another (a lone CR or LF, a no-break space, the Unicode line and
// paragraph separators, the widget's frame marks, a byte order mark).
[[nodiscard]] bool showsLineForLine(std::string_view text);

// What a multi-line widget shows of its field, so that a long log is neither compared, copied
// nor read back whole for a contact or a keystroke:
// - how far it shows the text: its size and the field's count of rewrites at the last show. Text
//   appended since then is appended to the widget; anything else is shown anew.
// - whether it shows the text line for line. The operator's edit is then followed from the lines
//   it touched alone; otherwise the widget's whole text is read back, as it shows it.
class ShownLines {
 public:
  [[nodiscard]] bool showsAll(const Field& field) const;
  // A CR shown last could pair with an LF appended: that is shown anew.
  [[nodiscard]] bool isExtendedBy(const Field& field) const;
  void showWhole(QPlainTextEdit& widget, const Field& field);
  void showAppended(QPlainTextEdit& widget, const Field& field);
  // The widget shows the field's text as it now stands.
  void take(const Field& field);

  // The widget's document changed from `position` on, `added` characters standing there now.
  void followChange(const QPlainTextEdit& widget, const Field& field, int position, int added);
  // The operator's edit: the field's new text, and the caret as a byte offset into it.
  struct Edit {
    std::string text;
    std::size_t caret;
  };
  [[nodiscard]] Edit edited(const QPlainTextEdit& widget);

 private:
  void stopFollowing();

  std::size_t m_size = 0;
  std::uint64_t m_rewrites = 0;
  bool m_any = false;
  bool m_lineForLine = false;
  int m_blocks = 0;
  // The field's text after the changes followed since the last edit was handed on.
  std::optional<std::string> m_followed;
};

}  // namespace vantor::gui
