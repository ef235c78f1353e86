#pragma once

#include <filesystem>
#include <memory>

#include "app/session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"

namespace vantor::gui {

class HeaderWindow;
class LogWindow;

// The running program: the session and its windows. After every user event in any window all
// windows sync, since one screen's behaviour writes the fields of another.
class Application : public Screens {
 public:
  // Throws LayoutError when a window's layout does not match its form.
  Application(const Clock& clock, Dialogs& dialogs);
  ~Application() override;

  // Shows the header screen, the start-up window.
  void start();
  // Opens the log of an EDI file once the header window shows, with its boxes above it.
  void reopen(const std::filesystem::path& path);

  [[nodiscard]] Session& session() { return m_session; }
  [[nodiscard]] HeaderWindow& headerWindow() { return *m_headerWindow; }
  // The log window, once the log screen has been shown.
  [[nodiscard]] LogWindow* logWindow() { return m_logWindow.get(); }

  void showLog() override;
  void showHeader() override;
  void closeAll() override;

 private:
  void syncAll();

  Session m_session;
  std::unique_ptr<HeaderWindow> m_headerWindow;
  std::unique_ptr<LogWindow> m_logWindow;
};

}  // namespace vantor::gui
