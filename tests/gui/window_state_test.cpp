#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/session.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;

// The windows show what the screens hold, whatever the operator does to a widget. The view's own
// check, on in these builds, stops the program at the first widget that shows anything else.
class WindowStateTest : public QObject {
  Q_OBJECT

 private slots:
  void aSelectedOffsetClickedAgainStaysSelectedAndInUse() {
    RunningProgram program({2026, 12, 8, 15, 40});
    program.openLog();
    auto* plusTwo = program.log<QRadioButton>("Option2");
    RunningProgram::click(plusTwo);
    RunningProgram::click(plusTwo);
    QVERIFY(plusTwo->isChecked());
    program.logContact({"qq1abc", "001", "jn61fu"});
    QVERIFY(program.session().log().logBuffer().text().starts_with("261208;1340;QQ1ABC;"));
  }

  void typingAnItemsTextIntoAListIsNoPick() {
    RunningProgram program({2026, 12, 8, 15, 40});
    program.fillHeader();
    auto* contests = program.header<QComboBox>("Combo1");
    RunningProgram::retype(contests->lineEdit(), QStringLiteral("Field day Sicilia"));
    QTest::keyClick(contests->lineEdit(), Qt::Key_Return);
    program.proceed();  // the edit box loses the focus
    QCOMPARE(program.header<QComboBox>("Combo2")->currentText(),
             QStringLiteral("Singolo Operatore"));
    QCOMPARE(program.header<QComboBox>("Combo3")->count(), 10);
    QVERIFY(!program.session().log().sicilyDoublingBox.visible());

    auto* modes = program.log<QComboBox>("Combo1");
    RunningProgram::pick(modes, 1);
    RunningProgram::retype(program.log<QLineEdit>("Text7"), QStringLiteral("579"));
    RunningProgram::retype(modes->lineEdit(), QStringLiteral("SSB"));
    QTest::keyClick(modes->lineEdit(), Qt::Key_Return);
    program.logContact({"qq1abc", "001", "jn61fu"});
    QVERIFY(program.session().log().logBuffer().text().find(";QQ1ABC;1;579;") != std::string::npos);
  }

  void aHundredThousandCharactersPastedStayWhole() {
    RunningProgram program({2026, 12, 8, 15, 40});
    const QString comment(100000, QLatin1Char('x'));
    RunningProgram::paste(program.header<QLineEdit>("Text17"), comment);
    QCOMPARE(program.session().header().commentsField.text().size(), std::size_t{100000});
    RunningProgram::paste(program.header<QComboBox>("Combo1"), comment);
    QCOMPARE(program.session().header().contestList.text().size(), std::size_t{100000});
  }
};

QTEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
