#include <QApplication>

#include "gui/start_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantor"));
  vantor::gui::StartWindow window;
  window.show();
  return QApplication::exec();
}
