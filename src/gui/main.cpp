#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <iostream>

#include "app/journal.h"
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
    // The log kept on disk lives in the user's data folder, which is writable even when the
    // program's own folder is not.
    vantor::Journal journal(
        application.session(),
        vantor::gui::toUtf8(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    if (!journal.start()) {
      return 1;
    }
    application.start();
    return QApplication::exec();
  } catch (const vantor::gui::LayoutError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
