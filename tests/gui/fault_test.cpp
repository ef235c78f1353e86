#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/mount.h>
#endif

#include "app/session.h"
#include "edi/edi_file.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

void exportEdi(RunningProgram& program) {
  RunningProgram::click(program.log<QPushButton>("Command2"));
}

// What the operator sees of the log and whether closing would ask first.
struct LogState {
  std::string buffer;
  QString shownBuffer;
  QString label;
  bool unsaved;

  [[nodiscard]] LogState withoutLabel() const {
    LogState state = *this;
    state.label.clear();
    return state;
  }
  static LogState of(RunningProgram& program) {
    return {program.session().log().logBuffer().text(),
            program.log<QPlainTextEdit>("Text15")->toPlainText(),
            program.log<QLabel>("Label1")->text(), program.session().log().hasUnsavedContacts()};
  }
  friend bool operator==(const LogState&, const LogState&) = default;
};

// The lines of an EDI file without their CR LF; nothing when a CR or LF stands alone anywhere.
std::optional<std::vector<std::string>> crLfLines(const std::string& file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    if (end == std::string::npos) {
      return std::nullopt;
    }
    lines.push_back(file.substr(start, end - start));
    if (lines.back().find_first_of("\r\n") != std::string::npos) {
      return std::nullopt;
    }
    start = end + 2;
  }
  return lines;
}

fs::path pathFromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

// What "Inserisci" says of a row whose every field is wrong, in the order it checks them, as the
// operator corrects one field after the other.
const char* const kRowRefusals[] = {"Inserire orario nel formato hhmm",
                                    "Inserire data nel formato yymmdd",
                                    "Numero progressivo non valido",
                                    "Nominativo non valido",
                                    "RST non valido",
                                    "Numero ricevuto non valido",
                                    "Locatore non valido"};

}  // namespace

class FaultTest : public QObject {
  Q_OBJECT

