#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;

namespace {

constexpr vantor::DateTime kStart{2026, 12, 8, 8, 40};

// Three contacts from JN70AA, the second one's locator typed wrong.
void playThreeContacts(RunningProgram& program) {
  program.openLog();
  program.logContact({"qq1abc", "001", "jn61fu"});
  program.logContact({"ok1kkw", "002", "jo60jl"});
  program.logContact({"qq3abc", "003", "jn71jk"});
}

std::string exported(RunningProgram& program, const TempFolder& folder) {
  program.session().setProgramFolder(folder.path());
  RunningProgram::click(program.log<QPushButton>("Command2"));
  return vantor::testing::readBytes(folder.path() / "01_QQ9XYZ.edi");
}

}  // namespace

class CorrectionWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Ctrl+E on the wrong contact, the locator typed again, Enter: the line, the statistics and
  // the file follow, and the operator is back in the log.
  void correctsALocatorByKeyboard() {
    RunningProgram program(kStart);
    playThreeContacts(program);
    const QString odxBefore = program.log<QLineEdit>("Text11")->text();
    // The log widget shows the corrected line anew, and keeps every other line as it was.
    QTextDocument* shown = program.log<QPlainTextEdit>("Text15")->document();
    shown->findBlockByNumber(0).setUserState(7);
    shown->findBlockByNumber(2).setUserState(7);
    program.openCorrection(1);
    QVERIFY(program.application.contactWindow()->isVisible());
    QCOMPARE(program.correction<QLineEdit>("Text3")->text(), QStringLiteral("OK1KKW"));
    RunningProgram::retype(program.correction<QLineEdit>("Text6"), QStringLiteral("jo60lj"));
    const QString qrb = program.correction<QLineEdit>("Text7")->text();
    QVERIFY(!qrb.isEmpty());
    QTest::keyClick(program.correction<QLineEdit>("Text6"), Qt::Key_Return);
    QCOMPARE(program.application.contactWindow(), nullptr);
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QCOMPARE(shown->findBlockByNumber(0).userState(), 7);
    QCOMPARE(shown->findBlockByNumber(2).userState(), 7);
    const QString line = "261208;0840;OK1KKW;1;59;002;59;002;;JO60LJ;" + qrb + ";;N;;";
    QVERIFY(program.log<QPlainTextEdit>("Text15")->toPlainText().contains(line));
    QVERIFY(odxBefore != program.log<QLineEdit>("Text11")->text() ||
            program.log<QLineEdit>("Text12")->text() == qrb);
    const TempFolder folder;
    const std::string file = exported(program, folder);
    QVERIFY(file.find(line.toStdString() + "\r\n") != std::string::npos);
    const std::string total = "CToSc=" + program.log<QLineEdit>("Text14")->text().toStdString();
    QVERIFY(file.find(total + "\r\n") != std::string::npos);
  }

  // "Elimina contatto" by keyboard, after the question: the line goes, the file holds two
  // records. Escape leaves a contact as it was.
  void deletesAContactAndEscapeCancels() {
    RunningProgram program(kStart);
    playThreeContacts(program);
    const QString before = program.log<QPlainTextEdit>("Text15")->toPlainText();
    program.openCorrection(2);
    RunningProgram::retype(program.correction<QLineEdit>("Text3"), QStringLiteral("qq9zzz"));
    QTest::keyClick(program.correction<QLineEdit>("Text3"), Qt::Key_Escape);
    QCOMPARE(program.application.contactWindow(), nullptr);
    QCOMPARE(program.log<QPlainTextEdit>("Text15")->toPlainText(), before);

    program.dialogs.answers = {true};
    program.openCorrection(1);
    auto* remove = program.correction<QPushButton>("Command3");
    remove->setFocus();
    QTest::keyClick(remove, Qt::Key_Space);
    QCOMPARE(program.dialogs.questions.back(),
             std::string("Eliminare dal LOG il contatto con OK1KKW delle 0840?"));
    QVERIFY(!program.log<QPlainTextEdit>("Text15")->toPlainText().contains("OK1KKW"));
    const TempFolder folder;
    const std::string file = exported(program, folder);
    QVERIFY(file.find("[QSORecords;2]\r\n") != std::string::npos);
    QVERIFY(file.find("CQSOs=2;1\r\n") != std::string::npos);
  }

  // The statistics rows are the records' own: locked, and a stray Tab after the locator that
  // lands in one of them still logs the contact with Enter.
  void enterInAStatisticsRowLogsTheContact() {
    RunningProgram program(kStart);
    program.openLog();
    program.typeContact({"qq1abc", "001", "jn61fu"});
    auto* odxDistance = program.log<QLineEdit>("Text12");
    QVERIFY(odxDistance->isReadOnly());
    odxDistance->setFocus();
    QTest::keyClick(odxDistance, Qt::Key_Return);
    QVERIFY(program.log<QPlainTextEdit>("Text15")->toPlainText().contains(";QQ1ABC;"));
    QCOMPARE(program.log<QLineEdit>("Text14")->text(), odxDistance->text());
  }

  // A double click on a record opens it; on a note the operator typed, nothing opens.
  void aDoubleClickOpensOnlyARecord() {
    RunningProgram program(kStart);
    playThreeContacts(program);
    auto* text = program.log<QPlainTextEdit>("Text15");
    RunningProgram::paste(text, QStringLiteral("nota"));
    const auto lineCentre = [text](int block) {
      const QTextBlock line = text->document()->findBlockByNumber(block);
      return text->cursorRect(QTextCursor(line)).center() + QPoint(20, 0);
    };
    QTest::mouseDClick(text->viewport(), Qt::LeftButton, {}, lineCentre(3));
    QCOMPARE(program.application.contactWindow(), nullptr);
    QTest::mouseDClick(text->viewport(), Qt::LeftButton, {}, lineCentre(0));
    QVERIFY(program.application.contactWindow() != nullptr);
    QCOMPARE(program.correction<QLineEdit>("Text3")->text(), QStringLiteral("QQ1ABC"));
  }
};

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  CorrectionWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "correction_window_test.moc"
