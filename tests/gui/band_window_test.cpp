#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "app/session.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;

namespace {

const std::filesystem::path dataFolder = VANTOR_TEST_DATA_DIR;

// What the log window shows of the band logged.
struct Shown {
  QString band;
  QString serial;
  QString total;
  QString odxCall;
  int lines;

  bool operator==(const Shown&) const = default;
};

char* toString(const Shown& shown) {
  return QTest::toString(QStringList{shown.band, shown.serial, shown.total, shown.odxCall,
                                     QString::number(shown.lines)}
                             .join(QLatin1Char('|')));
}

Shown shown(RunningProgram& program) {
  auto* log = program.log<QPlainTextEdit>("Text15");
  return {program.log<QLineEdit>("Text2")->text(), program.log<QLineEdit>("Text1")->text(),
          program.log<QLineEdit>("Text14")->text(), program.log<QLineEdit>("Text11")->text(),
          log->toPlainText().isEmpty() ? 0 : log->document()->blockCount()};
}

bool callShownRed(RunningProgram& program) {
  return program.log<QLineEdit>("Text6")->palette().color(QPalette::Text) == QColor(255, 0, 0);
}

}  // namespace

class BandWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // 144 MHz, then 432 MHz by the keyboard, then 144 MHz again through the header.
  void logsTwoBandsAndWritesAFileForEach() {
    const TempFolder folder;
    RunningProgram program({2026, 12, 7, 14, 32});
    program.session().setProgramFolder(folder.path());
    program.openLog();
    program.logContact({"qq1abc", "001", "jn61fu"});
    program.logContact({"qq2abc", "002", "kn02aa"});
    QCOMPARE(shown(program), (Shown{"144", "003", "791", "QQ2ABC", 3}));

    RunningProgram::type(program.log<QLineEdit>("Text6"), "qq3");
    QTest::keyClick(program.log<QLineEdit>("Text6"), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(shown(program), (Shown{"432", "001", "", "", 0}));
    QCOMPARE(program.log<QLineEdit>("Text6")->text(), QString());
    QCOMPARE(program.header<QComboBox>("Combo3")->currentText(), QStringLiteral("432 Mhz"));
    program.typeContact({"qq1abc", "005", "jn71jk"});
    QVERIFY(!callShownRed(program));
    program.insert();
    QCOMPARE(shown(program), (Shown{"432", "002", "169", "QQ1ABC", 2}));

    RunningProgram::click(program.log<QPushButton>("Command3"));
    RunningProgram::pick(program.header<QComboBox>("Combo3"), 1);
    program.proceed();
    QCOMPARE(shown(program), (Shown{"144", "003", "791", "QQ2ABC", 3}));
    RunningProgram::type(program.log<QLineEdit>("Text6"), "qq1abc");
    QVERIFY(callShownRed(program));
    program.log<QLineEdit>("Text6")->clear();
    program.logContact({"qq4abc", "009", "jn61fu"});

    RunningProgram::click(program.log<QPushButton>("Command2"));
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QCOMPARE(program.log<QLabel>("Label1")->text(),
             QString::fromStdString("***  Il LOG è stato salvato in " +
                                    (folder.path() / "01_QQ9XYZ.edi").string() +
                                    " e un altro file EDI  ***"));
    for (const char* name : {"01_QQ9XYZ.edi", "03_QQ9XYZ.edi"}) {
      const std::string difference =
          vantor::testing::compareWithGolden(vantor::testing::readBytes(folder.path() / name),
                                             dataFolder / (std::string("bands_") + name));
      QVERIFY2(difference.empty(), difference.c_str());
    }
    QTest::keyClick(program.log<QLineEdit>("Text6"), Qt::Key_PageDown, Qt::ControlModifier);
    QVERIFY(program.log<QPlainTextEdit>("Text15")->toPlainText().startsWith("[REG1TEST;1]"));
  }
};

QTEST_MAIN(BandWindowTest)
#include "band_window_test.moc"
