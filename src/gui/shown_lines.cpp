#include "gui/shown_lines.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "form/field.h"
#include "form/utf8.h"
#include "gui/field_binder.h"

namespace vantor::gui {

namespace {

// The characters the widget reads back as a line end.
bool readBackAsLineEnd(char32_t codePoint) {
  return codePoint == 0x2028 || codePoint == 0x2029 || codePoint == 0xFDD0 || codePoint == 0xFDD1;
}

// Those, the no-break space it reads back as a space, and the byte order mark, which the
// conversion from UTF-8 may drop.
bool readBackAsAnother(char32_t codePoint) {
  return readBackAsLineEnd(codePoint) || codePoint == 0xA0 || codePoint == 0xFEFF;
}

// Where line `line` starts in a text shown line for line; nothing when it has fewer lines.
std::optional<std::size_t> lineStart(std::string_view text, int line) {
  std::size_t at = 0;
  for (int passed = 0; passed < line; ++passed) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    at = end + 1;
  }
  return at;
}

// A line of the widget as the field holds it; nothing when it holds a character the widget reads
// back as a line end, which only reading the whole text back places as the widget does.
std::optional<std::string> fieldLine(QString line) {
  for (const QChar character : line) {
    if (readBackAsLineEnd(character.unicode())) {
      return std::nullopt;
    }
  }
  line.replace(QChar::Nbsp, QLatin1Char(' '));
  return toUtf8(line);
}

// The text with `count` lines from line `first` on in place of `lines`; nothing when it has
// fewer lines.
std::optional<std::string> replaceLines(std::string_view text, int first, int count,
                                        std::string_view lines) {
  const auto start = lineStart(text, first);
  if (!start || count < 1) {
    return std::nullopt;
  }
  const auto next = lineStart(text.substr(*start), count);
  const std::size_t end = next ? *start + *next - 2 : text.size();
  std::string replaced;
  replaced.reserve(text.size() - (end - *start) + lines.size());
  replaced.append(text.substr(0, *start)).append(lines).append(text.substr(end));
  return replaced;
}

}  // namespace

QString toDisplayLines(std::string_view text) {
  QString display = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return display;
}

std::string fromDisplayLines(QString display) {
  display.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return toUtf8(display);
}

bool showsLineForLine(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == '\r') {
      if (at + 1 == text.size() || text[at + 1] != '\n') {
        return false;
      }
      at += 2;
    } else if (byte == '\n') {
      return false;
    } else if (byte < 0x80) {
      ++at;
    } else {
      const auto character = decodeUtf8(text, at);
      if (!character || readBackAsAnother(character->codePoint)) {
        return false;
      }
      at += character->length;
    }
  }
  return true;
}

bool ShownLines::showsAll(const Field& field) const {
  return m_any && m_rewrites == field.rewrites() && m_size == field.text().size();
}

bool ShownLines::isExtendedBy(const Field& field) const {
  return m_any && m_size > 0 && m_rewrites == field.rewrites() && field.text().size() > m_size &&
         field.text()[m_size - 1] != '\r';
}

// A whole new text goes in a piece at a time, each piece ending a line, so the widget's text is
// never held a second time whole on its way in. Only the first piece clears what the widget
// held, its undo steps and its caret, as a text set whole does.
void ShownLines::showWhole(QPlainTextEdit& widget, const Field& field) {
  constexpr std::size_t kPiece = 64 * 1024;
  const std::string_view text = field.text();
  const std::size_t firstEnd = std::min(text.find('\n', kPiece), text.size());
  widget.setPlainText(toDisplayLines(text.substr(0, firstEnd + 1)));
  QTextDocument* document = widget.document();
  const bool undoSteps = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  QTextCursor end(document);
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  for (std::size_t at = firstEnd + 1; at < text.size();) {
    const std::size_t pieceEnd = std::min(text.find('\n', at + kPiece), text.size() - 1);
    end.insertText(toDisplayLines(text.substr(at, pieceEnd + 1 - at)));
    at = pieceEnd + 1;
  }
  end.endEditBlock();
  document->setUndoRedoEnabled(undoSteps);
  m_lineForLine = showsLineForLine(text);
  m_blocks = document->blockCount();
  take(field);
}

// Appending keeps a long log fast: the widget never re-lays out what it already shows. The view
// follows the newest line unless the operator left the caret elsewhere in the text (editing an
// old line); the operator's caret never moves.
void ShownLines::showAppended(QPlainTextEdit& widget, const Field& field) {
  const std::string_view added = std::string_view(field.text()).substr(m_size);
  const bool editingElsewhere = !widget.textCursor().atEnd();
  QTextCursor end(widget.document());
  end.movePosition(QTextCursor::End);
  end.insertText(toDisplayLines(added));
  if (!editingElsewhere) {
    QScrollBar* scrollBar = widget.verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
  }
  m_lineForLine = m_lineForLine && showsLineForLine(added);
  m_blocks = widget.document()->blockCount();
  take(field);
}

void ShownLines::take(const Field& field) {
  m_size = field.text().size();
  m_rewrites = field.rewrites();
  m_any = true;
}

// The lines the change touched are the widget's blocks from the one at `position` to the one at
// its end; they stand for as many lines of the text as there are blocks, less those the change
// added.
void ShownLines::followChange(const QPlainTextEdit& widget, const Field& field, int position,
                              int added) {
  if (!m_lineForLine || (!m_followed && !showsAll(field))) {
    stopFollowing();
    return;
  }
  const QTextDocument& document = *widget.document();
  const QTextBlock first = document.findBlock(position);
  const QTextBlock last =
      document.findBlock(std::min(position + added, document.characterCount() - 1));
  std::string lines;
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    const auto line = fieldLine(block.text());
    if (!line) {
      stopFollowing();
      return;
    }
    lines += *line;
    if (block == last) {
      break;
    }
    lines += "\r\n";
  }
  const int touched = last.blockNumber() - first.blockNumber() + 1;
  const int replaced = touched - (document.blockCount() - m_blocks);
  if (replaced < 1 || first.blockNumber() + replaced > m_blocks) {
    stopFollowing();
    return;
  }
  auto text =
      replaceLines(m_followed ? *m_followed : field.text(), first.blockNumber(), replaced, lines);
  if (!text) {
    stopFollowing();
    return;
  }
  m_followed = std::move(text);
  m_blocks = document.blockCount();
}

ShownLines::Edit ShownLines::edited(const QPlainTextEdit& widget) {
  const QTextCursor cursor = widget.textCursor();
  if (m_followed) {
    Edit edit{std::move(*m_followed), 0};
    m_followed.reset();
    const auto line = lineStart(edit.text, cursor.blockNumber());
    const auto beforeCaret = fieldLine(cursor.block().text().left(cursor.positionInBlock()));
    if (line && beforeCaret) {
      edit.caret = *line + beforeCaret->size();
      return edit;
    }
  }
  // Read back whole, the text may differ from the widget's character for character.
  m_lineForLine = false;
  const QString display = widget.toPlainText();
  return {fromDisplayLines(display), fromDisplayLines(display.left(cursor.position())).size()};
}

void ShownLines::stopFollowing() {
  m_lineForLine = false;
  m_followed.reset();
}

}  // namespace vantor::gui
