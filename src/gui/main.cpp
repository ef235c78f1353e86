#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/edi_folder.h"
#include "app/journal.h"
#include "app/session.h"
#include "gui/application.h"
#include "gui/field_binder.h"
#include "gui/qt_platform.h"
#include "known/known_stations.h"
#include "platform/folder_access.h"
#include "platform/folder_lock.h"
#include "platform/heap.h"

namespace {

// The exit status of a command line the program does not take.
constexpr int kBadArguments = 2;

struct Arguments {
  std::optional<QString> folder;
  QStringList files;
  // The files are imported as known stations, and the program ends.
  bool import = false;
};

// The option that imports known stations without a window.
constexpr std::string_view kImportOption = "--import";

std::filesystem::path localPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

std::vector<std::filesystem::path> localPaths(const QStringList& paths) {
  std::vector<std::filesystem::path> local;
  for (const QString& path : paths) {
    local.push_back(localPath(path));
  }
  return local;
}

// What was wrong with a command line the parser refused.
QString refusalText(const QCommandLineParser& parser) {
  if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
    const QString& name = unknown.front();
    return QStringLiteral("Opzione non riconosciuta: ") +
           (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
  }
  if (QCoreApplication::arguments().endsWith(QStringLiteral("--folder"))) {
    return QStringLiteral("Manca la cartella dopo --folder");
  }
  return QStringLiteral("Argomenti non validi: ") + parser.errorText();
}

void refuse(const QString& text) {
  std::cerr << "vantor: " << text.toStdString() << '\n'
            << "Uso: vantor [--folder CARTELLA] [file.edi ... | file.journal]\n"
            << "     vantor --import FILE...  (vantor --help per l'aiuto)\n";
}

// A journal among several files, which is opened only alone.
std::optional<QString> journalAmong(const QStringList& files) {
  if (files.size() > 1) {
    for (const QString& file : files) {
      if (vantor::isJournalFile(localPath(file))) {
        return file;
      }
    }
  }
  return std::nullopt;
}

// The folder and the file of a command line the parser took, or nothing when they are wrong.
std::optional<Arguments> argumentsOf(const QCommandLineParser& parser,
                                     const QCommandLineOption& folder,
                                     const QCommandLineOption& import) {
  Arguments arguments;
  arguments.import = parser.isSet(import);
  if (arguments.import && parser.positionalArguments().isEmpty()) {
    refuse(QStringLiteral("Mancano i file dopo --import"));
    return std::nullopt;
  }
  if (parser.isSet(folder)) {
    if (parser.value(folder).isEmpty()) {
      refuse(QStringLiteral("Manca la cartella dopo --folder"));
      return std::nullopt;
    }
    arguments.folder = QFileInfo(parser.value(folder)).absoluteFilePath();
  }
  arguments.files = parser.positionalArguments();
  if (const auto journal = arguments.import ? std::nullopt : journalAmong(arguments.files)) {
    refuse(QStringLiteral("Il giornale %1 si riapre da solo, senza altri file").arg(*journal));
    return std::nullopt;
  }
  return arguments;
}

// Reads the command line; --help and --version print their text and end the program here. A
// command line the program does not take is told on standard error and gives nothing.
std::optional<Arguments> readArguments() {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Log per contest VHF, UHF e microonde"));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption folder(QStringLiteral("folder"),
                                  QStringLiteral("La cartella dove scrivere i file EDI"),
                                  QStringLiteral("cartella"));
  parser.addOption(folder);
  const QCommandLineOption import(
      QString::fromLatin1(kImportOption.substr(2)),
      QStringLiteral("Importa le stazioni conosciute dai file indicati (file EDI o cartelle di "
                     "file EDI, storici dei nominativi CSV, elenchi nominativo-locatore, "
                     "MASTER.SCP) ed esce"));
  parser.addOption(import);
  parser.addPositionalArgument(
      QStringLiteral("file"),
      QStringLiteral("I file EDI da riaprire, uno per banda dello stesso contest e della stessa "
                     "stazione, o un giornale di Vantor da solo"),
      QStringLiteral("[file.edi ... | file.journal]"));
  if (!parser.parse(QCoreApplication::arguments())) {
    refuse(refusalText(parser));
    return std::nullopt;
  }
  if (parser.isSet(help)) {
    parser.showHelp(0);
  }
  if (parser.isSet(version)) {
    parser.showVersion();
  }
  return argumentsOf(parser, folder, import);
}

