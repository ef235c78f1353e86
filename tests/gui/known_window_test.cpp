#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

#include "app/session.h"
#include "gui/application.h"
#include "known/known_stations.h"
#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;

// The log window with a store of known stations behind it, driven by the keyboard.
class KnownWindowTest : public QObject {
  Q_OBJECT

 private:
  static constexpr int kOpenWithin = 5000;

  struct Program : RunningProgram {
    explicit Program(const std::filesystem::path& folder) : RunningProgram({2026, 12, 7, 14, 32}) {
      const vantor::KnownPlaces places{folder / "stazioni.sqlite", folder};
      {
        std::vector<std::string> notices;
        const auto store = vantor::openKnownStore(places, "", notices);
        std::string problem;
        const auto known = [](const char* call, const char* locator, const char* day) {
          vantor::KnownStation station;
          station.call = call;
          station.locator = locator;
          station.lastSeen = day;
          return station;
        };
        QVERIFY(store->add(std::vector<vantor::KnownStation>{known("QQ1ABC", "JN61FU", "20250901"),
                                                             known("QQ1ABC", "KN02AA", "20260501"),
                                                             known("QQ1ABD", "JN71JK", "20240101"),
                                                             known("XQQ1AB", "", "")},
                           problem));
      }
      openLog({.locator = "jn81gd"});
      session().keepKnownStations(places);
      session().startKnownStations();
      QTRY_VERIFY_WITH_TIMEOUT(session().knownStations()->ready(), kOpenWithin);
      call()->setFocus();
    }
    QLineEdit* call() { return log<QLineEdit>("Text6"); }
    QLineEdit* locator() { return log<QLineEdit>("Text9"); }
    QStringList choices() {
      QStringList shown;
      auto* list = log<QListWidget>("List1");
      for (int row = 0; row < list->count(); ++row) {
        shown << list->item(row)->text() + (list->item(row)->font().bold() ? "*" : "");
      }
      return shown;
    }
    bool locatorGrey() {
      return locator()->palette().color(QPalette::Text) == QColor(128, 128, 128);
    }
    QString logText() { return log<QPlainTextEdit>("Text15")->toPlainText(); }
  };

 private slots:
  void takesACallOfThePartialCheckAndItsLatestLocator() {
    vantor::testing::TempFolder folder;
    Program program(folder.path());
    RunningProgram::type(program.call(), "qq1");
    QCOMPARE(program.choices(), (QStringList{"QQ1ABC", "QQ1ABD", "XQQ1AB"}));
    QTest::keyClick(program.call(), Qt::Key_Down);
    QTest::keyClick(program.call(), Qt::Key_Down);
    QTest::keyClick(program.call(), Qt::Key_Up);
    QCOMPARE(program.log<QListWidget>("List1")->currentRow(), 0);
    QTest::keyClick(program.call(), Qt::Key_Return);
    QCOMPARE(program.call()->text(), QStringLiteral("QQ1ABC"));
    QCOMPARE(program.locator()->text(), QStringLiteral("KN02AA"));
    QVERIFY(program.locatorGrey());
    QVERIFY(!program.log<QLineEdit>("Text10")->text().isEmpty());
    QVERIFY(program.logText().isEmpty());

    program.locator()->setFocus();
    QTest::keyClick(program.locator(), Qt::Key_Down);
    QCOMPARE(program.locator()->text(), QStringLiteral("JN61FU"));
    QTest::keyClick(program.locator(), Qt::Key_Tab);
    QVERIFY(!program.locatorGrey());
    QTest::keyClick(program.locator(), Qt::Key_Return);
    QVERIFY(
        program.logText().startsWith(QStringLiteral("261207;1432;QQ1ABC;1;59;001;59;;;JN61FU;")));
    RunningProgram::type(program.call(), "qq1");
    QCOMPARE(program.choices(), (QStringList{"QQ1ABC*", "QQ1ABD", "XQQ1AB"}));
  }

  // What the locator field shows is what is logged: a suggestion taken away with its call is not.
  void neverLogsASuggestionTheFieldDoesNotShow() {
    vantor::testing::TempFolder folder;
    Program program(folder.path());
    RunningProgram::type(program.call(), "qq1abd");
    QCOMPARE(program.locator()->text(), QStringLiteral("JN71JK"));
    QTest::keyClick(program.call(), Qt::Key_Backspace);
    QTest::keyClick(program.call(), Qt::Key_Z);
    QCOMPARE(program.locator()->text(), QString());
    QTest::keyClick(program.call(), Qt::Key_Return);
    QVERIFY(program.logText().isEmpty());
    QCOMPARE(program.dialogs.messages.back().text, std::string("Locatore non valido"));

    QTest::keyClick(program.call(), Qt::Key_Backspace);
    QTest::keyClick(program.call(), Qt::Key_D);
    QCOMPARE(program.locator()->text(), QStringLiteral("JN71JK"));
    QVERIFY(program.locatorGrey());
    QTest::keyClick(program.call(), Qt::Key_Return);
    QVERIFY(
        program.logText().startsWith(QStringLiteral("261207;1432;QQ1ABD;1;59;001;59;;;JN71JK;")));
  }
};

QTEST_MAIN(KnownWindowTest)
#include "known_window_test.moc"
