#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/session.h"
#include "gui/application.h"
#include "gui/header_window.h"
#include "gui/log_window.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

class LogWindowTest : public QObject {
  Q_OBJECT

 private:
  // A program whose header was filled in and handed over with "Avanti -->".
  struct Program : vantor::testing::RunningProgram {
    Program() : RunningProgram({2026, 12, 7, 14, 32}) { openLog({.locator = "jn81gd"}); }
    vantor::gui::LogWindow& window() { return *application.logWindow(); }
    vantor::LogForm& form() { return session().log(); }
    template <typename Widget>
    Widget* find(const char* name) {
      return log<Widget>(name);
    }
  };

 private slots:
  void opensWithTheDefaultsOfTheLogScreen() {
    Program program;
    QCOMPARE(program.window().windowTitle(), QStringLiteral("Vantor - Karsel"));
    QCOMPARE(program.find<QLineEdit>("Text1")->text(), QStringLiteral("001"));
    QCOMPARE(program.find<QLineEdit>("Text2")->text(), QStringLiteral("144"));
    QVERIFY(program.find<QLineEdit>("Text2")->isReadOnly());
    QVERIFY(program.find<QLineEdit>("Text10")->isReadOnly());
    QCOMPARE(program.find<QLineEdit>("Text4")->text(), QStringLiteral("261207"));
    QCOMPARE(program.find<QLineEdit>("Text5")->text(), QStringLiteral("1432"));
    QCOMPARE(program.find<QComboBox>("Combo1")->currentText(), QStringLiteral("SSB"));
    QCOMPARE(program.window().focusWidget(), program.find<QLineEdit>("Text6"));
    QCOMPARE(program.find<QPushButton>("Command2")->text(), QStringLiteral("Genera EDI"));
  }

  // A new log is in UTC without a click: on a computer set to summer time (UTC + 2) each contact
  // carries the UTC time and date of its call, the day before just after local midnight, and the
  // window shows the UTC clock ticking.
  void logsInUtcWithTheDefaults() {
    vantor::testing::RunningProgram program({2026, 9, 12, 8, 30});
    program.clock.pin({2026, 9, 12, 8, 30, 5}, 2);
    program.openLog();
    QCOMPARE(program.log<QLineEdit>("Text17")->text(), QStringLiteral("06:30:05"));
    program.logContact({"qq1abc", "001", "jn61fu"});
    program.clock.pin({2026, 9, 13, 1, 10, 40}, 2);
    QTRY_COMPARE(program.log<QLineEdit>("Text17")->text(), QStringLiteral("23:10:40"));
    program.logContact({"qq2abc", "002", "jn61fu"});
    const std::string& log = program.session().log().logBuffer().text();
    QVERIFY(log.starts_with("260912;0630;QQ1ABC;"));
    QVERIFY(log.find("\r\n260912;2310;QQ2ABC;") != std::string::npos);
    QVERIFY(program.dialogs.messages.empty());
  }

  void typesAWholeContactAndInsertsIt() {
    Program program;
    program.typeContact({"qq1abc", "005", "jn61fu"});
    QCOMPARE(program.find<QLineEdit>("Text6")->text(), QStringLiteral("QQ1ABC"));
    QCOMPARE(program.find<QLineEdit>("Text10")->text(), QStringLiteral("349"));
    program.insert();

    QVERIFY(program.dialogs.messages.empty());
    QCOMPARE(program.find<QPlainTextEdit>("Text15")->toPlainText(),
             QStringLiteral("261207;1432;QQ1ABC;1;59;001;59;005;;JN61FU;349;;N;;\n"));
    QCOMPARE(program.form().logBuffer().text(),
             std::string("261207;1432;QQ1ABC;1;59;001;59;005;;JN61FU;349;;N;;\r\n"));
    QCOMPARE(program.find<QLineEdit>("Text1")->text(), QStringLiteral("002"));
    QCOMPARE(program.find<QLineEdit>("Text11")->text(), QStringLiteral("QQ1ABC"));
    QCOMPARE(program.find<QLineEdit>("Text12")->text(), QStringLiteral("349"));
    QCOMPARE(program.find<QLineEdit>("Text14")->text(), QStringLiteral("349"));
    QCOMPARE(program.find<QLineEdit>("Text6")->text(), QString());
    QCOMPARE(program.find<QLineEdit>("Text9")->text(), QString());
    QCOMPARE(program.find<QLineEdit>("Text10")->text(), QString());
  }

