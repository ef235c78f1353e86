#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
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
  QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
  QCommandLineParser arguments;
  arguments.setApplicationDescription(QStringLiteral("Log per contest VHF, UHF e microonde"));
  arguments.addHelpOption();
  arguments.addVersionOption();
  arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Un file EDI da riaprire"),
                                  QStringLiteral("[file.edi]"));
  arguments.process(qtApplication);
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
    if (const QStringList files = arguments.positionalArguments(); !files.isEmpty()) {
      application.reopen(QFile::encodeName(files.front()).toStdString());
    }
    return QApplication::exec();
  } catch (const vantor::gui::LayoutError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
