#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"

namespace vantor::fuzz {

// A clock stopped at 14:32 on 7 December 2026.
class StoppedClock : public Clock {
 public:
  [[nodiscard]] LocalDateTime now() const override { return {2026, 12, 7, 14, 32}; }
};

// Every box is closed at once; every question is answered "No".
class SilentDialogs : public Dialogs {
 public:
  void showMessage(const Message&) override {}
  [[nodiscard]] bool askYesNo(const std::string&) override { return false; }
};

// No windows: what the session asks of them happens nowhere.
class NoScreens : public Screens {
 public:
  void showLog() override {}
  void showHeader() override {}
  void closeAll() override {}
};

}  // namespace vantor::fuzz
