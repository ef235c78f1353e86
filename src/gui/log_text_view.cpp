#include "gui/log_text_view.h"

#include <QResizeEvent>

namespace vantor::gui {

void LogTextView::resizeEvent(QResizeEvent* event) {
  // The base lays the whole document out again only when the width changed; handing it the old
  // width leaves it the scroll bars to fit to the new size.
  const QSize size = event->size();
  QResizeEvent sameWidth(size, QSize(size.width(), event->oldSize().height()));
  QPlainTextEdit::resizeEvent(&sameWidth);
}

}  // namespace vantor::gui
