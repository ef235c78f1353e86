// The start-up and memory baseline of the window benchmark: a Qt Widgets program with one empty
// window.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.show();
  return QApplication::exec();
}
