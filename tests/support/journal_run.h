#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/journal.h"
#include "app/session.h"
#include "form/form.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "platform/file_system.h"
#include "support/fakes.h"
#include "support/header_fill.h"

namespace vantor::testing {

// What every screen of a session holds, control by control, as the journal writes it.
inline std::vector<std::string> everything(Session& session) {
  std::vector<std::string> all{session.logShown() ? "shown" : "hidden"};
  std::vector<Form*> forms{&session.header()};
  if (session.hasLog()) {
    forms.push_back(&session.log());
    for (std::size_t band = 0; band < session.log().bandCount(); ++band) {
      forms.push_back(&session.log().bandAt(band));
    }
  }
  if (session.hasBearing()) {
    forms.push_back(&session.bearing());
  }
  for (Form* form : forms) {
    form->saveFormState(all);
    for (Control* control : form->controls()) {
      all.push_back(control->name());
      control->saveState(all, true);
    }
  }
  return all;
}

// One run of the program on a data folder: its session and its journal, started as main does.
struct ProgramRun {
  explicit ProgramRun(std::filesystem::path dataFolder, std::deque<bool> answers = {},
                      platform::FileSystem& fileSystem = platform::systemFiles())
      : folder(std::move(dataFolder)), files(fileSystem) {
    dialogs.answers = std::move(answers);
    started = journal.start();
  }
  // An operator action, and what the view does after it.
  template <typename Action>
  void act(Action action) {
    action();
    session.recordChanges();
  }
  void logContact(std::string_view call, std::string_view locator) {
    LogForm& log = session.log();
    for (std::size_t typed = 1; typed <= call.size(); ++typed) {
      act([&] { log.callsignField.edit(call.substr(0, typed), typed); });
    }
    act([&] { log.locatorField.edit(locator, locator.size()); });
    act([&] { log.insertButton.press(); });
  }
  void openLog() {
    act([&] { fillRequiredHeader(session.header()); });
    act([&] { session.header().proceedButton.press(); });
  }

  std::filesystem::path folder;
  platform::FileSystem& files;
  PinnedClock clock{{2026, 12, 8, 8, 40}};
  RecordingDialogs dialogs;
  RecordingScreens screens;
  Session session{clock, dialogs, screens};
  Journal journal{session, folder, files};
  bool started = false;
};

}  // namespace vantor::testing
