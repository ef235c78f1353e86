#include "gui/log_text_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace vantor::gui {

void LogTextView::resizeEvent(QResizeEvent* event) {
  // The base lays the whole document out again only when the width changed; handing it the old
  // width leaves it the scroll bars to fit to the new size.
  const QSize size = event->size();
  QResizeEvent sameWidth(size, QSize(size.width(), event->oldSize().height()));
  QPlainTextEdit::resizeEvent(&sameWidth);
}

void LogTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseDoubleClickEvent(event);
  emit openRequested();
}

void LogTextView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_E && event->modifiers() == Qt::ControlModifier) {
    event->accept();
    emit openRequested();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace vantor::gui
