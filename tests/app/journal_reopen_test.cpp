// "vantor FILE.journal": a journal kept in the data folder is opened again. Its log goes on the
// screens and into this run's journal, and the file itself is only ever read.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/journal.h"
#include "app/session_state.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFinished = "vantor-20261208-0840.journal";

class JournalReopen : public ::testing::Test {
 protected:
  // A run that logged three contacts, ended with "Chiudi" when `close`, else killed. Returns what
  // the screens held; `afterTwo` takes the journal's size after the second contact.
  std::vector<std::string> playThreeContacts(bool close, std::size_t* afterTwo = nullptr) {
    ProgramRun run(data.path());
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    run.logContact("qq2abc", "kn02aa");
    if (afterTwo != nullptr) {
      *afterTwo = fs::file_size(run.journal.livePath());
    }
    run.logContact("qq3abc", "jn71jk");
    if (close) {
      run.dialogs.answers = {true};
      EXPECT_TRUE(run.session.close());
    }
    return everything(run.session);
  }
  [[nodiscard]] fs::path live() const { return data.path() / "vantor.journal"; }

  TempFolder data;
};

// A finished journal, or one set aside by "No", comes back whole without a question, the log
// screen shown with the focus in the call field; a kill right after loses nothing.
TEST_F(JournalReopen, AKeptJournalResumesItsLogAskingNothing) {
  const struct {
    const char* way;
    bool closed;
    const char* name;
  } cases[] = {
      {"finished", true, "vantor-20261208-0840.journal"},
      {"not resumed", false, "vantor-20261208-0840-non-ripreso.journal"},
  };
  for (const auto& test : cases) {
    fs::remove_all(data.path());
    const std::vector<std::string> before = playThreeContacts(test.closed);
    if (!test.closed) {
      ProgramRun declined(data.path(), {false});
    }
    const fs::path kept = data.path() / test.name;
    const std::string bytes = readBytes(kept);
    {
      ProgramRun run(data.path());
      run.journal.reopen(kept);
      EXPECT_TRUE(run.dialogs.messages.empty()) << test.way;
      EXPECT_TRUE(run.dialogs.questions.empty()) << test.way;
      EXPECT_EQ(everything(run.session), before) << test.way;
      EXPECT_EQ(run.screens.events, std::vector<std::string>{"showLog"}) << test.way;
      EXPECT_EQ(run.session.log().focusRequest(), &run.session.log().callsignField) << test.way;
    }
    EXPECT_EQ(readBytes(kept), bytes) << test.way;
    ProgramRun afterAKill(data.path(), {true});
    EXPECT_EQ(afterAKill.dialogs.questions.size(), 1U) << test.way;
    EXPECT_EQ(everything(afterAKill.session), before) << test.way;
  }
}

// Of a journal damaged after its second contact, what precedes the damage comes back when the
// operator agrees; the question's Enter is "No", which leaves the program empty.
TEST_F(JournalReopen, ADamagedJournalGivesWhatPrecedesTheDamageWhenAsked) {
  std::size_t afterTwo = 0;
  playThreeContacts(true, &afterTwo);
  const fs::path kept = data.path() / kFinished;
  std::string bytes = readBytes(kept);
  // The first byte of the payload of the entry after the second contact.
  bytes[afterTwo + 12] = static_cast<char>(bytes[afterTwo + 12] ^ 0x20);
  writeBytes(kept, bytes);
  for (const bool agreed : {true, false}) {
    {
      ProgramRun run(data.path(), {agreed});
      run.journal.reopen(kept);
      EXPECT_EQ(run.dialogs.questions,
                std::vector<std::string>{"Il file " + std::string(kFinished) +
                                         " è danneggiato. Prima del danno c'è un LOG: 2 contatti, "
                                         "l'ultimo alle 0840 (QQ2ABC, Contest IARU Reg. I VHF). "
                                         "Riprenderlo?"});
      EXPECT_EQ(run.dialogs.defaultAnswers, std::vector<Answer>{Answer::No});
      EXPECT_TRUE(run.dialogs.messages.empty());
      EXPECT_EQ(run.session.hasLog(), agreed);
      if (agreed) {
        EXPECT_EQ(run.session.log().serialSentField.text(), "003");
      }
      EXPECT_EQ(fs::exists(live()), agreed);
      EXPECT_EQ(readBytes(kept), bytes);
    }
    fs::remove(live());
  }
}

