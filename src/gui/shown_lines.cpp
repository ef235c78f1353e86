#include "gui/shown_lines.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

#include "form/field.h"
#include "form/utf8.h"
#include "gui/field_binder.h"

namespace vantor::gui {

namespace {

// The characters the widget reads back as a line end.
bool readBackAsLineEnd(char32_t codePoint) {
  return codePoint == 0x2028 || codePoint == 0x2029 || codePoint == 0xFDD0 || codePoint == 0xFDD1;
}

// Those, and the byte order mark, which the conversion from UTF-8 may drop.
bool readBackAsAnother(char32_t codePoint) {
  return readBackAsLineEnd(codePoint) || codePoint == 0xFEFF;
}

// The characters the widget takes for a paragraph break as it is given a text.
bool breaksParagraph(QChar character) {
  const char16_t code = character.unicode();
  return code == u'\r' || code == u'\n' || code == QChar::ParagraphSeparator || code == 0xFDD0 ||
         code == 0xFDD1;
}

// How many line ends a text holds.
int breaksIn(std::string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
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
  return toUtf8(line);
}

// Where `count` lines from line `first` on start and end in the text, their last line end left
// out; nothing when it has fewer lines.
std::optional<std::pair<std::size_t, std::size_t>> linesSpan(std::string_view text, int first,
                                                             int count) {
  const auto start = lineStart(text, first);
  if (!start || count < 1) {
    return std::nullopt;
  }
  const auto next = lineStart(text.substr(*start), count);
  return std::pair{*start, next ? *start + *next - 2 : text.size()};
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

QString shownText(const QPlainTextEdit& widget) {
  return widget.document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString asShown(std::string_view text) {
  QString shown = toDisplayLines(text);
  for (QChar& character : shown) {
    if (breaksParagraph(character)) {
      character = QLatin1Char('\n');
    }
  }
  return shown;
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

void ShownLines::show(QPlainTextEdit& widget, const Field& field) {
  if (showsAll(field)) {
    return;
  }
  if (isExtendedBy(field)) {
    showAppended(widget, field);
    return;
  }
  if (showChangedLines(widget, field)) {
    return;
  }
  showWhole(widget, field);
  // A new text is read from its end, where the next contact goes.
  widget.moveCursor(QTextCursor::End);
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

// A text changed in some of its lines (a correction, a line taken out) has those lines alone
// shown anew, when the widget shows it line for line before and after: the blocks from the first
// line the changes touched to the last stand for the text's lines between them, and the blocks
// behind them stay as they are. False, and nothing shown, otherwise, and when the changes touched
// most of the text, which goes in whole a piece at a time.
bool ShownLines::showChangedLines(QPlainTextEdit& widget, const Field& field) {
  const std::string_view text = field.text();
  const Field::KeptEnds kept = field.keptSinceShown();
  if (!m_any || !m_lineForLine || kept.prefix > m_size || kept.suffix > m_size ||
      kept.prefix + kept.suffix > text.size()) {
    return false;
  }
  const std::size_t changeEnd = text.size() - kept.suffix;
  const auto lineBefore = text.substr(0, kept.prefix).rfind('\n');
  const std::size_t from = lineBefore == std::string_view::npos ? 0 : lineBefore + 1;
  const auto lineEnd = text.find('\n', changeEnd);
  const std::size_t to = lineEnd == std::string_view::npos ? text.size() : lineEnd - 1;
  const int firstLine = breaksIn(text.substr(0, from));
  const int linesBehind = breaksIn(text.substr(changeEnd));
  const int oldLast = m_blocks - 1 - linesBehind;
  if (to < from || to - from > text.size() / 2 || oldLast < firstLine ||
      (lineEnd != std::string_view::npos && text[lineEnd - 1] != '\r') ||
      !showsLineForLine(text.substr(from, to - from))) {
    return false;
  }
  QTextDocument* document = widget.document();
  const QTextBlock last = document->findBlockByNumber(oldLast);
  QTextCursor lines(document->findBlockByNumber(firstLine));
  lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
  lines.insertText(toDisplayLines(text.substr(from, to - from)));
  m_blocks = document->blockCount();
  take(field);
  return true;
}

void ShownLines::take(const Field& field) {
  m_size = field.text().size();
  m_rewrites = field.rewrites();
  m_any = true;
  field.markShown();
}

// The lines the change touched are the widget's blocks from the one at `position` to the one at
// its end; they stand for as many lines of the text as there are blocks, less those the change
// added.
void ShownLines::followChange(const QPlainTextEdit& widget, const Field& field, int position,
                              int added) {
  if (!m_lineForLine || m_pending || !showsAll(field)) {
    stopFollowing();
    return;
  }
  const QTextDocument& document = *widget.document();
  const QTextBlock first = document.findBlock(position);
  const QTextBlock last =
      document.findBlock(std::min(position + added, document.characterCount() - 1));
  Part part;
  part.firstLine = first.blockNumber();
  part.lines = last.blockNumber() - first.blockNumber() + 1;
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    const auto line = fieldLine(block.text());
    if (!line) {
      stopFollowing();
      return;
    }
    part.text += *line;
    if (block == last) {
      break;
    }
    part.text += "\r\n";
  }
  part.replaced = part.lines - (document.blockCount() - m_blocks);
  const auto span = part.replaced <= m_blocks - part.firstLine
                        ? linesSpan(field.text(), part.firstLine, part.replaced)
                        : std::nullopt;
  if (!span) {
    stopFollowing();
    return;
  }
  part.at = span->first;
  part.removed = span->second - span->first;
  m_pending = std::move(part);
  m_blocks = document.blockCount();
}

// The caret as a byte offset into the text once the part is in place; nothing when the caret is
// not on one of the part's lines, where an edit in the widget leaves it.
std::optional<std::size_t> ShownLines::caretAfter(const Part& part, const QTextCursor& cursor) {
  const int line = cursor.blockNumber() - part.firstLine;
  const auto start = line >= 0 && line < part.lines ? lineStart(part.text, line) : std::nullopt;
  const auto beforeCaret = fieldLine(cursor.block().text().left(cursor.positionInBlock()));
  if (!start || !beforeCaret) {
    return std::nullopt;
  }
  return part.at + *start + beforeCaret->size();
}

ShownLines::Edit ShownLines::edited(const QPlainTextEdit& widget) {
  const QTextCursor cursor = widget.textCursor();
  if (m_pending) {
    Part part = std::move(*m_pending);
    m_pending.reset();
    if (const auto caret = caretAfter(part, cursor)) {
      return {.part = true,
              .at = part.at,
              .removed = part.removed,
              .text = std::move(part.text),
              .caret = *caret};
    }
  }
  // Read back whole, the text may differ from the widget's character for character.
  m_lineForLine = false;
  const QString display = shownText(widget);
  return {.text = fromDisplayLines(display),
          .caret = fromDisplayLines(display.left(cursor.position())).size()};
}

void ShownLines::apply(Field& field, const Edit& edit) {
  if (!edit.part) {
    field.edit(edit.text, edit.caret);
    // The widget shows the typed text; a behaviour that changed it has it shown anew.
    if (field.text() == edit.text) {
      take(field);
    }
    return;
  }
  const std::uint64_t rewrites = field.rewrites();
  const std::size_t size = field.text().size() - edit.removed + edit.text.size();
  field.editPart(edit.at, edit.removed, edit.text, edit.caret);
  // Any other write of the field since counts a rewrite more, and an append changes its size.
  if (field.rewrites() <= rewrites + 1 && field.text().size() == size) {
    take(field);
  }
}

void ShownLines::stopFollowing() {
  m_lineForLine = false;
  m_pending.reset();
}

}  // namespace vantor::gui
