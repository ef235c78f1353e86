// Loaded into a Qt program with LD_PRELOAD by the window benchmark. Once the program's first
// VANTOR_PROBE_WINDOWS windows are exposed and painted, and the program has handled and painted
// VANTOR_PROBE_CTRL_PAGE_DOWNS presses of Ctrl+PgDn sent one by one to its focused widget, it
// writes the time (CLOCK_MONOTONIC, in nanoseconds) and the process's peak resident memory (KiB)
// as one line to the descriptor VANTOR_PROBE_FD, and ends the program there. A press that nothing
// takes ends the program with no report.

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// The peak resident memory of the program since its exec, in KiB. Not getrusage: its ru_maxrss
// keeps the high-water mark of the process that started the program.
long peakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) {
      return std::stol(line.substr(6));
    }
  }
  return 0;
}

void reportAndEnd() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const std::string line = std::to_string(now.tv_sec * 1'000'000'000LL + now.tv_nsec) + " " +
                           std::to_string(peakResidentKiB()) + "\n";
  const int descriptor = qEnvironmentVariableIntValue("VANTOR_PROBE_FD");
  [[maybe_unused]] const ssize_t written = ::write(descriptor, line.data(), line.size());
  ::_exit(0);
}

// Whether the focused widget's window took a press of Ctrl+PgDn, sent as a typed key is.
bool pressCtrlPageDown() {
  QObject* focus = QGuiApplication::focusObject();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageDown, Qt::ControlModifier);
  const bool taken = focus != nullptr && QCoreApplication::sendEvent(focus, &press);
  if (taken) {
    QCoreApplication::sendEvent(focus, &release);
  }
  return taken;
}

void pressKeysAndReport() {
  for (int press = 0; press < qEnvironmentVariableIntValue("VANTOR_PROBE_CTRL_PAGE_DOWNS");
       ++press) {
    if (!pressCtrlPageDown()) {
      ::_exit(1);
    }
    // The window's repaint waits in the event queue.
    QCoreApplication::processEvents();
  }
  reportAndEnd();
}

// Counts the windows the platform exposes; the expose paints a widget's window, so the report
// waits for the next turn of the event loop.
class WindowWatch : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && watched->isWindowType() &&
        static_cast<QWindow*>(watched)->isExposed() && !m_reported) {
      m_exposed.insert(watched);
      if (m_exposed.size() >= m_wanted) {
        m_reported = true;
        QTimer::singleShot(0, &pressKeysAndReport);
      }
    }
    return false;
  }

 private:
  QSet<QObject*> m_exposed;
  qsizetype m_wanted = qMax(1, qEnvironmentVariableIntValue("VANTOR_PROBE_WINDOWS"));
  bool m_reported = false;
};

void watchWindows() {
  QCoreApplication::instance()->installEventFilter(new WindowWatch(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(watchWindows)
