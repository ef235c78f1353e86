#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/edi_folder.h"
#include "app/journal.h"
#include "app/session.h"
#include "gui/application.h"
#include "gui/field_binder.h"
#include "gui/qt_platform.h"
#include "known/known_stations.h"
#include "net/hub_keeper.h"
#include "net/nats_link.h"
#include "net/nats_server.h"
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
// The option that runs the hub of a shared contest without a window.
constexpr std::string_view kHubOption = "--hub";

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
            << "     vantor --import FILE...  (vantor --help per l'aiuto)\n"
            << "     vantor --hub [--porta N] [--nuovo]\n";
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

// The user's data folder, which the journal, the known stations and a shared contest keep to.
std::filesystem::path dataFolder() {
  return localPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// The known stations live in the user's data folder beside the journal; a damaged store is
// rebuilt from the EDI folder's files.
vantor::KnownPlaces knownPlaces(const vantor::EdiFolder& ediFolder) {
  return vantor::KnownPlaces{dataFolder() / "stazioni.sqlite", ediFolder.path};
}

bool namesOption(int argc, char* argv[], std::string_view option) {
  return std::any_of(argv + 1, argv + argc, [option](const char* argument) {
    return std::string_view(argument) == option;
  });
}

volatile std::sig_atomic_t hubStopped = 0;

// What follows --hub: "--porta N" for another port than the hubs' own, "--nuovo" to forget the
// contest it kept.
std::optional<vantor::HubServerConfig> hubConfig(const QStringList& arguments, bool& forget) {
  vantor::HubServerConfig config;
  config.folder = dataFolder() / "hub";
  for (qsizetype at = 1; at < arguments.size(); ++at) {
    bool number = false;
    if (arguments[at] == QLatin1String(kHubOption)) {
      continue;
    }
    if (arguments[at] == QStringLiteral("--nuovo")) {
      forget = true;
    } else if (arguments[at] == QStringLiteral("--porta") && at + 1 < arguments.size() &&
               (config.leafPort = arguments[at + 1].toInt(&number), number) &&
               config.leafPort > 0 && config.leafPort < 65536) {
      ++at;
    } else {
      std::cerr << "Uso: vantor --hub [--porta N] [--nuovo]\n";
      return std::nullopt;
    }
  }
  return config;
}

// "vantor --hub": the hub of a shared contest on this PC until Ctrl+C, keeping the contest of the
// first station that asks it.
int runHub() {
  bool forget = false;
  const auto config = hubConfig(QCoreApplication::arguments(), forget);
  if (!config) {
    return kBadArguments;
  }
  if (const std::error_code failed =
          vantor::platform::makePrivateFolder(vantor::platform::systemFiles(), config->folder)) {
    std::cerr << "vantor: impossibile creare la cartella " << config->folder << ": "
              << failed.message() << '\n';
    return 1;
  }
  std::signal(SIGINT, [](int) { hubStopped = 1; });
  std::signal(SIGTERM, [](int) { hubStopped = 1; });
  try {
    const auto server = vantor::NatsServer::startHub(*config);
    vantor::HubKeeper keeper(vantor::platform::systemFiles(), config->folder / "contest", forget);
    const vantor::HubResponder responder(
        server->clientUrl(),
        [&keeper](const std::string& question) { return keeper.answer(question); });
    std::cout << "Hub di Vantor in ascolto sulla porta " << config->leafPort
              << " (Ctrl+C per fermarlo)" << std::endl;
    while (hubStopped == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  } catch (const std::runtime_error& error) {
    std::cerr << "vantor: " << error.what() << '\n';
    return 1;
  }
  return 0;
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
  // A hub needs no window, and so no display.
  if (namesOption(argc, argv, kHubOption)) {
    QCoreApplication coreApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantor"));
    return runHub();
  }
  // An import needs no window, and so no display.
  if (namesOption(argc, argv, kImportOption)) {
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
    // A contest shared with the station's other PCs keeps its server and its events beside the
    // journal, in the folder the journal now holds: a second program on it never gets this far.
    application.session().keepNetworkFolder(dataFolder() / "rete");
    application.keepNetworkSettings(settings);
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
