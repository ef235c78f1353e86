#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <string>

#include "app/session.h"
#include "form/windows1252.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::DateTime;
using vantor::testing::Contact;
using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;

namespace {

const std::filesystem::path dataFolder = VANTOR_TEST_DATA_DIR;

std::string lastLine(RunningProgram& program) {
  const std::string& log = program.session().log().logBuffer().text();
  const std::size_t start = log.rfind("\r\n", log.size() - 3);
  return log.substr(start == std::string::npos ? 0 : start + 2);
}

}  // namespace

class ContestTest : public QObject {
  Q_OBJECT

 private slots:
  void playsAContestFromTheHeaderToTheEdiFile() {
    const TempFolder folder;
    RunningProgram program({2026, 11, 7, 14, 55});
    program.session().setProgramFolder(folder.path());

    // The header, typed and picked.
    program.fillHeader({.callsign = "qq2vnt", .locator = "jn54mm"});
    RunningProgram::type(program.header<QLineEdit>("Text3"), "mario rossi");
    RunningProgram::type(program.header<QLineEdit>("Text4"), "via dei mille 12");
    RunningProgram::type(program.header<QLineEdit>("Text5"), "47121");
    RunningProgram::type(program.header<QLineEdit>("Text6"), QStringLiteral("forlì"));
    RunningProgram::type(program.header<QLineEdit>("Text7"), "italia");
    RunningProgram::type(program.header<QLineEdit>("Text8"), "+39 0543 123456");
    RunningProgram::type(program.header<QLineEdit>("Text9"), "qq2vnt@example.org");
    RunningProgram::type(program.header<QLineEdit>("Text10"), "QQ2VNT QQ2ABC");
    RunningProgram::type(program.header<QLineEdit>("Text18"), QStringLiteral("ARI Forlì"));
    RunningProgram::type(program.header<QLineEdit>("Text11"), "IC-9700");
    RunningProgram::type(program.header<QLineEdit>("Text12"), "IC-9700 + PA 500 W");
    RunningProgram::type(program.header<QLineEdit>("Text13"), "2 x 9 el. Yagi");
    RunningProgram::type(program.header<QLineEdit>("Text14"), "500");
    RunningProgram::type(program.header<QLineEdit>("Text15"), "12");
    RunningProgram::type(program.header<QLineEdit>("Text16"), "35");
    RunningProgram::type(program.header<QLineEdit>("Text17"),
                         QStringLiteral("Propagazione più che buona"));
    RunningProgram::retype(program.header<QLineEdit>("Text19"), "07/11/2026");
    RunningProgram::retype(program.header<QLineEdit>("Text20"), "08/11/2026");
    QCOMPARE(program.header<QLineEdit>("Text1")->text(), QStringLiteral("QQ2VNT"));
    QCOMPARE(program.header<QLineEdit>("Text6")->text(), QStringLiteral("FORLÌ"));
    QCOMPARE(program.header<QLineEdit>("Text9")->text(), QStringLiteral("qq2vnt@example.org"));
    program.proceed();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QVERIFY(program.application.logWindow()->isVisible());
    QCOMPARE(program.log<QLineEdit>("Text4")->text(), QStringLiteral("261107"));
    QCOMPARE(program.log<QLineEdit>("Text5")->text(), QStringLiteral("1455"));
    QCOMPARE(program.log<QLineEdit>("Text2")->text(), QStringLiteral("144"));

    // Phone contacts with the time typed by hand: the automatic time is unticked first.
    RunningProgram::click(program.log<QCheckBox>("Check2"));
    QVERIFY(!program.session().log().autoTimeBox.checked());
    const struct {
      const char* time;
      Contact contact;
    } byHand[] = {
        {"1500", {"qq1aaa", "001", "jn45ok"}},
        {"1504", {"qq3bbb", "014", "jn55vf"}},
        {"1511", {"qq5ccc", "007", "jn63gk"}},
        {"1517", {"qq0ddd", "120", "io91wm"}},
    };
    for (const auto& [time, contact] : byHand) {
      RunningProgram::retype(program.log<QLineEdit>("Text5"), time);
      program.logContact(contact);
    }
    // A square alone is no contest locator: the insertion refuses it. The operator types that
    // contact into the log by hand, as one may, empties the row and moves the serial on; the
    // statistics follow the typed record ("JN54" stands for its subsquare JN54LL, 8 km away).
    RunningProgram::retype(program.log<QLineEdit>("Text5"), "1522");
    program.logContact({"qq4eee", "052", "jn54"});
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Locatore non valido"});
    program.dialogs.messages.clear();
    RunningProgram::paste(program.log<QPlainTextEdit>("Text15"),
                          QStringLiteral("261107;1522;QQ4EEE;1;59;005;59;052;;JN54;8;;N;;"));
    QTest::keyClick(program.log<QPlainTextEdit>("Text15"), Qt::Key_Return);
    for (const char* name : {"Text6", "Text8", "Text9"}) {
      RunningProgram::erase(program.log<QLineEdit>(name));
    }
    RunningProgram::retype(program.log<QLineEdit>("Text1"), "006");
    QCOMPARE(lastLine(program), std::string("261107;1522;QQ4EEE;1;59;005;59;052;;JN54;8;;N;;\r\n"));
    QCOMPARE(program.log<QLineEdit>("Text11")->text(), QStringLiteral("QQ0DDD"));
    QCOMPARE(program.log<QLineEdit>("Text3")->text(), QStringLiteral("IO91WM"));
    QCOMPARE(program.log<QLineEdit>("Text12")->text(), QStringLiteral("1134"));
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), QStringLiteral("1586"));
    QCOMPARE(program.log<QLineEdit>("Text13")->text(), QStringLiteral("317"));

    // Telegraphy: picking "CW" gives the RST 599.
    RunningProgram::pick(program.log<QComboBox>("Combo1"), 1);
    QCOMPARE(program.log<QLineEdit>("Text7")->text(), QStringLiteral("599"));
    const struct {
      const char* time;
      Contact contact;
    } inCw[] = {
        {"1530", {"qq6fff", "033", "jn70aa"}},
        {"1536", {"qq7ggg", "002", "jn61fu"}},
        {"1541", {"qq8hhh", "045", "jn53ht"}},
    };
    for (const auto& [time, contact] : inCw) {
      RunningProgram::retype(program.log<QLineEdit>("Text5"), time);
      program.logContact(contact);
    }
    QCOMPARE(lastLine(program),
             std::string("261107;1541;QQ8HHH;2;599;008;599;045;;JN53HT;85;;N;;\r\n"));

    // Back to phone, and the time taken from the clock: local time is GMT + 1.
    RunningProgram::pick(program.log<QComboBox>("Combo1"), 0);
    QCOMPARE(program.log<QLineEdit>("Text7")->text(), QStringLiteral("59"));
    RunningProgram::click(program.log<QCheckBox>("Check2"));
    QVERIFY(program.log<QRadioButton>("Option1")->isVisible());
    QVERIFY(program.log<QRadioButton>("Option2")->isVisible());
    RunningProgram::click(program.log<QRadioButton>("Option1"));
    QVERIFY(program.session().log().plusOneOption.checked());

    program.clock.pin({2026, 11, 7, 16, 47});
    program.typeContact({"qq2jjj", "019", "jn62kq"});
    QCOMPARE(program.log<QLineEdit>("Text5")->text(), QStringLiteral("1547"));
    program.insert();

    // A station worked again: marked red while typed, logged with 0 points, then reported.
    program.clock.pin({2026, 11, 7, 16, 52});
    program.typeContact({"qq3bbb", "021", "jn55vf"});
    QCOMPARE(program.log<QLineEdit>("Text6")->palette().color(QPalette::Text), QColor(255, 0, 0));
    program.insert();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Inserito un duplicato"});
    QCOMPARE(lastLine(program),
             std::string("261107;1552;QQ3BBB;1;59;010;59;021;;JN55VF;0;;;;D\r\n"));
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("011"));

    const struct {
      DateTime local;
      Contact contact;
    } evening[] = {
        {{2026, 11, 7, 17, 5}, {"qq1kkk", "056", "jn33we"}},
        {{2026, 11, 7, 17, 20}, {"qq5lll", "008", "jn76db"}},
    };
    for (const auto& [local, contact] : evening) {
      program.clock.pin(local);
      program.logContact(contact);
    }

    // A locator that is no locator is refused and the row stays for the correction.
    program.clock.pin({2026, 11, 7, 17, 41});
    program.typeContact({"qq6mmm", "077", "jz35tq"});
    QCOMPARE(program.log<QLineEdit>("Text10")->text(), QString());
    const std::string before = program.session().log().logBuffer().text();
    program.insert();
    QCOMPARE(program.messageTexts().back(), std::string("Locatore non valido"));
    QCOMPARE(program.session().log().logBuffer().text(), before);
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("013"));
    QCOMPARE(program.log<QLineEdit>("Text6")->text(), QStringLiteral("QQ6MMM"));
    QCOMPARE(program.log<QLineEdit>("Text8")->text(), QStringLiteral("077"));
    QCOMPARE(program.log<QLineEdit>("Text9")->text(), QStringLiteral("JZ35TQ"));
    RunningProgram::retype(program.log<QLineEdit>("Text9"), "jn35tq");
    QCOMPARE(program.log<QLineEdit>("Text10")->text(), QStringLiteral("298"));
    program.insert();
    QCOMPARE(lastLine(program),
             std::string("261107;1641;QQ6MMM;1;59;013;59;077;;JN35TQ;298;;N;;\r\n"));

    const struct {
      DateTime local;
      const char* mode;
      Contact contact;
    } night[] = {
        {{2026, 11, 7, 18, 2}, "SSB", {"qq7nnn", "003", "jn64cm"}},
        {{2026, 11, 7, 18, 30}, "SSB", {"qq8ooo", "101", "jn52px"}},
        {{2026, 11, 7, 19, 15}, "CW", {"qq0ppp", "064", "jn56li"}},
        {{2026, 11, 7, 20, 44}, "CW", {"qq4qqq", "011", "jn65dr"}},
        {{2026, 11, 7, 22, 10}, "SSB", {"qq1rrr", "150", "jn46le"}},
        {{2026, 11, 7, 23, 58}, "SSB", {"qq3sss", "088", "jn47sk"}},
    };
    for (const auto& [local, mode, contact] : night) {
      if (program.log<QComboBox>("Combo1")->currentText() != QLatin1String(mode)) {
        RunningProgram::pick(program.log<QComboBox>("Combo1"), QLatin1String(mode) == "CW" ? 1 : 0);
      }
      program.clock.pin(local);
      program.logContact(contact);
    }

    // Half past midnight local time is still the evening before in GMT.
    program.clock.pin({2026, 11, 8, 0, 30});
    program.typeContact({"qq5ttt", "130", "jo20aa"});
    QCOMPARE(program.log<QLineEdit>("Text5")->text(), QStringLiteral("2330"));
    QCOMPARE(program.log<QLineEdit>("Text4")->text(), QStringLiteral("261107"));
    program.insert();
    program.clock.pin({2026, 11, 8, 1, 10});
    program.typeContact({"qq6uuu", "042", "jn18du"});
    QCOMPARE(program.log<QLineEdit>("Text5")->text(), QStringLiteral("0010"));
    QCOMPARE(program.log<QLineEdit>("Text4")->text(), QStringLiteral("261108"));
    program.insert();

    const struct {
      DateTime local;
      Contact contact;
    } morning[] = {
        {{2026, 11, 8, 8, 15}, {"qq7vvv", "199", "jn57mb"}},
        {{2026, 11, 8, 10, 2}, {"qq8www", "023", "jn43nu"}},
        {{2026, 11, 8, 12, 30}, {"qq0xxx", "207", "jn74hb"}},
        {{2026, 11, 8, 14, 48}, {"qq2yyy", "015", "jn66on"}},
    };
    for (const auto& [local, contact] : morning) {
      program.clock.pin(local);
      program.logContact(contact);
    }
    QCOMPARE(program.messageTexts(),
             (std::vector<std::string>{"Inserito un duplicato", "Locatore non valido"}));
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("026"));
    // The duplicate changed neither the total nor the average over the 24 other contacts.
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), QStringLiteral("7567"));
    QCOMPARE(program.log<QLineEdit>("Text13")->text(), QStringLiteral("315"));

    // "FORLÌ" is 8-bit: the export asks before it writes, and the operator goes on.
    program.dialogs.answers = {true};
    RunningProgram::click(program.log<QPushButton>("Command2"));
    QCOMPARE(program.dialogs.questions.size(), std::size_t{1});
    QCOMPARE(program.messageTexts().size(), std::size_t{2});
    const auto path = folder.path() / "01_QQ2VNT.edi";
    QCOMPARE(program.log<QLabel>("Label1")->text(),
             QString::fromStdString("***  Il LOG è stato salvato in " + path.string() + "  ***"));
    const std::string file = vantor::testing::readBytes(path);
    const std::string difference =
        vantor::testing::compareWithGolden(file, dataFolder / "contest_iaru_01_QQ2VNT.edi");
    QVERIFY2(difference.empty(), difference.c_str());
    QCOMPARE(vantor::toWindows1252(program.session().log().logBuffer().text()) + "\r\n", file);
    QVERIFY(!program.session().log().hasUnsavedContacts());
  }

  void doublesSicilianCallsAndExportsAgainAfterMoreContacts() {
    const TempFolder folder;
    RunningProgram program({2026, 6, 6, 10, 40});
    program.session().setProgramFolder(folder.path());

    // The dates stay today's; the optional fields stay empty.
    program.fillHeader({.callsign = "qq9vnt", .locator = "jm77bn", .contest = 11, .category = 2});
    RunningProgram::type(program.header<QLineEdit>("Text3"), "salvo greco");
    QCOMPARE(program.header<QComboBox>("Combo2")->currentText(),
             QStringLiteral("Stazione Siciliana"));
    program.proceed();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});

    auto* doubling = program.log<QCheckBox>("Check1");
    QVERIFY(doubling->isVisible());
    RunningProgram::click(doubling);
    QVERIFY(program.session().log().sicilyDoublingBox.checked());
    // Summer time: the local clock is GMT + 2, and the operator says so.
    RunningProgram::click(program.log<QRadioButton>("Option2"));

    // Real distances 51, 84, 273, 497, 0 and 846 km.
    const struct {
      DateTime local;
      Contact contact;
      const char* points;
      const char* odxCall;
      const char* odxDistance;
    } firstPart[] = {
        {{2026, 6, 6, 11, 5}, {"qq9abc", "001", "jm78ba"}, "102", "QQ9ABC", "51"},
        {{2026, 6, 6, 11, 20}, {"qq1xy9", "003", "jm68qa"}, "168", "QQ1XY9", "84"},
        {{2026, 6, 6, 11, 41}, {"qq9ab9", "012", "jn70aa"}, "1092", "QQ9AB9", "273"},
        // More kilometres than the ODX, fewer points: the ODX is the longest distance.
        {{2026, 6, 6, 12, 3}, {"qq1abc", "004", "jn61fu"}, "497", "QQ1ABC", "497"},
        // The station's own square counts 1.
        {{2026, 6, 6, 12, 30}, {"qq8zzz", "020", "jm77bn"}, "1", "QQ1ABC", "497"},
        {{2026, 6, 6, 13, 12}, {"qq9def", "002", "km18ut"}, "1692", "QQ9DEF", "846"},
    };
    for (const auto& [local, contact, points, odxCall, odxDistance] : firstPart) {
      program.clock.pin(local);
      program.typeContact(contact);
      QCOMPARE(program.log<QLineEdit>("Text5")->text(),
               QString::asprintf("%02d%02d", local.hour - 2, local.minute));
      program.insert();
      QVERIFY(lastLine(program).ends_with(std::string(";") + points + ";;N;;\r\n"));
      QCOMPARE(program.log<QLineEdit>("Text11")->text(), QLatin1String(odxCall));
      QCOMPARE(program.log<QLineEdit>("Text12")->text(), QLatin1String(odxDistance));
    }
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), QStringLiteral("3552"));
    QCOMPARE(program.log<QLineEdit>("Text13")->text(), QStringLiteral("592"));

    const auto path = folder.path() / "1C_QQ9VNT.edi";
    RunningProgram::click(program.log<QPushButton>("Command2"));
    std::string difference = vantor::testing::compareWithGolden(
        vantor::testing::readBytes(path), dataFolder / "contest_sicily_1C_QQ9VNT.edi");
    QVERIFY2(difference.empty(), difference.c_str());

    // After the export the log window holds the EDI text; the contacts go on behind it, and a
    // call already in the log is still found there.
    program.clock.pin({2026, 6, 6, 14, 25});
    program.logContact({"qq4ghi", "031", "jn65dr"});
    program.clock.pin({2026, 6, 6, 15, 2});
    program.typeContact({"qq9abc", "017", "jm78ba"});
    QCOMPARE(program.log<QLineEdit>("Text6")->palette().color(QPalette::Text), QColor(255, 0, 0));
    program.insert();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Inserito un duplicato"});
    program.clock.pin({2026, 6, 6, 16, 48});
    program.logContact({"qq9jk9", "044", "jm66wx"});
    QVERIFY(program.session().log().hasUnsavedContacts());

    RunningProgram::click(program.log<QPushButton>("Command2"));
    QCOMPARE(program.messageTexts().size(), std::size_t{1});
    const std::string file = vantor::testing::readBytes(path);
    difference =
        vantor::testing::compareWithGolden(file, dataFolder / "contest_sicily_1C_QQ9VNT_again.edi");
    QVERIFY2(difference.empty(), difference.c_str());
    QCOMPARE(vantor::toWindows1252(program.session().log().logBuffer().text()) + "\r\n", file);
    QCOMPARE(program.log<QPlainTextEdit>("Text15")->toPlainText().count("[REG1TEST;1]"), 1);
  }

  // What the committee is sent: only the same call is a duplicate, the serial goes past 999,
  // and the claims are the records', after the operator edited the log by hand.
  void scoresTheRecordsAsTheCommitteeReadsThem() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());
    program.openLog();
    auto* call = program.log<QLineEdit>("Text6");
    const auto red = [call] { return call->palette().color(QPalette::Text) == QColor(255, 0, 0); };

    program.logContact({"s59abc", "001", "jn65tw"});
    RunningProgram::type(call, "s59a");
    QVERIFY(!red());
    program.logContact({"", "002", "jn75os"});
    program.typeContact({"s59abc", "003", "jn65tw"});
    QVERIFY(red());
    const QString total = program.log<QLineEdit>("Text14")->text();
    program.insert();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Inserito un duplicato"});
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), total);

    RunningProgram::retype(program.log<QLineEdit>("Text1"), "999");
    program.logContact({"iz2abc", "004", "jn45ok"});
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("1000"));
    program.logContact({"dl1abc", "005", "jo62qm"});
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("1001"));
    QVERIFY(lastLine(program).starts_with("261207;1432;DL1ABC;1;59;1000;59;005;"));

    // The operator corrects a call in the log and breaks the end of the last line.
    auto* logText = program.log<QPlainTextEdit>("Text15");
    logText->setFocus();
    QTest::keyClick(logText, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(logText, Qt::Key_Down);
    QTest::keyClick(logText, Qt::Key_Home);
    for (int step = 0; step < 16; ++step) {
      QTest::keyClick(logText, Qt::Key_Right);
    }
    QTest::keyClick(logText, 'B');
    QTest::keyClick(logText, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(logText, Qt::Key_Up);
    QTest::keyClick(logText, Qt::Key_End);
    for (int step = 0; step < 4; ++step) {
      QTest::keyClick(logText, Qt::Key_Backspace);
    }
    RunningProgram::type(call, "s59ab");
    QVERIFY(red());
    call->selectAll();
    QTest::keyClick(call, Qt::Key_Backspace);

    // "No" to the question writes nothing; "Sì" writes the log as it stands.
    auto* exportButton = program.log<QPushButton>("Command2");
    RunningProgram::click(exportButton);
    QCOMPARE(
        program.dialogs.questions,
        std::vector<std::string>{"Righe del LOG che non sono contatti validi:\nriga 5: "
                                 "261207;1432;DL1ABC;1;59;\n\nScrivere comunque il file EDI?"});
    QVERIFY(!std::filesystem::exists(folder.path() / "01_QQ9XYZ.edi"));
    program.dialogs.answers = {true};
    RunningProgram::click(exportButton);
    const std::string file = vantor::testing::readBytes(folder.path() / "01_QQ9XYZ.edi");
    // The broken line is written and counted as a line, but neither as a contact nor as the ODX.
    for (const char* line : {"\r\nCQSOs=3;1\r\n", "\r\nCQSOP=2020\r\n", "\r\nCToSc=2020\r\n",
                             "\r\nCODXC=IZ2ABC;JN45OK;718\r\n", "\r\n[QSORecords;5]\r\n"}) {
      QVERIFY2(file.find(line) != std::string::npos, line);
    }
  }

  // "vantor FILE.edi": the windows show the reopened contest, ready for the next call.
  void reopensAnEdiFileIntoBothWindows() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());
    program.application.reopen(dataFolder / "contest_iaru_01_QQ2VNT.edi");

    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QCOMPARE(program.header<QComboBox>("Combo1")->currentText(),
             QStringLiteral("Contest IARU Reg. I VHF"));
    QCOMPARE(program.header<QLineEdit>("Text6")->text(), QStringLiteral("FORLÌ"));
    QCOMPARE(program.log<QLineEdit>("Text1")->text(), QStringLiteral("026"));
    QCOMPARE(program.log<QLineEdit>("Text2")->text(), QStringLiteral("144"));
    QVERIFY(program.log<QPlainTextEdit>("Text15")->toPlainText().endsWith(
        QStringLiteral("[END;Created by Vantor by Karsel]")));
    QCOMPARE(program.application.logWindow()->focusWidget(), program.log<QLineEdit>("Text6"));

    program.dialogs.answers = {true};
    RunningProgram::click(program.log<QPushButton>("Command2"));
    const std::string difference = vantor::testing::compareWithGolden(
        vantor::testing::readBytes(folder.path() / "01_QQ2VNT.edi"),
        dataFolder / "contest_iaru_01_QQ2VNT.edi");
    QVERIFY2(difference.empty(), difference.c_str());
  }

  // A log far longer than the widget takes in one piece is shown whole, read from its end, and
  // the undo key takes none of it back.
  void reopensALongLogWholeThatUndoCannotTakeBack() {
    const std::string file = vantor::testing::readBytes(dataFolder / "contest_iaru_01_QQ2VNT.edi");
    const std::size_t recordsAt = file.find("[QSORecords;25]\r\n");
    const std::size_t recordsEnd = file.find("[END;");
    const std::string records = file.substr(recordsAt + 17, recordsEnd - recordsAt - 17);
    std::string longLog = file.substr(0, recordsAt) + "[QSORecords;5000]\r\n";
    for (int i = 0; i < 200; ++i) {
      longLog += records;
    }
    const TempFolder folder;
    vantor::testing::writeBytes(folder.path() / "01_QQ2VNT.edi", longLog + file.substr(recordsEnd));
    RunningProgram program({2026, 12, 7, 14, 32});
    program.application.reopen(folder.path() / "01_QQ2VNT.edi");

    auto* shown = program.log<QPlainTextEdit>("Text15");
    const std::string buffer = program.session().log().logBuffer().text();
    QVERIFY(buffer.size() > 250'000);
    QString expected = QString::fromStdString(buffer);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(shown->toPlainText(), expected);
    QVERIFY(shown->textCursor().atEnd());
    QTest::keyClick(shown, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown->toPlainText(), expected);
    QCOMPARE(program.session().log().logBuffer().text(), buffer);
  }
};

QTEST_MAIN(ContestTest)
#include "contest_test.moc"
