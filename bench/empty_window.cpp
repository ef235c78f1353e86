// The start-up and memory baselines of the window benchmark: a Qt Widgets program with one empty
// window; with "label", one showing a line of text; with "header", the header window's layout
// alone, without the program behind it; with a file's path, one plain text widget showing that
// file's text.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include <memory>
#include <string_view>

#include "ui_header_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::string_view argument = argc > 1 ? argv[1] : "";
  std::unique_ptr<QWidget> window;
  Ui::HeaderWindow headerLayout;
  if (argument == "label") {
    window = std::make_unique<QLabel>(QStringLiteral("Nominativo"));
  } else if (argument == "header") {
    window = std::make_unique<QWidget>();
    headerLayout.setupUi(window.get());
    window->setFixedSize(window->size());
  } else if (!argument.empty()) {
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
      return 1;
    }
    auto text = std::make_unique<QPlainTextEdit>();
    text->setPlainText(
        QString::fromLatin1(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    window = std::move(text);
  } else {
    window = std::make_unique<QWidget>();
  }
  window->show();
  return QApplication::exec();
}