// The program's own folder when it can be written, as when it runs from where it was built or
// unpacked; else the user's documents folder, which an installed program cannot do without.
vantor::EdiFolder ediFolder(const std::optional<QString>& chosen) {
  const std::filesystem::path program = localPath(QCoreApplication::applicationDirPath());
  std::optional<std::filesystem::path> chosenPath;
  if (chosen) {
    chosenPath = localPath(*chosen);
  }
  return vantor::chooseEdiFolder(
      program, vantor::platform::canWriteInto(program),
      localPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)), chosenPath);
}

// The known stations live in the user's data folder beside the journal; a damaged store is
// rebuilt from the EDI folder's files.
vantor::KnownPlaces knownPlaces(const vantor::EdiFolder& ediFolder) {
  const std::filesystem::path data =
      localPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  return vantor::KnownPlaces{data / "stazioni.sqlite", ediFolder.path};
}

bool namesImport(int argc, char* argv[]) {
  return std::any_of(argv + 1, argv + argc, [](const char* argument) {
    return std::string_view(argument) == kImportOption;
  });
}

// "vantor --import FILE...": the files' stations go into the store without a window, the reports
// on standard output, what went wrong on standard error.
int importStations(const Arguments& arguments) {
  const vantor::KnownPlaces places = knownPlaces(ediFolder(arguments.folder));
  if (const std::error_code failed = vantor::platform::makePrivateFolder(
          vantor::platform::systemFiles(), places.store.parent_path())) {
    std::cerr << "vantor: impossibile creare la cartella " << places.store.parent_path() << ": "
              << failed.message() << '\n';
    return 1;
  }
  std::vector<std::string> notices;
  const auto store = vantor::openKnownStore(
      places,
      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss")).toStdString(),
      notices);
  for (const std::string& notice : notices) {
    std::cerr << "vantor: " << notice << '\n';
  }
  if (!store) {
    return 1;
  }
  const auto files = vantor::importedFiles(localPaths(arguments.files));
  for (const std::string& report :
       vantor::importInto(*store, files, [](const vantor::ImportProgress&) { return true; })) {
    std::cout << report << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  vantor::platform::keepLargeBlocksApart();
  // An import needs no window, and so no display.
  if (namesImport(argc, argv)) {
    QCoreApplication coreApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
    const std::optional<Arguments> arguments = readArguments();
    return arguments ? importStations(*arguments) : kBadArguments;
  }
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantor"));
  QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
  const std::optional<Arguments> arguments = readArguments();
  if (!arguments) {
    return kBadArguments;
  }
  vantor::gui::SystemClock clock;
  vantor::gui::MessageBoxDialogs dialogs;
  try {
    vantor::gui::Application application(clock, dialogs);
    application.session().setEdiFolder(ediFolder(arguments->folder));
    application.session().keepKnownStations(knownPlaces(application.session().ediFolder()));
    // The rig and the rotator the operator set up last time, since rigs and ports differ:
    // ~/.config/Vantor/Vantor.conf.
    QSettings settings(QStringLiteral("Vantor"), QStringLiteral("Vantor"));
    application.keepStationSettings(settings);
    // The log kept on disk lives in the user's data folder, which is writable even when the
    // program's own folder is not.
    vantor::Journal journal(
        application.session(),
        vantor::gui::toUtf8(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    if (!journal.start()) {
      return 1;
    }
    if (const auto warning = vantor::ediFolderWarning(application.session().ediFolder())) {
      dialogs.showMessage(vantor::Message{*warning});
    }
    application.start();
    if (!arguments->files.isEmpty()) {
      application.open(journal, localPaths(arguments->files));
    }
    return QApplication::exec();
  } catch (const vantor::gui::LayoutError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
