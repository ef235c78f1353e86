#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/session.h"
#include "geo/bearing_form.h"
#include "gui/application.h"
#include "gui/header_window.h"
#include "gui/log_window.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/window_driver.h"

class HeaderWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Program : vantor::testing::RunningProgram {
    Program() : RunningProgram({2026, 12, 7, 14, 32}) {}
    vantor::gui::HeaderWindow& window() { return application.headerWindow(); }
    template <typename Widget>
    Widget* find(const char* name) {
      return header<Widget>(name);
    }
    static QColor background(QWidget* widget) { return widget->palette().color(QPalette::Base); }
    void pick(const char* comboName, int index) {
      RunningProgram::pick(header<QComboBox>(comboName), index);
    }
  };

 private slots:
  void showsTheLayoutOfTheHeaderScreen() {
    Program program;
    QCOMPARE(program.window().windowTitle(), QStringLiteral("Vantor v1.04 - Karsel"));
    QCOMPARE(program.window().size(), QSize(654, 440));
    QCOMPARE(program.find<QLineEdit>("Text1")->geometry(), QRect(88, 32, 65, 19));
    QCOMPARE(program.find<QComboBox>("Combo1")->geometry(), QRect(88, 80, 209, 21));
    QCOMPARE(program.find<QPushButton>("Command1")->text(), QStringLiteral("Avanti -->"));
    QCOMPARE(program.find<QPushButton>("Command2")->text(), QStringLiteral("Chiudi"));
    QVERIFY(!program.find<QPlainTextEdit>("Text21")->isVisible());
    QCOMPARE(program.find<QLineEdit>("Text19")->text(), QStringLiteral("07/12/2026"));
    QCOMPARE(program.find<QComboBox>("Combo1")->currentText(), QStringLiteral("..."));
    QCOMPARE(program.find<QComboBox>("Combo1")->count(), 16);
  }

  // Start-up leaves the log layout check to the turn after the first paint: once, and only once.
  void runsItsWorkOnceAfterThePaintThatFollows() {
    Program program;
    int runs = 0;
    program.window().afterFirstPaint([&runs] { ++runs; });
    program.window().repaint();
    QCOMPARE(runs, 0);
    QTRY_COMPARE(runs, 1);
    program.window().repaint();
    QTest::qWait(20);
    QCOMPARE(runs, 1);
  }

  void typingInTheMiddleGivesUpperCaseWithTheCaretAtTheEnd() {
    Program program;
    auto* callsign = program.find<QLineEdit>("Text1");
    QTest::keyClicks(callsign, "abc");
    QCOMPARE(callsign->text(), QStringLiteral("ABC"));
    callsign->setCursorPosition(1);
    QTest::keyClicks(callsign, "x");
    QCOMPARE(callsign->text(), QStringLiteral("AXBC"));
    QCOMPARE(callsign->cursorPosition(), 4);
    auto* postcode = program.find<QLineEdit>("Text5");
    QTest::keyClicks(postcode, "ab");
    QCOMPARE(postcode->text(), QStringLiteral("ab"));
  }

  void highlightsMissingFieldsAndClearsThemByTypingAndPicking() {
    Program program;
    program.proceed();
    QCOMPARE(program.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(program.dialogs.messages[0].text, std::string("Inserire campi mancanti"));
    const QColor yellow(255, 255, 0);
    const QColor white(255, 255, 255);
    QCOMPARE(program.background(program.find<QLineEdit>("Text1")), yellow);
    QCOMPARE(program.background(program.find<QComboBox>("Combo2")), yellow);
    QTest::keyClicks(program.find<QLineEdit>("Text1"), "q");
    QCOMPARE(program.background(program.find<QLineEdit>("Text1")), white);
    QTest::keyClicks(program.find<QComboBox>("Combo2"), "x");
    QCOMPARE(program.background(program.find<QComboBox>("Combo2")), yellow);
    program.pick("Combo2", 1);
    QCOMPARE(program.background(program.find<QComboBox>("Combo2")), white);
  }

  void aPickRunsTheRulesAndTypedTextDoesNot() {
    Program program;
    auto* contest = program.find<QComboBox>("Combo1");
    contest->lineEdit()->selectAll();
    QTest::keyClicks(contest, "Field day Sicilia");
    QCOMPARE(program.find<QComboBox>("Combo2")->currentText(), QStringLiteral("..."));
    QVERIFY(!program.application.session().hasLog());

    program.pick("Combo1", 11);
    QCOMPARE(contest->currentText(), QStringLiteral("Field day Sicilia"));
    QCOMPARE(program.find<QComboBox>("Combo2")->currentText(), QString());
    QCOMPARE(program.find<QComboBox>("Combo2")->count(), 3);
    QCOMPARE(program.find<QComboBox>("Combo3")->count(), 2);
    QVERIFY(program.application.session().hasLog());
  }

  void tabMovesThroughTheFieldsInTheScreensOrder() {
    Program program;
    QVERIFY(QTest::qWaitForWindowActive(&program.window()));
    program.find<QLineEdit>("Text1")->setFocus();
    const QStringList expected{
        "Text1",  "Text2",  "Combo1",   "Combo2", "Combo3", "Text3",  "Text4",   "Text5",  "Text6",
        "Text7",  "Text8",  "Text9",    "Text10", "Text11", "Text12", "Text13",  "Text14", "Text15",
        "Text16", "Text17", "Command1", "Text18", "Text19", "Text20", "Command2"};
    QStringList seen;
    for (int i = 0; i < expected.size(); ++i) {
      QWidget* focused = QApplication::focusWidget();
      // An editable combo box gives the focus to its line edit.
      if (focused != nullptr && qobject_cast<QComboBox*>(focused->parentWidget()) != nullptr) {
        focused = focused->parentWidget();
      }
      seen.append(focused != nullptr ? focused->objectName() : QStringLiteral("(none)"));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(seen, expected);
  }

  void proceedHandsOverTheLocatorAndTheDateAndShowsTheLogWindow() {
    Program program;
    program.fillHeader();
    auto* startDate = program.find<QLineEdit>("Text19");
    startDate->selectAll();
    QTest::keyClicks(startDate, "06/12/2026");
    program.proceed();
    QVERIFY(program.dialogs.messages.empty());
    vantor::Session& session = program.application.session();
    QCOMPARE(session.bearing().homeLocatorField.text(), std::string("JN70AA"));
    // With "Auto", ticked at start, the log date is the clock's day, not the header's start.
    QCOMPARE(session.log().dateField.text(), std::string("261207"));
    QCOMPARE(session.log().bandField.text(), std::string("144"));
    QVERIFY(program.application.logWindow() != nullptr);
    QVERIFY(program.application.logWindow()->isVisible());
    QVERIFY(program.window().isVisible());
  }

  void closingThroughTheFrameIsChiudi() {
    Program program;
    program.window().close();
    QVERIFY(program.application.session().ended());
    QVERIFY(!program.window().isVisible());
  }
};

QTEST_MAIN(HeaderWindowTest)
#include "header_window_test.moc"
