#include "gui/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QSettings>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/edi_reopen.h"
#include "app/journal.h"
#include "known/known_stations.h"
#include "log/log_form.h"

#include "gui/contact_window.h"
#include "gui/header_window.h"
#include "gui/log_window.h"
#include "gui/map_window.h"
#include "gui/network_dialog.h"
#include "gui/network_settings_store.h"
#include "gui/station_dialog.h"
#include "gui/station_settings_store.h"
#include "station/station_settings.h"

namespace vantor::gui {

namespace {

// The log window is built when the operator first leaves the header screen. Building one for a
// throwaway session stops a log layout that does not match the log form before any contest data
// is typed: the program ends with the layout's fault.
void checkLogLayout(Session& session, Screens& screens) {
  try {
    Session scratch(session.clock(), session.dialogs(), screens);
    const LogWindow window(scratch, [] {});
  } catch (const LayoutError& error) {
    std::cerr << error.what() << '\n';
    QCoreApplication::exit(1);
  }
}

}  // namespace

void SyncingDialogs::showMessage(const Message& message) {
  m_syncWindows();
  m_boxes.showMessage(message);
}

bool SyncingDialogs::ask(const std::string& question, Answer byDefault) {
  m_syncWindows();
  return m_boxes.askYesNo(question, byDefault);
}

Application::Application(const Clock& clock, Dialogs& dialogs)
    : m_dialogs(dialogs, [this] { syncAll(); }),
      m_session(clock, m_dialogs, *this),
      m_headerWindow(std::make_unique<HeaderWindow>(m_session, [this] { afterUserEvent(); })) {
  m_journalSync.setSingleShot(true);
  m_journalSync.setInterval(1000);
  QObject::connect(&m_journalSync, &QTimer::timeout, [this] { m_session.syncRecordedChanges(); });
  m_liveUpdate.setInterval(200);
  QObject::connect(&m_liveUpdate, &QTimer::timeout, [this] { updateLive(); });
  m_liveUpdate.start();
}

// The map window reads the log screen, which the session owns.
Application::~Application() {
  delete m_mapWindow.data();
}

void Application::start() {
  m_headerWindow->show();
  m_headerWindow->activateWindow();
  // A resumed log opens where the operator was, and building its window checks its layout. Else
  // the check waits for the first window to show, which it would only delay.
  // The known stations open on their own thread once the first window is up.
  if (m_session.logShown()) {
    m_session.showLog();
    m_session.startKnownStations();
  } else {
    m_headerWindow->afterFirstPaint([this] {
      checkLogLayout(m_session, *this);
      m_session.startKnownStations();
    });
  }
  syncAll();
}

void Application::reopen(std::span<const std::filesystem::path> paths) {
  reopenEdi(m_session, paths);
  m_session.recordChanges();
  syncAll();
}

void Application::open(Journal& journal, std::span<const std::filesystem::path> paths) {
  if (paths.size() != 1 || !isJournalFile(paths.front())) {
    reopen(paths);
    return;
  }
  journal.reopen(paths.front());
  syncAll();
}

void Application::keepStationSettings(QSettings& settings) {
  m_settings = &settings;
  m_session.configureStation(loadStationSettings(settings), false);
}

void Application::editStation() {
  const auto edited = StationDialog::edit(m_logWindow.get(), m_dialogs, m_session.stationSettings(),
                                          rigModels(), rotatorModels());
  if (!edited) {
    return;
  }
  if (m_settings != nullptr) {
    saveStationSettings(*m_settings, *edited);
    m_settings->sync();
  }
  m_session.configureStation(*edited, true);
  syncAll();
}

void Application::keepNetworkSettings(QSettings& settings) {
  m_settings = &settings;
  takeNetworkSettings(loadNetworkSettings(settings));
}

void Application::takeNetworkSettings(const NetworkSettings& network) {
  m_session.configureNetwork(network, [this] {
    QMetaObject::invokeMethod(
        &m_wakeContext, [this] { pollNetwork(); }, Qt::QueuedConnection);
  });
}

void Application::editNetwork() {
  const auto edited = NetworkDialog::edit(m_logWindow.get(), m_session, m_dialogs);
  if (!edited) {
    return;
  }
  if (m_settings != nullptr) {
    saveNetworkSettings(*m_settings, *edited);
    m_settings->sync();
  }
  takeNetworkSettings(*edited);
  syncAll();
}

void Application::pollNetwork() {
  QWidget* box = QApplication::activeModalWidget();
  if (m_session.ended() || (box != nullptr && qobject_cast<NetworkDialog*>(box) == nullptr)) {
    return;
  }
  m_session.pollNetwork();
  if (m_logWindow) {
    m_logWindow->showNetwork(networkSummary(m_session));
  }
}

void Application::showLog() {
  if (!m_logWindow) {
    m_logWindow = std::make_unique<LogWindow>(m_session, [this] { afterUserEvent(); });
    m_logWindow->onEditStation([this] { editStation(); });
    m_logWindow->onEditNetwork([this] { editNetwork(); });
    m_logWindow->onImportStations([this] { importStations(); });
    m_logWindow->onShowMap([this] { showMap(); });
  }
  m_logWindow->show();
  m_logWindow->raise();
  m_logWindow->activateWindow();
}

void Application::showMap() {
  if (!m_mapWindow) {
    m_mapWindow = new MapWindow(m_session.log(), m_settings);
  }
  m_mapWindow->show();
  m_mapWindow->raise();
}

MapWindow* Application::mapWindow() {
  return m_mapWindow.data();
}

void Application::showHeader() {
  m_headerWindow->show();
  m_headerWindow->raise();
  m_headerWindow->activateWindow();
}

void Application::showContact() {
  closeContact();
  delete m_closedContactWindow.data();
  m_contactWindow = new ContactWindow(
      *m_session.contact(), [this] { afterUserEvent(); }, m_logWindow.get());
  m_contactWindow->show();
  m_contactWindow->raise();
  m_contactWindow->activateWindow();
}

void Application::closeContact() {
  if (m_contactWindow != nullptr) {
    m_contactWindow->hide();
    m_contactWindow->deleteLater();
    m_closedContactWindow = std::exchange(m_contactWindow, nullptr);
  }
}

void Application::closeAll() {
  m_headerWindow->close();
  if (m_logWindow) {
    m_logWindow->close();
  }
  if (m_mapWindow) {
    m_mapWindow->close();
  }
}

// Every operator action reaches the log kept on disk before the windows show its result.
void Application::afterUserEvent() {
  if (m_session.recordChanges() && !m_journalSync.isActive()) {
    m_journalSync.start();
  }
  syncAll();
}

// Only the log window shows what changes by itself; nothing of it is kept in the journal. While
// a box is open an operator's action may be halfway: the rig's mode waits until it is closed.
void Application::updateLive() {
  if (m_logWindow && !m_session.ended()) {
    m_session.log().tick();
    if (QApplication::activeModalWidget() == nullptr) {
      m_session.pollStation();
      showKnownStations();
    }
    pollNetwork();
    m_logWindow->sync();
    if (m_mapWindow) {
      m_mapWindow->sync();
    }
  }
}

// How far an import is, and what the known stations have to tell, once no box is open.
void Application::showKnownStations() {
  KnownStations* known = m_session.knownStations();
  if (known == nullptr) {
    return;
  }
  const auto progress = known->importing();
  m_logWindow->showImportProgress(
      progress ? std::optional<int>(progress->total == 0
                                        ? 0
                                        : static_cast<int>(1000 * progress->done / progress->total))
               : std::nullopt);
  for (const std::string& notice : known->takeNotices()) {
    m_session.dialogs().showMessage(Message{notice});
  }
}

void Application::importStations() {
  KnownStations* known = m_session.knownStations();
  if (known == nullptr) {
    return;
  }
  const QStringList files = QFileDialog::getOpenFileNames(
      m_logWindow.get(), QStringLiteral("Importa nominativi"), QString(),
      QStringLiteral("Stazioni conosciute (*.edi *.EDI *.txt *.TXT *.csv *.CSV *.scp *.SCP);;"
                     "Tutti i file (*)"));
  if (files.isEmpty()) {
    return;
  }
  std::vector<std::filesystem::path> paths;
  for (const QString& file : files) {
    paths.emplace_back(QFile::encodeName(file).toStdString());
  }
  known->import(std::move(paths));
  showKnownStations();
}

void Application::syncAll() {
  // A box can open while the windows are still being built.
  if (m_session.ended() || !m_headerWindow) {
    return;
  }
  m_headerWindow->sync();
  if (m_logWindow) {
    m_logWindow->sync();
  }
  if (m_contactWindow != nullptr) {
    m_contactWindow->sync();
  }
  if (m_mapWindow) {
    m_mapWindow->sync();
  }
}

}  // namespace vantor::gui
