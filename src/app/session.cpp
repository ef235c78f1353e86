#include "app/session.h"

#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

Session::Session(const Clock& clock, Dialogs& dialogs, Screens& screens)
    : m_clock(clock),
      m_dialogs(dialogs),
      m_screens(screens),
      m_header(std::make_unique<HeaderForm>(*this)) {
  m_header->start();
}

Session::~Session() = default;

HeaderForm& Session::header() {
  return *m_header;
}

LogForm& Session::log() {
  if (!m_log) {
    m_log = std::make_unique<LogForm>(*this);
  }
  return *m_log;
}

BearingForm& Session::bearing() {
  if (!m_bearing) {
    m_bearing = std::make_unique<BearingForm>(m_dialogs, [this] { closeBearing(); });
  }
  return *m_bearing;
}

void Session::showLog() {
  static_cast<void>(log());
  m_screens.showLog();
}

void Session::showHeader() {
  m_screens.showHeader();
}

bool Session::close() {
  if (m_ended) {
    return true;
  }
  if (m_log && m_log->hasUnsavedContacts() &&
      !m_dialogs.askYesNo(
          "Il LOG contiene contatti non salvati in un file EDI. Uscire comunque?")) {
    return false;
  }
  // The forms stay alive until the session ends, so a window that is still handling the event
  // that closed it never reaches a destroyed field.
  m_ended = true;
  m_screens.closeAll();
  return true;
}

void Session::closeBearing() {
  m_bearing.reset();
}

}  // namespace vantor
