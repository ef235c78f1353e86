#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "contest/contact_time.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screens.h"

namespace vantor::testing {

// A clock that shows whatever local moment the test pins, on a computer `utcOffset` hours ahead
// of UTC (none unless told).
class PinnedClock : public Clock {
 public:
  explicit PinnedClock(DateTime moment = {2026, 12, 7, 14, 32}, int utcOffset = 0)
      : m_moment(moment), m_utcOffset(utcOffset) {}
  [[nodiscard]] DateTime now() const override { return m_moment; }
  [[nodiscard]] DateTime utcNow() const override { return hoursEarlier(m_moment, m_utcOffset); }
  void pin(DateTime moment, int utcOffset = 0) {
    m_moment = moment;
    m_utcOffset = utcOffset;
  }

 private:
  DateTime m_moment;
  int m_utcOffset;
};

// Records every box, and the default answer of every question; questions are answered from a
// queue (No when it is empty). A benchmark loop turns the recording off, so the records do not
// grow with every round.
class RecordingDialogs : public Dialogs {
 public:
  void showMessage(const Message& message) override {
    if (recording) {
      messages.push_back(message);
    }
    if (whileShown) {
      whileShown(message);
    }
  }

  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::vector<Answer> defaultAnswers;
  std::deque<bool> answers;
  bool recording = true;
  // Runs while a box is open, to look at what the windows show behind it.
  std::function<void(const Message&)> whileShown;

 protected:
  [[nodiscard]] bool ask(const std::string& question, Answer byDefault) override {
    if (recording) {
      questions.push_back(question);
      defaultAnswers.push_back(byDefault);
    }
    if (answers.empty()) {
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// Records what the session asked the windows to do.
class RecordingScreens : public Screens {
 public:
  void showLog() override { events.emplace_back("showLog"); }
  void showHeader() override { events.emplace_back("showHeader"); }
  void showContact() override { events.emplace_back("showContact"); }
  void closeContact() override { events.emplace_back("closeContact"); }
  void syncViews() override { events.emplace_back("syncViews"); }
  void closeAll() override { events.emplace_back("closeAll"); }

  std::vector<std::string> events;
};

}  // namespace vantor::testing
