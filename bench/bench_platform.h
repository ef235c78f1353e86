#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"

namespace vantor::bench {

// The platform the benchmarks run on: a stopped clock, boxes that close at once, no windows.
class FixedClock : public Clock {
 public:
  [[nodiscard]] LocalDateTime now() const override { return {2026, 12, 7, 14, 32}; }
};

class SilentDialogs : public Dialogs {
 public:
  void showMessage(const Message& /*message*/) override {}
  [[nodiscard]] bool askYesNo(const std::string& /*question*/) override { return true; }
};

class NoScreens : public Screens {
 public:
  void showLog() override {}
  void showHeader() override {}
  void closeAll() override {}
};

}  // namespace vantor::bench
