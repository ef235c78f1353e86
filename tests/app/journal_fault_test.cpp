// The journal under faults of the disk and the folder, and against other users of the machine:
// what the operator typed is never lost, never replaced unread, and never readable by others.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/journal.h"
#include "support/faulty_files.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

namespace fs = std::filesystem;
using Call = FaultyFiles::Call;

std::size_t contactsIn(const std::string& buffer) {
  std::size_t lines = 0;
  for (std::size_t at = buffer.find("QQ"); at != std::string::npos;
       at = buffer.find("QQ", at + 1)) {
    ++lines;
  }
  return lines;
}

class JournalFaults : public ::testing::Test {
 protected:
  // A run that logged the calls and was then killed.
  void crashAfter(std::initializer_list<const char*> calls) {
    ProgramRun run(data.path());
    run.openLog();
    for (const char* call : calls) {
      run.logContact(call, "jn61fu");
    }
  }
  [[nodiscard]] fs::path live() const { return data.path() / "vantor.journal"; }
  [[nodiscard]] std::vector<std::string> messages(const ProgramRun& run) const {
    std::vector<std::string> texts;
    for (const Message& message : run.dialogs.messages) {
      texts.push_back(message.text);
    }
    return texts;
  }

  TempFolder data;
};

// The folder or the journal goes while the program runs: it is told once, the next change writes
// the whole log where the journal stood, and a kill after that loses nothing.
TEST_F(JournalFaults, AJournalGoneWhileRunningIsWrittenAnewWhole) {
  FaultyFiles files;
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"the data folder deleted", [&] { fs::remove_all(data.path()); }},
      {"the journal deleted", [&] { fs::remove(live()); }},
      {"another file renamed over it",
       [&] {
         writeBytes(data.path() / "other", "other");
         fs::rename(data.path() / "other", live());
       }},
      {"its path naming another file", [&] { files.replaceUnseen(live()); }},
      {"a folder in its place", [&] { fs::remove(live()), fs::create_directory(live()); }},
  };
  for (const auto& [way, change] : ways) {
    fs::remove_all(data.path());
    files.clear();
    std::vector<std::string> before;
    {
      ProgramRun run(data.path(), {}, files);
      run.openLog();
      run.logContact("qq1abc", "jn61fu");
      change();
      run.logContact("qq2abc", "jn61fu");
      run.logContact("qq3abc", "jn61fu");
      ASSERT_EQ(run.dialogs.messages.size(), 1U) << way;
      EXPECT_EQ(run.dialogs.messages[0].text,
                "Il giornale del LOG " + live().string() +
                    " è stato cancellato o sostituito mentre Vantor lo scriveva: viene scritto di "
                    "nuovo per intero.")
          << way;
      before = everything(run.session);
    }
    ProgramRun again(data.path(), {true});
    ASSERT_EQ(again.dialogs.questions.size(), 1U) << way;
    EXPECT_EQ(everything(again.session), before) << way;
  }
}

// A folder deleted under a running program does not let a second one start on it; the first's
// "Chiudi" sets aside only a journal of its own.
TEST_F(JournalFaults, TheFolderStaysHeldAndOnlyTheOwnJournalIsFinished) {
  ProgramRun first(data.path());
  first.openLog();
  first.logContact("qq1abc", "jn61fu");
  fs::remove_all(data.path());
  {
    ProgramRun second(data.path());
    EXPECT_FALSE(second.started);
  }
  first.logContact("qq2abc", "jn61fu");
  writeBytes(data.path() / "other", "another program's journal");
  fs::rename(data.path() / "other", live());
  first.dialogs.answers = {true};
  ASSERT_TRUE(first.session.close());
  EXPECT_EQ(readBytes(live()), "another program's journal");
  for (const auto& entry : fs::directory_iterator(data.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("vantor-")) << entry.path();
  }
}

// A journal that exists but cannot be read is told with its path and the reason, and kept as it
// is: the log goes into a new journal beside it, and both are still there for the next start.
TEST_F(JournalFaults, AnUnreadableJournalIsNeverReplaced) {
  struct Case {
    const char* way;
    bool folderInPlace;
    Call call;
    std::errc error;
    const char* reason;
  };
  const Case cases[] = {
      {"no permission", false, Call::open, std::errc::permission_denied, "Permission denied"},
      {"a read error", false, Call::read, std::errc::io_error, "Input/output error"},
      {"a folder in its place", true, Call::open, std::errc{}, "non è un file regolare"},
  };
  for (const Case& test : cases) {
    fs::remove_all(data.path());
    if (test.folderInPlace) {
      fs::create_directories(live());
      writeBytes(live() / "inside", "kept");
    } else {
      crashAfter({"qq1abc", "qq2abc", "qq3abc"});
    }
    const std::string bytes = fs::is_regular_file(live()) ? readBytes(live()) : "";
    {
      FaultyFiles files;
      if (!test.folderInPlace) {
        files.fail(test.call, "vantor.journal", test.error);
      }
      ProgramRun run(data.path(), {}, files);
      EXPECT_TRUE(run.dialogs.questions.empty()) << test.way;
      EXPECT_EQ(
          messages(run),
          std::vector<std::string>{"Il giornale del LOG " + live().string() +
                                   " non si può leggere: " + test.reason +
                                   ". Resta com'è: il LOG si tiene in un giornale nuovo accanto."})
          << test.way;
      run.openLog();
      run.logContact("qq4abc", "jn61fu");
      EXPECT_EQ(run.journal.livePath(), data.path() / "vantor.2.journal") << test.way;
    }
    if (!bytes.empty()) {
      EXPECT_EQ(readBytes(live()), bytes) << test.way;
      ProgramRun again(data.path(), {false, true});
      EXPECT_EQ(again.dialogs.questions.size(), 2U) << test.way;
      EXPECT_EQ(contactsIn(again.session.log().logBuffer().text()), 1U) << test.way;
    } else {
      EXPECT_EQ(readBytes(live() / "inside"), "kept");
      ProgramRun again(data.path(), {true});
      EXPECT_EQ(again.dialogs.questions.size(), 1U) << test.way;
    }
  }
}

