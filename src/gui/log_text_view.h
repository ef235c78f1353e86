#pragma once

#include <QPlainTextEdit>

namespace vantor::gui {

// The log window's text of contacts. Its lines never wrap, so a line's layout does not depend on
// the view's width: a new width keeps the layouts as they are. The plain text widget would give
// every one of the log's lines a layout of its own on each new width (the first one included, when
// the window is shown), some 260 bytes a line, all of it for lines the operator never scrolls to.
//
// A double click on a line, or Ctrl+E, asks to open the line the caret stands on.
class LogTextView : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

 signals:
  void openRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantor::gui
