#include "gui/application.h"

#include "app/edi_reopen.h"

#include "gui/header_window.h"
#include "gui/log_window.h"

namespace vantor::gui {

namespace {

// The log window is built when the operator first leaves the header screen. Building one for a
// throwaway session at start-up stops a log layout that does not match the log form before any
// contest data is typed.
void checkLogLayout(const Clock& clock, Dialogs& dialogs, Screens& screens) {
  Session scratch(clock, dialogs, screens);
  const LogWindow window(scratch, [] {});
}

}  // namespace

Application::Application(const Clock& clock, Dialogs& dialogs)
    : m_session(clock, dialogs, *this),
      m_headerWindow(std::make_unique<HeaderWindow>(m_session, [this] { syncAll(); })) {
  checkLogLayout(clock, dialogs, *this);
}

Application::~Application() = default;

void Application::start() {
  m_headerWindow->show();
  m_headerWindow->activateWindow();
  syncAll();
}

void Application::reopen(const std::filesystem::path& path) {
  reopenEdi(m_session, path);
  syncAll();
}

void Application::showLog() {
  if (!m_logWindow) {
    m_logWindow = std::make_unique<LogWindow>(m_session, [this] { syncAll(); });
  }
  m_logWindow->show();
  m_logWindow->raise();
  m_logWindow->activateWindow();
}

void Application::showHeader() {
  m_headerWindow->show();
  m_headerWindow->raise();
  m_headerWindow->activateWindow();
}

void Application::closeAll() {
  m_headerWindow->close();
  if (m_logWindow) {
    m_logWindow->close();
  }
}

void Application::syncAll() {
  if (m_session.ended()) {
    return;
  }
  m_headerWindow->sync();
  if (m_logWindow) {
    m_logWindow->sync();
  }
}

}  // namespace vantor::gui