// The number of the format in the header changed: the journal does not decode, goes aside as it
// is, and nothing is offered.
TEST_F(JournalFaults, AJournalWithAChangedHeaderIsSetAsideUntouched) {
  for (const char number : {'1', '2'}) {
    fs::remove_all(data.path());
    crashAfter({"qq1abc", "qq2abc"});
    std::string bytes = readBytes(live());
    bytes[kJournalHeader.size() - 2] = number;
    writeBytes(live(), bytes);
    ProgramRun run(data.path(), {true});
    EXPECT_TRUE(run.dialogs.questions.empty());
    const fs::path aside = data.path() / "vantor-20261208-0840-danneggiato.journal";
    EXPECT_EQ(messages(run), std::vector<std::string>{"Il giornale del LOG " + live().string() +
                                                      " è danneggiato: è stato messo da parte "
                                                      "come vantor-20261208-0840-danneggiato."
                                                      "journal."});
    EXPECT_EQ(readBytes(aside), bytes);
    EXPECT_FALSE(run.session.hasLog());
  }
}

// With the umask open to everyone, the folder and every file in it are still the operator's
// alone: no one else reads the name and address, or adds a forged contact.
TEST_F(JournalFaults, TheDataFolderIsTheOperatorsAloneWhateverTheUmask) {
  const fs::path folder = data.path() / "Vantor";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);
  const mode_t before = ::umask(0);
  {
    ProgramRun run(folder);
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    EXPECT_EQ(permissionsOf(folder), 0700U);
    EXPECT_EQ(permissionsOf(folder / "vantor.journal"), 0600U);
    EXPECT_EQ(permissionsOf(folder / "vantor.lock"), 0600U);
    run.dialogs.answers = {true};
    ASSERT_TRUE(run.session.close());
  }
  ::umask(before);
  EXPECT_EQ(permissionsOf(folder / "vantor-20261208-0840.journal"), 0600U);
}

// A link planted where a temporary journal of a fixed name would go is never written through;
// the temporary files a kill left are cleared at the next start.
TEST_F(JournalFaults, ResumingWritesNoFileButItsOwn) {
  crashAfter({"qq1abc"});
  const TempFolder elsewhere;
  writeBytes(elsewhere.path() / "profile", "the victim's own file");
  fs::create_symlink(elsewhere.path() / "profile", data.path() / "vantor.journal.tmp");
  writeBytes(data.path() / "vantor.journal.0123456789abcdef.tmp", "left by a kill");
  ProgramRun run(data.path(), {true});
  ASSERT_TRUE(run.session.hasLog());
  EXPECT_EQ(readBytes(elsewhere.path() / "profile"), "the victim's own file");
  EXPECT_FALSE(fs::exists(data.path() / "vantor.journal.0123456789abcdef.tmp"));
  EXPECT_TRUE(fs::is_symlink(data.path() / "vantor.journal.tmp"));
}

// The finished journals kept are the newest by when they were written, whatever their names say:
// "-10" sorts before "-2".
TEST_F(JournalFaults, TheOldestFinishedJournalsGoFirst) {
  for (int copy = 1; copy <= 22; ++copy) {
    const std::string name =
        "vantor-20261208-0830" + (copy == 1 ? "" : "-" + std::to_string(copy)) + ".journal";
    writeBytes(data.path() / name, "finished");
    const timeval times[2] = {{1'700'000'000 + copy, 0}, {1'700'000'000 + copy, 0}};
    ASSERT_EQ(::utimes((data.path() / name).c_str(), times), 0);
  }
  {
    ProgramRun run(data.path());
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    run.dialogs.answers = {true};
    ASSERT_TRUE(run.session.close());
  }
  for (int copy = 1; copy <= 22; ++copy) {
    const std::string name =
        "vantor-20261208-0830" + (copy == 1 ? "" : "-" + std::to_string(copy)) + ".journal";
    EXPECT_EQ(fs::exists(data.path() / name), copy > 3) << name;
  }
  EXPECT_TRUE(fs::exists(data.path() / "vantor-20261208-0840.journal"));
}

// A duplicate's box may stay open a long time while the operator is on the radio: the contact is
// on the disk before it opens.
TEST_F(JournalFaults, AContactIsOnTheDiskBeforeItsBoxOpens) {
  ProgramRun run(data.path());
  run.openLog();
  run.logContact("qq1abc", "jn61fu");
  std::string onDisk;
  run.dialogs.whileShown = [&](const Message& message) {
    if (message.text == "Inserito un duplicato") {
      onDisk = readBytes(live());
    }
  };
  run.logContact("qq1abc", "jn61fu");
  ASSERT_FALSE(onDisk.empty());
  const TempFolder copy;
  writeBytes(copy.path() / "vantor.journal", onDisk);
  ProgramRun resumed(copy.path(), {true});
  EXPECT_EQ(contactsIn(resumed.session.log().logBuffer().text()), 2U);
}

}  // namespace
}  // namespace vantor::testing