  // The label under the locator tells a locator whose square the band's log has no contact in
  // yet; the summary counts the contacts of the last 10 and 60 minutes as the clock goes on, and
  // the band's squares, contacts and points.
  void showsANewSquareAndTheSummaryOfTheBand() {
    Program program;
    const auto shown = [&program](const char* name) {
      return program.find<QLineEdit>(name)->text();
    };
    auto* newSquare = program.find<QLabel>("Label2");
    auto* locator = program.find<QLineEdit>("Text9");
    QCOMPARE(shown("Text20"), QStringLiteral("0"));
    program.type(locator, QStringLiteral("jn6"));
    QCOMPARE(newSquare->text(), QString());
    program.type(locator, QStringLiteral("1"));
    QCOMPARE(newSquare->text(), QStringLiteral("nuovo quadrato"));
    program.type(program.find<QLineEdit>("Text6"), QStringLiteral("qq1abc"));
    program.type(locator, QStringLiteral("fu"));
    program.insert();
    QCOMPARE(newSquare->text(), QString());
    program.clock.pin({2026, 12, 7, 14, 40});
    program.logContact({"qq2abc", "002", "jn61aa"});
    program.type(locator, QStringLiteral("jn61"));
    QCOMPARE(newSquare->text(), QString());
    const QStringList summary{"2", "2", "1", "2", "726"};
    const char* fields[] = {"Text20", "Text21", "Text22", "Text23", "Text24"};
    for (int at = 0; at < summary.size(); ++at) {
      QCOMPARE(shown(fields[at]), summary[at]);
      QVERIFY(program.find<QLineEdit>(fields[at])->isReadOnly());
    }
    program.clock.pin({2026, 12, 7, 14, 42});
    QTRY_COMPARE(shown("Text20"), QStringLiteral("1"));
    QCOMPARE(shown("Text21"), QStringLiteral("2"));
  }

  void marksADuplicateInRedWhileTyping() {
    Program program;
    program.logContact({"qq1abc", "005", "jn61fu"});
    auto* call = program.find<QLineEdit>("Text6");
    QTest::keyClicks(call, "qq1ab");
    QVERIFY(call->palette().color(QPalette::Text) != QColor(255, 0, 0));
    QTest::keyClicks(call, "c");
    QCOMPARE(call->palette().color(QPalette::Text), QColor(255, 0, 0));
    QTest::keyClicks(call, "x");
    QVERIFY(call->palette().color(QPalette::Text) != QColor(255, 0, 0));
  }

  void appendsToTheLogWidgetAndKeepsTheOperatorsEdits() {
    Program program;
    for (const char* call : {"qq1abc", "qq2abc", "qq3abc"}) {
      program.logContact({call, "1", "jn61fu"});
    }
    auto* buffer = program.find<QPlainTextEdit>("Text15");
    QCOMPARE(buffer->blockCount(), 4);
    buffer->moveCursor(QTextCursor::End);
    QTest::keyClicks(buffer, "note");
    QVERIFY(program.form().logBuffer().text().ends_with(";349;;;;\r\nnote"));
    QTest::keyClick(buffer, Qt::Key_Return);
    QVERIFY(program.form().logBuffer().text().ends_with(";349;;;;\r\nnote\r\n"));
  }

