#include "app/journal.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <deque>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/session.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"

namespace vantor::testing {
namespace {

// A tmpfs of 16 KiB, read-only when asked; tests skip where mounting is refused.
struct SmallDisk {
  explicit SmallDisk(const std::filesystem::path& at, bool readOnly) : path(at) {
    std::filesystem::create_directory(path);
    mounted =
        ::mount("vantor-test", path.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, "size=16k") == 0;
  }
  ~SmallDisk() {
    if (mounted) {
      ::umount2(path.c_str(), MNT_DETACH);
    }
  }
  std::filesystem::path path;
  bool mounted = false;
};

class JournalTest : public ::testing::Test {
 protected:
  // A run that logged three contacts, typed into the log buffer and was then killed.
  static void playThreeContacts(ProgramRun& run) {
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    run.logContact("qq2abc", "kn02aa");
    run.act([&] { run.session.log().plusTwoOption.click(); });
    run.logContact("qq3abc", "jn71jk");
    LogForm& log = run.session.log();
    run.act([&] { log.logBuffer().edit(log.logBuffer().text() + "nota", 0); });
  }
  std::vector<std::string> crashAfterThreeContacts() {
    ProgramRun run(data.path());
    playThreeContacts(run);
    return everything(run.session);
  }

  TempFolder data;
};

TEST_F(JournalTest, ResumesEveryScreenExactlyAfterACrash) {
  const std::vector<std::string> before = crashAfterThreeContacts();
  ProgramRun again(data.path(), {true});
  ASSERT_EQ(again.dialogs.questions,
            std::vector<std::string>{"È stato trovato un LOG non chiuso: 3 contatti, l'ultimo "
                                     "alle 0640 (QQ3ABC, Contest IARU Reg. I VHF). Riprenderlo?"});
  EXPECT_EQ(everything(again.session), before);
  EXPECT_TRUE(again.session.log().hasUnsavedContacts());
  EXPECT_EQ(again.session.log().focusRequest(), &again.session.log().callsignField);

  // The resumed log goes on exactly as one that never stopped.
  again.logContact("qq4abc", "jn61fu");
  const TempFolder otherData;
  ProgramRun unbroken(otherData.path());
  playThreeContacts(unbroken);
  unbroken.logContact("qq4abc", "jn61fu");
  EXPECT_EQ(everything(again.session), everything(unbroken.session));
}

// Enter on the resume question resumes: "No" would set the log aside, out of the operator's
// sight. Every other question keeps "No" as what Enter answers.
TEST_F(JournalTest, OnlyTheResumeQuestionAnswersSiOnEnter) {
  crashAfterThreeContacts();
  ProgramRun again(data.path(), {true, false});
  EXPECT_FALSE(again.session.close()) << "the log holds contacts not written to an EDI file";
  EXPECT_EQ(again.dialogs.questions.size(), 2U);
  EXPECT_EQ(again.dialogs.defaultAnswers, (std::vector<Answer>{Answer::Yes, Answer::No}));
}

// A duplicate is no contact in the question; a correction made just before the crash is resumed
// with the rest.
TEST_F(JournalTest, ResumesACorrectionAndCountsContactsAsTheScoreDoes) {
  std::vector<std::string> before;
  {
    ProgramRun run(data.path());
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    run.logContact("qq1abc", "kn02aa");
    LogForm& log = run.session.log();
    run.act([&] {
      log.logBuffer().setCaret(log.logBuffer().text().find("\r\n") + 2);
      log.logBuffer().open();
    });
    ASSERT_NE(run.session.contact(), nullptr);
    run.act([&] { run.session.contact()->locatorField.setText("jn71jk"); });
    run.act([&] { run.session.contact()->okButton.press(); });
    before = everything(run.session);
  }
  ProgramRun again(data.path(), {true});
  ASSERT_EQ(again.dialogs.questions,
            std::vector<std::string>{"È stato trovato un LOG non chiuso: 1 contatto, alle 0840 "
                                     "(QQ1ABC, Contest IARU Reg. I VHF). Riprenderlo?"});
  EXPECT_EQ(everything(again.session), before);
  EXPECT_NE(again.session.log().logBuffer().text().find(";JN71JK;0;;;;D"), std::string::npos);
}

// A change that is no operator's event on a window, made through the session's door, is on the
// disk when the door returns, and the windows are asked to show it.
TEST_F(JournalTest, AChangeThroughTheSessionsDoorIsOnTheDiskAtOnce) {
  const std::string line = "261208;0840;QQ7ABC;1;59;001;59;;;JN61FU;349;;N;;\r\n";
  {
    ProgramRun run(data.path());
    run.openLog();
    run.screens.events.clear();
    run.session.apply([&] { run.session.log().logBuffer().append(line); });
    EXPECT_EQ(run.screens.events, std::vector<std::string>{"syncViews"});
  }
  ProgramRun again(data.path(), {true});
  EXPECT_EQ(again.session.log().logBuffer().text(), line);
  EXPECT_EQ(again.session.log().totalField.text(), "349");
}

TEST_F(JournalTest, ACleanEndAsksNothingAndKeepsTheFinishedJournal) {
  {
    ProgramRun run(data.path(), {true});
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    ASSERT_TRUE(run.session.close());
  }
  ProgramRun again(data.path());
  EXPECT_TRUE(again.dialogs.questions.empty());
  EXPECT_FALSE(again.session.hasLog());
  EXPECT_TRUE(std::filesystem::exists(data.path() / "vantor-20261208-0840.journal"));
}

// Every band log and the band logged come back; a switch of band writes a few bytes, not the
// logs.
TEST_F(JournalTest, ResumesEveryBandLogAndTheBandLogged) {
  std::vector<std::string> before;
  {
    ProgramRun run(data.path());
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    run.logContact("qq2abc", "kn02aa");
    run.act([&] { run.session.header().bandList.pickText("432 Mhz"); });
    run.logContact("qq1abc", "jn71jk");
    const auto size = std::filesystem::file_size(run.journal.livePath());
    run.act([&] { run.session.log().stepBand(-1); });
    EXPECT_LT(std::filesystem::file_size(run.journal.livePath()) - size, 1000U);
    run.act([&] { run.session.log().stepBand(1); });
    before = everything(run.session);
  }
  ProgramRun again(data.path(), {true});
  ASSERT_EQ(again.dialogs.questions,
            std::vector<std::string>{"È stato trovato un LOG non chiuso: 3 contatti su 2 bande, "
                                     "l'ultimo alle 0840 (QQ1ABC, Contest IARU Reg. I VHF). "
                                     "Riprenderlo?"});
  EXPECT_EQ(everything(again.session), before);
  LogForm& log = again.session.log();
  EXPECT_EQ(log.band().band(), "432 Mhz");
  EXPECT_EQ(log.serialSentField.text(), "002");
  EXPECT_EQ(log.document().score().contacts(), 1U);
  again.act([&] { log.stepBand(-1); });
  EXPECT_EQ(log.serialSentField.text(), "003");
  EXPECT_EQ(log.document().score().contacts(), 2U);
}

// A new contest sets the journal of the earlier one aside whole, and its own journal holds none
// of the earlier contacts.
TEST_F(JournalTest, ANewContestKeepsTheEarlierOneAside) {
  crashAfterThreeContacts();
  std::vector<std::string> now;
  {
    ProgramRun again(data.path(), {true, true});
    const std::string old = readBytes(data.path() / "vantor.journal");
    again.act([&] { again.session.header().contestList.pickText("Contest IARU Reg. I UHF-SHF"); });
    EXPECT_EQ(again.dialogs.questions.back(), "Il LOG contiene contatti: cambiare contest?");
    EXPECT_TRUE(readBytes(data.path() / "vantor-20261208-0840-contest-precedente.journal")
                    .starts_with(old));
    now = everything(again.session);
  }
  const TempFolder otherData;
  {
    ProgramRun earlier(otherData.path());
    earlier.journal.reopen(data.path() / "vantor-20261208-0840-contest-precedente.journal");
    EXPECT_EQ(earlier.session.header().contestList.text(), "Contest IARU Reg. I VHF");
    EXPECT_EQ(earlier.session.log().document().score().contacts(), 3U);
  }
  ProgramRun third(data.path(), {true});
  EXPECT_EQ(third.dialogs.questions,
            std::vector<std::string>{"È stato trovato un LOG non chiuso, senza contatti "
                                     "(Contest IARU Reg. I UHF-SHF). Riprenderlo?"});
  EXPECT_EQ(everything(third.session), now);
}

TEST_F(JournalTest, AFreshStartWritesTheJournalAtTheFirstChange) {
  {
    ProgramRun run(data.path());
    EXPECT_FALSE(std::filesystem::exists(run.journal.livePath()));
    run.openLog();
  }
  ProgramRun again(data.path(), {true});
  EXPECT_EQ(again.dialogs.questions.size(), 1U);
  EXPECT_TRUE(again.session.hasLog());
}

TEST_F(JournalTest, NoStartsEmptyAndKeepsTheOldJournalAside) {
  crashAfterThreeContacts();
  const std::string old = readBytes(data.path() / "vantor.journal");
  ProgramRun again(data.path(), {false});
  EXPECT_EQ(again.dialogs.questions.size(), 1U);
  EXPECT_FALSE(again.session.hasLog());
  EXPECT_EQ(readBytes(data.path() / "vantor-20261208-0840-non-ripreso.journal"), old);
  ProgramRun third(data.path());
  EXPECT_TRUE(third.dialogs.questions.empty()) << "a fresh start has nothing to resume";
}

TEST_F(JournalTest, AJournalCutAtAnyByteRestoresEveryCompleteEntry) {
  crashAfterThreeContacts();
  const std::string bytes = readBytes(data.path() / "vantor.journal");
  const JournalContents whole = decodeJournal(bytes);
  ASSERT_EQ(whole.status, JournalContents::Status::Complete);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    const JournalContents part = decodeJournal(std::string_view(bytes).substr(0, cut));
    ASSERT_TRUE(part.status == JournalContents::Status::Torn ||
                part.status == JournalContents::Status::Complete)
        << cut;
    ASSERT_LE(part.entries.size(), whole.entries.size());
    ASSERT_TRUE(std::equal(part.entries.begin(), part.entries.end(), whole.entries.begin()));
    ASSERT_EQ(part.soundBytes <= cut, true);
  }
}

TEST_F(JournalTest, RandomDamageIsReportedAndNeverCrashes) {
  crashAfterThreeContacts();
  const std::string bytes = readBytes(data.path() / "vantor.journal");
  std::mt19937 random(8);
  for (int round = 0; round < 40; ++round) {
    std::string damaged = bytes;
    for (int flip = 0; flip < 1 + round % 4; ++flip) {
      damaged[random() % damaged.size()] = static_cast<char>(random());
    }
    writeBytes(data.path() / "vantor.journal", damaged);
    ProgramRun again(data.path(), {true});
    ASSERT_TRUE(again.started);
    if (damaged != bytes && again.dialogs.questions.empty()) {
      EXPECT_FALSE(again.dialogs.messages.empty()) << round;
    }
    again.session.close();
  }
}

TEST_F(JournalTest, AReadOnlyFolderIsToldOnceAndLoggingGoesOn) {
  const SmallDisk disk(data.path() / "disk", true);
  if (!disk.mounted) {
    GTEST_SKIP() << "a read-only folder needs a tmpfs mount, refused here";
  }
  ProgramRun run(disk.path);
  ASSERT_TRUE(run.started);
  run.openLog();
  run.logContact("qq1abc", "jn61fu");
  run.logContact("qq2abc", "kn02aa");
  ASSERT_EQ(run.dialogs.messages.size(), 1U);
  EXPECT_TRUE(run.dialogs.messages[0].text.starts_with(
      "Impossibile scrivere il giornale del LOG in " + disk.path.string() + ": "));
  EXPECT_EQ(run.session.log().serialSentField.text(), "003");
}

TEST_F(JournalTest, AFullDiskIsToldAndTheNextChangeAfterItWritesTheWholeLog) {
  const SmallDisk disk(data.path() / "disk", false);
  if (!disk.mounted) {
    GTEST_SKIP() << "a small disk needs a tmpfs mount, refused here";
  }
  std::vector<std::string> before;
  {
    ProgramRun run(disk.path);
    run.openLog();
    run.logContact("qq1abc", "jn61fu");
    ASSERT_TRUE(run.dialogs.messages.empty());
    std::ofstream(disk.path / "filler", std::ios::binary) << std::string(64 * 1024, 'x');
    // Enough contacts to need a page of the disk beyond the one the journal ends in.
    for (const char* call : {"qq2abc", "qq3abc", "qq5abc", "qq6abc", "qq7abc", "qq8abc"}) {
      run.logContact(call, "kn02aa");
    }
    ASSERT_EQ(run.dialogs.messages.size(), 1U) << "told once, not on every change";

    std::filesystem::remove(disk.path / "filler");
    run.logContact("qq4abc", "jn61fu");
    before = everything(run.session);
  }
  ProgramRun again(disk.path, {true});
  EXPECT_EQ(everything(again.session), before);
}

TEST_F(JournalTest, ASecondProgramOnTheSameFolderIsRefused) {
  ProgramRun first(data.path());
  ProgramRun second(data.path());
  EXPECT_TRUE(first.started);
  EXPECT_FALSE(second.started);
  ASSERT_EQ(second.dialogs.messages.size(), 1U);
  EXPECT_TRUE(second.dialogs.messages[0].text.starts_with("Vantor è già aperto"));
}

// A journal the first format wrote, killed while a call was typed, is still offered and resumed.
TEST_F(JournalTest, AJournalOfTheFirstFormatIsResumed) {
  std::filesystem::copy_file(std::filesystem::path(VANTOR_TEST_DATA_DIR) / "first_format.journal",
                             data.path() / "vantor.journal");
  ProgramRun again(data.path(), {true});
  ASSERT_EQ(again.dialogs.questions.size(), 1U);
  EXPECT_TRUE(again.dialogs.messages.empty());
  EXPECT_TRUE(again.session.logShown());
  EXPECT_EQ(again.session.log().callsignField.text(), "IQ1AAA");
}

// An edit in the middle of a long log writes the edit, not the log behind it, and a crash after
// any of them resumes the log exactly.
TEST_F(JournalTest, AnEditInTheMiddleOfTheLogWritesThatEditAlone) {
  std::vector<std::string> before;
  {
    ProgramRun run(data.path());
    run.openLog();
    LogForm& log = run.session.log();
    std::string lines;
    for (int i = 0; i < 2000; ++i) {
      lines += "261208;0840;QQ" + std::to_string(i) + "AB;1;59;001;59;001;;JN61FU;100;;N;;\r\n";
    }
    run.act([&] { log.logBuffer().edit(lines, 0); });
    const auto journalSize = [&] { return std::filesystem::file_size(run.journal.livePath()); };
    const std::vector<std::function<void(std::string&)>> edits = {
        [](std::string& text) { text[50'000] = 'X'; },
        [](std::string& text) { text.erase(30'000, 60); },
        [](std::string& text) { text.insert(0, "nota\r\n"); },
        [](std::string& text) { text.insert(text.size() - 10, "Y"); },
    };
    for (const auto& edit : edits) {
      const auto before = journalSize();
      std::string text = log.logBuffer().text();
      edit(text);
      run.act([&] { log.logBuffer().edit(text, 0); });
      EXPECT_LT(journalSize() - before, 300U);
    }
    // Two edits far apart before one save, then an append.
    run.act([&] {
      std::string text = log.logBuffer().text();
      text[100] = 'Z';
      log.logBuffer().edit(text, 0);
      text[90'000] = 'Z';
      log.logBuffer().edit(text, 0);
      log.logBuffer().edit(text + "fine", 0);
    });
    before = everything(run.session);
  }
  ProgramRun again(data.path(), {true});
  EXPECT_EQ(everything(again.session), before);
}

}  // namespace
}  // namespace vantor::testing

// Journals written by an earlier run of the program must still be read: the bytes of an entry
// of the second format stay readable behind its header, and an entry written now keeps its bytes.
TEST(JournalCodec, AnEntryKeepsItsBytesOnDisk) {
  const vantor::JournalEntry entry = {"L", "", "abc"};
  using namespace std::string_literals;
  const std::string secondFormat =
      "VANTOR-JOURNAL 2\n"s + "\x0a\x00\x00\x00\xf5\xff\xff\xff\x44\xdf\x66\x1f"s + "1:L0:3:abc";
  EXPECT_EQ(vantor::decodeJournal(secondFormat).entries, std::vector<vantor::JournalEntry>{entry});
  EXPECT_EQ(vantor::decodeJournal(secondFormat).format, 2);

  const std::string thirdFormat =
      "VANTOR-JOURNAL 3\n"s + "\x0a\x00\x00\x00\xf5\xff\xff\xff\x3a\xa5\xfa\xee"s + "1:L0:3:abc";
  EXPECT_EQ(vantor::decodeJournal(thirdFormat).entries, std::vector<vantor::JournalEntry>{entry});
  EXPECT_EQ(vantor::decodeJournal(thirdFormat).format, 2);

  const std::string bytes = "\x0a\x00\x00\x00\xf5\xff\xff\xff\xb5\x4c\x62\x9a"s + "1:L0:3:abc";
  EXPECT_EQ(vantor::encodeEntry(entry), bytes);
  std::string journal(vantor::kJournalHeader);
  vantor::appendEntry(journal, entry);
  EXPECT_EQ(journal, "VANTOR-JOURNAL 4\n" + bytes);
  EXPECT_EQ(vantor::decodeJournal(journal).entries, std::vector<vantor::JournalEntry>{entry});
  EXPECT_EQ(vantor::decodeJournal(journal).format, vantor::kStateFormat);
}

// A journal whose header changed in any bit, as to the number of an earlier format, gives none
// of its entries: its check sums cover the header.
TEST(JournalCodec, AChangedHeaderGivesNoEntry) {
  std::string journal(vantor::kJournalHeader);
  vantor::appendEntry(journal, {"F", "1:H"});
  vantor::appendEntry(journal, {"C", "2:L"});
  for (std::size_t at = 0; at < vantor::kJournalHeader.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string changed = journal;
      changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
      const vantor::JournalContents contents = vantor::decodeJournal(changed);
      EXPECT_TRUE(contents.entries.empty()) << at << " " << bit;
      EXPECT_NE(contents.status, vantor::JournalContents::Status::Complete) << at << " " << bit;
    }
  }
  for (const char number : std::string_view("0123579")) {
    std::string changed = journal;
    changed[vantor::kJournalHeader.size() - 2] = number;
    EXPECT_TRUE(vantor::decodeJournal(changed).entries.empty()) << number;
  }
}