 private slots:
  void aFolderThatCannotBeWrittenKeepsTheLog_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reason");
    // "@" stands for a fresh temporary folder. Running as root does not help with any of them.
    QTest::newRow("below a regular file") << "@/file/sub"
                                          << "Not a directory";
    QTest::newRow("missing") << "@/missing"
                             << "No such file or directory";
    QTest::newRow("the name taken by a folder") << "@"
                                                << "Is a directory";
    QTest::newRow("the process file system") << "/proc"
                                             << "No such file or directory";
  }

  void aFolderThatCannotBeWrittenKeepsTheLog() {
    QFETCH(QString, folder);
    QFETCH(QString, reason);
    const TempFolder temporary;
    const TempFolder good;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.openLog();
    program.session().setProgramFolder(good.path());
    program.logContact({"qq1abc", "001", "jn61fu"});
    exportEdi(program);
    const std::string saved = vantor::testing::readBytes(good.path() / "01_QQ9XYZ.edi");
    program.logContact({"qq2abc", "001", "jn62kq"});

    // What the rows need: a regular file, and a folder where the EDI file should go.
    vantor::testing::writeBytes(temporary.path() / "file", "a file, not a folder");
    fs::create_directory(temporary.path() / "01_QQ9XYZ.edi");
    const fs::path unwritable =
        folder.replace(QStringLiteral("@"), QString::fromStdString(temporary.path().string()))
            .toStdString();
    program.session().setProgramFolder(unwritable);
    const LogState before = LogState::of(program);
    exportEdi(program);

    const fs::path path = unwritable / "01_QQ9XYZ.edi";
    QCOMPARE(program.messageTexts(),
             std::vector<std::string>{"Impossibile salvare il LOG in " + path.string() + ": " +
                                      reason.toStdString()});
    QCOMPARE(program.log<QLabel>("Label1")->text(),
             QStringLiteral("***  Il LOG non è stato salvato  ***"));
    QVERIFY(LogState::of(program).withoutLabel() == before.withoutLabel());
    QVERIFY(before.unsaved);
    QVERIFY(!fs::exists(fs::path(path) += ".tmp"));
    // Closing still asks; answering "No" keeps the program.
    RunningProgram::click(program.log<QPushButton>("Command4"));
    QCOMPARE(program.dialogs.questions.size(), std::size_t{1});
    QVERIFY(!program.session().ended());

    // The good folder again: the file now holds both contacts.
    program.session().setProgramFolder(good.path());
    exportEdi(program);
    QCOMPARE(program.messageTexts().size(), std::size_t{1});
    const std::string file = vantor::testing::readBytes(good.path() / "01_QQ9XYZ.edi");
    QVERIFY(file != saved);
    QVERIFY(file.find(";QQ2ABC;") != std::string::npos);
  }

  void aFullDiskKeepsTheLogAndTheEarlierFile() {
#if defined(__linux__)
    const TempFolder temporary;
    const fs::path disk = temporary.path() / "disk";
    fs::create_directory(disk);
    if (::mount("vantor-test", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
      const std::string why =
          "a small disk needs a tmpfs mount, refused here: " + std::string(std::strerror(errno));
      QSKIP(why.c_str());
    }
    struct Unmount {
      const fs::path& disk;
      ~Unmount() { ::umount2(disk.c_str(), MNT_DETACH); }
    } unmount{disk};

    RunningProgram program({2026, 12, 7, 14, 32});
    program.openLog();
    program.session().setProgramFolder(disk);
    program.logContact({"qq1abc", "001", "jn61fu"});
    exportEdi(program);
    const fs::path path = disk / "01_QQ9XYZ.edi";
    const std::string saved = vantor::testing::readBytes(path);
    QVERIFY(!saved.empty());
    program.logContact({"qq2abc", "001", "jn62kq"});

    // Fill the disk to the last byte.
    {
      std::ofstream filler(disk / "filler", std::ios::binary);
      const std::string block(512, 'x');
      while (filler) {
        filler.write(block.data(), static_cast<std::streamsize>(block.size()));
        filler.flush();
      }
    }
    const LogState before = LogState::of(program);
    exportEdi(program);

    QCOMPARE(program.messageTexts(),
             std::vector<std::string>{"Impossibile salvare il LOG in " + path.string() +
                                      ": No space left on device"});
    QVERIFY(LogState::of(program).withoutLabel() == before.withoutLabel());
    QCOMPARE(vantor::testing::readBytes(path), saved);
    QVERIFY(!fs::exists(fs::path(path) += ".tmp"));

    // Room again: the same button saves the whole log.
    fs::remove(disk / "filler");
    exportEdi(program);
    QCOMPARE(program.messageTexts().size(), std::size_t{1});
    QVERIFY(vantor::testing::readBytes(path).find(";QQ2ABC;") != std::string::npos);
    QVERIFY(!program.session().log().hasUnsavedContacts());
#else
    QSKIP("a small disk is made with a Linux tmpfs mount");
#endif
  }

  void tenThousandCharactersInEveryField() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());
    const QString letters(10000, QLatin1Char('w'));
    const QString digits(10000, QLatin1Char('9'));
    const char* headerFields[] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text5",
                                  "Text6",  "Text7",  "Text8",  "Text9",  "Text10",
                                  "Text11", "Text12", "Text13", "Text14", "Text15",
                                  "Text16", "Text17", "Text18", "Text19", "Text20"};
    for (const char* name : headerFields) {
      RunningProgram::paste(program.header<QLineEdit>(name), letters);
    }
    for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
      RunningProgram::paste(program.header<QComboBox>(name), letters);
    }
    QCOMPARE(program.header<QLineEdit>("Text1")->text(), letters.toUpper());
    QCOMPARE(program.header<QLineEdit>("Text1")->cursorPosition(), 10000);
    QCOMPARE(program.header<QLineEdit>("Text17")->text(), letters);

    // "Avanti -->" refuses what it cannot hand over, one field after the other.
    program.proceed();
    QCOMPARE(program.messageTexts().back(), std::string("Locatore non valido"));
    RunningProgram::retype(program.header<QLineEdit>("Text2"), "jn70aa");
    program.proceed();
    QCOMPARE(program.messageTexts().back(),
             std::string("Data inizio non valida: usare il formato gg/mm/aaaa"));
    QVERIFY(program.application.logWindow() == nullptr);
    RunningProgram::retype(program.header<QLineEdit>("Text19"), "07/12/2026");
    program.proceed();
    QCOMPARE(program.messageTexts().size(), std::size_t{2});
    QVERIFY(program.application.logWindow()->isVisible());

    // The log: numbers where the program reads numbers, letters elsewhere, the time and date
    // typed too. The statistics rows are the records' own and take nothing.
    RunningProgram::click(program.log<QCheckBox>("Check2"));
    for (const char* name :
         {"Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text11", "Text3", "Text13"}) {
      RunningProgram::paste(program.log<QLineEdit>(name), letters);
    }
    for (const char* name : {"Text1", "Text12", "Text14"}) {
      RunningProgram::paste(program.log<QLineEdit>(name), digits);
    }
    for (const char* name : {"Text11", "Text3", "Text13", "Text12", "Text14"}) {
      QCOMPARE(program.log<QLineEdit>(name)->text(), QString());
    }
    RunningProgram::paste(program.log<QComboBox>("Combo1"), letters);
    RunningProgram::paste(program.log<QPlainTextEdit>("Text15"), letters);
    QCOMPARE(program.log<QLineEdit>("Text10")->text(), QString());

    // "Inserisci" names the first field it cannot use, and nothing moves.
    const std::pair<const char*, const char*> corrections[] = {
        {"Text5", "1432"}, {"Text4", "261207"}, {"Text1", "002"},   {"Text6", "qq1abc"},
        {"Text7", "59"},   {"Text8", "5"},      {"Text9", "jn61fu"}};
    for (std::size_t i = 0; i < std::size(corrections); ++i) {
      program.insert();
      QCOMPARE(program.messageTexts().back(), std::string(kRowRefusals[i]));
      QCOMPARE(program.session().log().logBuffer().text(), letters.toStdString());
      RunningProgram::retype(program.log<QLineEdit>(corrections[i].first), corrections[i].second);
    }
    program.insert();
    QCOMPARE(program.messageTexts().size(), std::size_t{9});
    const std::string call = letters.toUpper().toStdString();
    const std::string text = letters.toStdString();
    const std::string line = "261207;1432;QQ1ABC;;59;002;59;5;;JN61FU;243;;N;;";
    QCOMPARE(program.session().log().logBuffer().text(), text + "\r\n" + line + "\r\n");
    // The statistics are the one contact's.
    QCOMPARE(program.log<QLineEdit>("Text11")->text(), QStringLiteral("QQ1ABC"));
    QCOMPARE(program.log<QLineEdit>("Text12")->text(), QStringLiteral("243"));
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), QStringLiteral("243"));
    QCOMPARE(program.log<QLineEdit>("Text13")->text(), QStringLiteral("243"));
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("003"));

    // "Genera EDI": the end date cannot be read, then the callsign is too long for a file name.
    // Each time the pasted first line of the log is named and the operator writes anyway.
    program.dialogs.answers = {true, true};
    exportEdi(program);
    QCOMPARE(program.messageTexts().back(),
             std::string("Data non valida: usare il formato gg/mm/aaaa"));
    RunningProgram::retype(program.header<QLineEdit>("Text20"), "08/12/2026");
    const std::string logBefore = program.session().log().logBuffer().text();
    exportEdi(program);
    // The message quotes the path's first and last characters, not all ten thousand.
    const std::string tooLong = (folder.path() / ("_" + call + ".edi")).string();
    QCOMPARE(program.messageTexts().back(),
             "Impossibile salvare il LOG in " + tooLong.substr(0, 100) + "…" +
                 tooLong.substr(tooLong.size() - 99) + ": File name too long");
    QCOMPARE(program.session().log().logBuffer().text(), logBefore);
    QCOMPARE(program.log<QLabel>("Label1")->text(),
             QStringLiteral("***  Il LOG non è stato salvato  ***"));

    // A callsign of the usual length: the typed category and band have no section code.
    RunningProgram::retype(program.header<QLineEdit>("Text1"), "qq9xyz");
    exportEdi(program);
    QCOMPARE(program.messageTexts().size(), std::size_t{11});
    QCOMPARE(program.dialogs.questions.size(), std::size_t{2});
    const auto read = crLfLines(vantor::testing::readBytes(folder.path() / "_QQ9XYZ.edi"));
    QVERIFY(read);
    const std::vector<std::string>& lines = *read;
    QCOMPARE(lines.size(), std::size_t{43});
    QCOMPARE(lines[1], "TName=" + text);
    QCOMPARE(lines[8], std::string("PSect="));
    QCOMPARE(lines[26], "SAntH=" + text + ";" + text);
    // The claims are the records', as the statistics rows show them.
    QCOMPARE(lines[28], std::string("CQSOP=243"));
    QCOMPARE(lines[36], std::string("CODXC=QQ1ABC;JN61FU;243"));
    QCOMPARE(lines[38], text);
    QCOMPARE(lines[39], std::string("[QSORecords;2]"));
    QCOMPARE(lines[40], text);
    QCOMPARE(lines[41], line);
  }

  void nonLatinTextInEveryField() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());

    // Typed through an input method: the callsign is upper-cased where it has letters to.
    RunningProgram::type(program.header<QLineEdit>("Text1"), QStringLiteral("qq9日本😀"));
    QCOMPARE(program.header<QLineEdit>("Text1")->text(), QStringLiteral("QQ9日本😀"));
    QCOMPARE(program.header<QLineEdit>("Text1")->cursorPosition(), 7);
    RunningProgram::pick(program.header<QComboBox>("Combo1"), 5);
    RunningProgram::pick(program.header<QComboBox>("Combo2"), 0);
    RunningProgram::pick(program.header<QComboBox>("Combo3"), 1);
    const std::pair<const char*, QString> pasted[] = {
        {"Text2", QStringLiteral("ＪＮ７０ＡＡ")},
        {"Text3", QStringLiteral("山田 太郎 😀")},
        {"Text4", QStringLiteral("東京都 千代田区 📡")},
        {"Text5", QStringLiteral("〒100")},
        {"Text6", QStringLiteral("東京")},
        {"Text7", QStringLiteral("日本")},
        {"Text8", QStringLiteral("☎ 03")},
        {"Text9", QStringLiteral("山田@例え.jp")},
        {"Text10", QStringLiteral("山田 😀")},
        {"Text18", QStringLiteral("クラブ")},
        {"Text11", QStringLiteral("受信機")},
        {"Text12", QStringLiteral("送信機")},
        {"Text13", QStringLiteral("八木 📡")},
        {"Text14", QStringLiteral("５００")},
        {"Text15", QStringLiteral("１２")},
        {"Text16", QStringLiteral("３５")},
        {"Text17", QStringLiteral("良い 😀 コンディション")},
        {"Text20", QStringLiteral("08/12/二〇二六")},
    };
    for (const auto& [name, text] : pasted) {
      RunningProgram::paste(program.header<QLineEdit>(name), text);
    }
    // Typed into the list's edit box: no pick, so the category and band keep their section code.
    RunningProgram::paste(program.header<QComboBox>("Combo1"), QStringLiteral("コンテスト 😀"));

    program.proceed();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Locatore non valido"});
    RunningProgram::retype(program.header<QLineEdit>("Text2"), "jn70aa");
    program.proceed();
    QCOMPARE(program.messageTexts().size(), std::size_t{1});

    RunningProgram::type(program.log<QLineEdit>("Text6"), QStringLiteral("qq1中😀"));
    RunningProgram::type(program.log<QLineEdit>("Text8"), QStringLiteral("五"));
    RunningProgram::paste(program.log<QLineEdit>("Text9"), QStringLiteral("ＪＮ６１ＦＵ"));
    QCOMPARE(program.log<QLineEdit>("Text10")->text(), QString());
    RunningProgram::paste(program.log<QLineEdit>("Text7"), QStringLiteral("５９"));
    RunningProgram::paste(program.log<QComboBox>("Combo1"), QStringLiteral("音声"));
    RunningProgram::paste(program.log<QLineEdit>("Text1"), QStringLiteral("００１"));
    RunningProgram::paste(program.log<QLineEdit>("Text5"), QStringLiteral("１４３２"));
    RunningProgram::paste(program.log<QLineEdit>("Text4"), QStringLiteral("二六一二〇七"));
    for (const char* name : {"Text11", "Text3", "Text12", "Text13", "Text14"}) {
      RunningProgram::paste(program.log<QLineEdit>(name), QStringLiteral("😀"));
    }
    // A record holds ASCII digits and letters where robots read them: each field is named.
    const std::pair<const char*, const char*> corrections[] = {
        {"Text5", "1432"}, {"Text4", "261207"}, {"Text1", "001"},   {"Text6", "qq1abc"},
        {"Text7", "59"},   {"Text8", "5"},      {"Text9", "jn61fu"}};
    for (std::size_t i = 0; i < std::size(corrections); ++i) {
      program.insert();
      QCOMPARE(program.messageTexts().back(), std::string(kRowRefusals[i]));
      RunningProgram::retype(program.log<QLineEdit>(corrections[i].first), corrections[i].second);
    }
    program.insert();
    QCOMPARE(program.messageTexts().size(), std::size_t{8});
    QCOMPARE(program.log<QLineEdit>("Text11")->text(), QStringLiteral("QQ1ABC"));

    // The same call again is found in the log.
    RunningProgram::type(program.log<QLineEdit>("Text6"), QStringLiteral("qq1abc"));
    QCOMPARE(program.log<QLineEdit>("Text6")->palette().color(QPalette::Text), QColor(255, 0, 0));
    RunningProgram::type(program.log<QLineEdit>("Text9"), "jn61fu");
    program.insert();
    QCOMPARE(program.messageTexts().back(), std::string("Inserito un duplicato"));

    // The header's 8-bit texts are named before the file is written.
    program.dialogs.answers = {true};
    exportEdi(program);
    QCOMPARE(program.messageTexts().size(), std::size_t{9});
    QCOMPARE(program.dialogs.questions.size(), std::size_t{1});
    // The file keeps the callsign in its name; inside, what Windows-1252 cannot hold is "?".
    const fs::path path = folder.path() / pathFromUtf8("01_QQ9日本😀.edi");
    QCOMPARE(program.log<QLabel>("Label1")->text(),
             QStringLiteral("***  Il LOG è stato salvato in ") +
                 QString::fromStdString(vantor::pathText(path)) + QStringLiteral("  ***"));
    const std::string difference = vantor::testing::compareWithGolden(
        vantor::testing::readBytes(path), fs::path(VANTOR_TEST_DATA_DIR) / "non_latin_01.edi");
    QVERIFY2(difference.empty(), difference.c_str());
  }

  // The log date takes the last two characters of the year and the Sicilian rule looks at the
  // call's third character, whatever the number of bytes of the characters before them.
  void aCharacterOfSeveralBytesCountsAsOne() {
    RunningProgram program({2026, 12, 7, 14, 32});
    program.fillHeader({.locator = "jm77bn", .contest = 11, .category = 2});
    RunningProgram::paste(program.header<QLineEdit>("Text19"), QStringLiteral("07/12/2026年"));
    program.proceed();
    // Without "Auto" the log date is the one the header hands over.
    RunningProgram::click(program.log<QCheckBox>("Check2"));
    program.proceed();
    QCOMPARE(program.log<QLineEdit>("Text4")->text(), QStringLiteral("6年1207"));

    // No contact is dated so: that is no date a record can carry.
    program.logContact({.call = QStringLiteral("iq9abc"), .received = {}, .locator = "jm78ba"});
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Inserire data nel formato yymmdd"});
    QCOMPARE(program.session().log().logBuffer().text(), std::string());
  }

  // A no-break space typed into a header field, or a lone CR inside a line of a reopened file,
  // shows in the log as it is held and stays through an edit of the log.
  void aNoBreakSpaceAndALoneCrStayAsTheyAre() {
    const TempFolder folder;
    {
      RunningProgram program({2026, 12, 7, 14, 32});
      program.session().setProgramFolder(folder.path());
      RunningProgram::paste(program.header<QLineEdit>("Text4"), QStringLiteral("via\u00A0roma 1"));
      program.openLog();
      program.logContact({"qq1abc", "001", "jn61fu"});
      program.dialogs.answers = {true};
      exportEdi(program);
      RunningProgram::paste(program.log<QPlainTextEdit>("Text15"), QStringLiteral("nota"));
      const std::string& buffer = program.session().log().logBuffer().text();
      QVERIFY(buffer.find("RAdr1=VIA\u00A0ROMA 1\r\n") != std::string::npos);
      QVERIFY(buffer.ends_with("nota"));
    }
    std::string file = vantor::testing::readBytes(folder.path() / "01_QQ9XYZ.edi");
    file.replace(file.find("[Remarks]\r\n") + 11, 0,
                 "prima\rdopo\xA0"
                 "fine");
    vantor::testing::writeBytes(folder.path() / "01_QQ9XYZ.edi", file);
    RunningProgram program({2026, 12, 7, 14, 32});
    program.application.reopen(folder.path() / "01_QQ9XYZ.edi");
    QVERIFY(program.session().log().logBuffer().text().find("prima\rdopo\u00A0fine") !=
            std::string::npos);
    RunningProgram::paste(program.log<QPlainTextEdit>("Text15"), QStringLiteral("nota"));
    QVERIFY(program.session().log().logBuffer().text().find("prima\r\ndopo\u00A0fine") !=
            std::string::npos);
  }

  void pastedLinesStayOneLine() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());

    RunningProgram::paste(program.header<QLineEdit>("Text1"), "qq9\r\nxyz");
    QCOMPARE(program.header<QLineEdit>("Text1")->text(), QStringLiteral("QQ9  XYZ"));
    RunningProgram::type(program.header<QLineEdit>("Text2"), "jn70aa");
    RunningProgram::pick(program.header<QComboBox>("Combo1"), 5);
    RunningProgram::pick(program.header<QComboBox>("Combo2"), 0);
    RunningProgram::pick(program.header<QComboBox>("Combo3"), 1);
    RunningProgram::paste(program.header<QLineEdit>("Text3"), "mario\nrossi");
    RunningProgram::paste(program.header<QLineEdit>("Text4"), "via roma 1\r\n00100 roma");
    RunningProgram::paste(program.header<QLineEdit>("Text10"), "QQ9XYZ\rQQ1ABC");
    RunningProgram::paste(program.header<QLineEdit>("Text17"), "riga uno\r\nriga due\nriga tre");
    QCOMPARE(program.header<QLineEdit>("Text17")->text(),
             QStringLiteral("riga uno  riga due riga tre"));
    program.proceed();

    // A call or a locator copied with its line end is refused until the blanks are gone.
    RunningProgram::paste(program.log<QLineEdit>("Text6"), "qq1abc\r\n");
    RunningProgram::type(program.log<QLineEdit>("Text8"), "005");
    RunningProgram::paste(program.log<QLineEdit>("Text9"), "jn61fu\r\n");
    QCOMPARE(program.log<QLineEdit>("Text9")->text(), QStringLiteral("JN61FU  "));
    program.insert();
    RunningProgram::retype(program.log<QLineEdit>("Text6"), "qq1abc");
    program.insert();
    QCOMPARE(program.messageTexts(),
             (std::vector<std::string>{"Nominativo non valido", "Locatore non valido"}));
    RunningProgram::retype(program.log<QLineEdit>("Text9"), "jn61fu");
    program.insert();
    QCOMPARE(program.session().log().logBuffer().text(),
             std::string("261207;1432;QQ1ABC;1;59;001;59;005;;JN61FU;243;;N;;\r\n"));

    exportEdi(program);
    QCOMPARE(program.messageTexts().size(), std::size_t{2});
    const auto read = crLfLines(vantor::testing::readBytes(folder.path() / "01_QQ9  XYZ.edi"));
    QVERIFY(read);
    const std::vector<std::string>& lines = *read;
    QCOMPARE(lines.size(), std::size_t{42});
    QCOMPARE(lines[3], std::string("PCall=QQ9  XYZ"));
    QCOMPARE(lines[11], std::string("RName=MARIO ROSSI"));
    QCOMPARE(lines[13], std::string("RAdr1=VIA ROMA 1  00100 ROMA"));
    QCOMPARE(lines[20], std::string("MOpe1=QQ9XYZ QQ1ABC"));
    QCOMPARE(lines[38], std::string("riga uno  riga due riga tre"));
    QCOMPARE(lines[40], std::string("261207;1432;QQ1ABC;1;59;001;59;005;;JN61FU;243;;N;;"));
  }
};

QTEST_MAIN(FaultTest)
#include "fault_test.moc"