  // Each edit of the log widget, by key or by paste, leaves the log buffer and its caret as
  // reading the widget's whole text back would: the widget's lines with CR LF line ends, a
  // no-break space or a line separator kept as it is.
  void followsEveryEditOfTheLogWidget() {
    struct Start {
      const char* name;
      std::string extra;  // ahead of the contacts, as a reopened or resumed log may hold it
    };
    const auto key = [](QPlainTextEdit* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
      QTest::keyClick(w, k, m);
    };
    const std::vector<std::pair<const char*, std::function<void(QPlainTextEdit*)>>> edits = {
        {"letter in a line",
         [&](QPlainTextEdit* w) {
           key(w, Qt::Key_Home, Qt::ControlModifier);
           key(w, Qt::Key_Down);
           key(w, Qt::Key_End);
           QTest::keyClicks(w, "x");
         }},
        {"lines joined",
         [&](QPlainTextEdit* w) {
           key(w, Qt::Key_Home);
           key(w, Qt::Key_Backspace);
         }},
        {"line split",
         [&](QPlainTextEdit* w) {
           for (int i = 0; i < 5; ++i) {
             key(w, Qt::Key_Right);
           }
           key(w, Qt::Key_Return);
         }},
        {"lines selected and deleted",
         [&](QPlainTextEdit* w) {
           key(w, Qt::Key_Down, Qt::ShiftModifier);
           key(w, Qt::Key_Down, Qt::ShiftModifier);
           key(w, Qt::Key_Delete);
         }},
        {"undone", [&](QPlainTextEdit* w) { key(w, Qt::Key_Z, Qt::ControlModifier); }},
        {"lines pasted",
         [&](QPlainTextEdit* w) {
           QApplication::clipboard()->setText(QStringLiteral("a\nb\u00a0b\nc"));
           key(w, Qt::Key_V, Qt::ControlModifier);
         }},
        {"letter beyond ASCII",
         [](QPlainTextEdit* w) { vantor::testing::RunningProgram::type(w, QStringLiteral("è")); }},
        {"line separator pasted",
         [&](QPlainTextEdit* w) {
           QApplication::clipboard()->setText(QStringLiteral("d\u2028e"));
           key(w, Qt::Key_V, Qt::ControlModifier);
         }},
        {"new lines at the end",
         [&](QPlainTextEdit* w) {
           key(w, Qt::Key_End, Qt::ControlModifier);
           key(w, Qt::Key_Return);
           key(w, Qt::Key_Return);
           key(w, Qt::Key_Backspace);
         }},
        {"all typed over",
         [&](QPlainTextEdit* w) {
           key(w, Qt::Key_A, Qt::ControlModifier);
           QTest::keyClicks(w, "z");
         }},
    };
    for (const Start& start : {Start{"CR LF lines", ""}, Start{"a lone LF", "note\nmore\r\n"}}) {
      Program program;
      program.form().logBuffer().setText(start.extra);
      program.window().sync();
      for (const char* call : {"qq1abc", "qq2abc", "qq3abc"}) {
        program.logContact({call, "1", "jn61fu"});
      }
      auto* widget = program.find<QPlainTextEdit>("Text15");
      widget->setFocus();
      for (const auto& [name, edit] : edits) {
        edit(widget);
        const QString shown =
            widget->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        const auto held = [&shown](int length) {
          return QString(shown.left(length))
              .replace(QLatin1Char('\n'), QStringLiteral("\r\n"))
              .toStdString();
        };
        const std::string where = std::string(start.name) + ", " + name;
        QVERIFY2(program.form().logBuffer().text() == held(-1), where.c_str());
        QVERIFY2(program.form().logBuffer().caret() == held(widget->textCursor().position()).size(),
                 where.c_str());
      }
    }
  }

  void exportsIntoTheProgramFolderAndShowsWhere() {
    Program program;
    const vantor::testing::TempFolder folder;
    program.application.session().setProgramFolder(folder.path());
    program.logContact({"qq1abc", "005", "jn61fu"});
    QTest::mouseClick(program.find<QPushButton>("Command2"), Qt::LeftButton);

    QVERIFY(program.dialogs.messages.empty());
    const auto path = folder.path() / "01_QQ9XYZ.edi";
    QCOMPARE(program.find<QLabel>("Label1")->text(),
             QString::fromStdString("***  Il LOG è stato salvato in " + path.string() + "  ***"));
    const std::string file = vantor::testing::readBytes(path);
    QVERIFY(file.starts_with("[REG1TEST;1]\r\n"));
    QVERIFY(
        file.ends_with("261207;1432;QQ1ABC;1;59;001;59;005;;JN61FU;349;;N;;\r\n"
                       "[END;Created by Vantor by Karsel]\r\n"));
    QVERIFY(program.find<QPlainTextEdit>("Text15")->toPlainText().startsWith(
        QStringLiteral("[REG1TEST;1]\nTName=Contest IARU Reg. I VHF\n")));

    // Saved: closing no longer asks.
    QTest::mouseClick(program.find<QPushButton>("Command4"), Qt::LeftButton);
    QVERIFY(program.dialogs.questions.empty());
    QVERIFY(program.application.session().ended());
  }

  void closingWithUnsavedContactsAsksFirst() {
    Program program;
    program.logContact({"qq1abc", "005", "jn61fu"});
    program.dialogs.answers = {false};
    QTest::mouseClick(program.find<QPushButton>("Command4"), Qt::LeftButton);
    QCOMPARE(program.dialogs.questions.size(), std::size_t{1});
    QVERIFY(!program.application.session().ended());
    QVERIFY(program.window().isVisible());
    program.dialogs.answers = {true};
    program.window().close();
    QVERIFY(program.application.session().ended());
    QVERIFY(!program.window().isVisible());
    QVERIFY(!program.application.headerWindow().isVisible());
  }
};

QTEST_MAIN(LogWindowTest)
#include "log_window_test.moc"
