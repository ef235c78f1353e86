#include <QApplication>
#include <QDir>

#include <iostream>

#include "app/session.h"
#include "gui/application.h"
#include "gui/field_binder.h"
#include "gui/qt_platform.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantor"));
  vantor::gui::SystemClock clock;
  vantor::gui::MessageBoxDialogs dialogs;
  try {
    vantor::gui::Application application(clock, dialogs);
    // The EDI files go beside the executable.
    application.session().setProgramFolder(
        vantor::gui::toUtf8(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    application.start();
    return QApplication::exec();
  } catch (const vantor::gui::LayoutError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