// A file that gives no log is told, naming the file, and the program starts empty: nothing is
// asked, no journal is written, and the file stays as it was.
TEST_F(JournalReopen, AFileThatGivesNoLogIsToldAndLeftAsItIs) {
  playThreeContacts(true);
  const std::string finished = readBytes(data.path() / kFinished);
  std::string freshStart(kJournalHeader);
  {
    PinnedClock clock;
    RecordingDialogs dialogs;
    RecordingScreens screens;
    Session fresh(clock, dialogs, screens);
    appendEntry(freshStart, SessionRecorder(fresh).whole(entry_kind::freshStart));
  }
  std::string firstEntryDamaged = finished;
  firstEntryDamaged[kJournalHeader.size() + 12] ^= 0x20;
  const fs::path file = data.path() / "kept.journal";
  const std::string name = "Il file kept.journal ";
  const struct {
    const char* way;
    std::function<void()> make;
    std::string told;
  } cases[] = {
      {"an EDI file", [&] { writeBytes(file, "[REG1TEST;1]\r\nTName=Contest\r\n"); },
       name + "non è un giornale di Vantor."},
      {"a later version",
       [&] { writeBytes(file, "VANTOR-JOURNAL 5\n" + finished.substr(kJournalHeader.size())); },
       name + "è di una versione più recente di Vantor."},
      {"damaged in its first entry", [&] { writeBytes(file, firstEntryDamaged); },
       name + "è danneggiato e non contiene nulla da riprendere."},
      {"a fresh start alone", [&] { writeBytes(file, freshStart); },
       name + "non contiene nessun LOG da riprendere."},
      {"missing", [] {}, "Impossibile aprire il file kept.journal: No such file or directory"},
      {"too large",
       [&] {
         writeBytes(file, finished);
         fs::resize_file(file, (64U << 20U) + 1);
       },
       name + "non è stato aperto: è troppo grande per un giornale di Vantor (più di 64 MiB)."},
  };
  for (const auto& test : cases) {
    fs::remove(file);
    test.make();
    const bool small = fs::is_regular_file(file) && fs::file_size(file) < (1U << 20U);
    const std::string bytes = small ? readBytes(file) : "";
    ProgramRun run(data.path());
    run.journal.reopen(file);
    std::vector<std::string> told;
    for (const Message& message : run.dialogs.messages) {
      told.push_back(message.text);
    }
    EXPECT_EQ(told, std::vector<std::string>{test.told}) << test.way;
    EXPECT_TRUE(run.dialogs.questions.empty()) << test.way;
    EXPECT_FALSE(run.session.hasLog()) << test.way;
    EXPECT_FALSE(fs::exists(live())) << test.way;
    if (small) {
      EXPECT_EQ(readBytes(file), bytes) << test.way;
    }
  }
}

// A log not closed that this start resumed is never mixed with a kept journal's.
TEST_F(JournalReopen, AKeptJournalIsRefusedBesideAResumedLog) {
  playThreeContacts(true);
  const fs::path kept = data.path() / kFinished;
  const std::string bytes = readBytes(kept);
  {
    ProgramRun crashed(data.path());
    crashed.openLog();
    crashed.logContact("qq7abc", "jn61fu");
  }
  ProgramRun run(data.path(), {true});
  const std::vector<std::string> resumed = everything(run.session);
  run.journal.reopen(kept);
  ASSERT_EQ(run.dialogs.messages.size(), 1U);
  EXPECT_EQ(run.dialogs.messages[0].text,
            "Il file " + std::string(kFinished) +
                " non è stato aperto: è stato ripreso il LOG non chiuso.");
  EXPECT_EQ(everything(run.session), resumed);
  EXPECT_EQ(readBytes(kept), bytes);
}

}  // namespace
}  // namespace vantor::testing
