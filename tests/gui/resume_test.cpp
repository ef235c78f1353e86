// The journal at start-up through the real program: Enter on the Qt box of the resume question,
// and a kept journal opened as main opens the file of its command line.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>

#include "app/journal.h"
#include "gui/application.h"
#include "gui/log_window.h"
#include "gui/qt_platform.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::Answer;
using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr vantor::DateTime kStart{2026, 12, 8, 8, 40};

void pressEnterWhenShown(const std::shared_ptr<QString>& text, int tries) {
  QTimer::singleShot(10, [text, tries] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (tries > 0) {
        pressEnterWhenShown(text, tries - 1);
      }
      return;
    }
    *text = box->text();
    QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, Qt::Key_Return);
  });
}

// Presses Enter on the next box once it shows (within a second), where the keyboard sends it: to
// the button that has the focus. Gives the box's text once it was pressed.
std::shared_ptr<QString> pressEnterOnNextBox() {
  auto text = std::make_shared<QString>();
  pressEnterWhenShown(text, 100);
  return text;
}

}  // namespace

class ResumeTest : public QObject {
  Q_OBJECT

 private slots:
  void enterAnswersTheDefaultButton_data() {
    QTest::addColumn<bool>("yesByDefault");
    QTest::newRow("Sì by default") << true;
    QTest::newRow("No by default") << false;
  }

  void enterAnswersTheDefaultButton() {
    QFETCH(bool, yesByDefault);
    vantor::gui::MessageBoxDialogs dialogs;
    const auto text = pressEnterOnNextBox();
    QCOMPARE(dialogs.askYesNo("Riprenderlo?", yesByDefault ? Answer::Yes : Answer::No),
             yesByDefault);
    QCOMPARE(*text, QStringLiteral("Riprenderlo?"));
  }

  // A stray Enter on the question after a crash brings the log back.
  void enterOnTheResumeQuestionResumesTheLog() {
    const TempFolder folder;
    {
      vantor::testing::ProgramRun crashed(folder.path());
      crashed.openLog();
      crashed.logContact("qq1abc", "jn61fu");
      crashed.logContact("qq2abc", "kn02aa");
    }
    vantor::testing::PinnedClock clock(kStart);
    vantor::gui::MessageBoxDialogs dialogs;
    vantor::gui::Application application(clock, dialogs);
    vantor::Journal journal(application.session(), folder.path());
    const auto question = pressEnterOnNextBox();
    QVERIFY(journal.start());
    application.start();
    QVERIFY(question->startsWith(
        QStringLiteral("È stato trovato un LOG non chiuso: 2 contatti, l'ultimo alle 0840")));
    QVERIFY(application.logWindow() != nullptr);
    QVERIFY(application.logWindow()
                ->findChild<QPlainTextEdit*>(QStringLiteral("Text15"))
                ->toPlainText()
                .contains(QStringLiteral(";QQ2ABC;")));
  }

  // "vantor vantor-20261208-0840.journal": both windows show the finished contest, ready for the
  // next call, the log is in the live journal at once and the kept file is as it was.
  void opensAKeptJournalAsTheCommandLineDoes() {
    const TempFolder folder;
    {
      RunningProgram first(kStart, folder.path(), {});
      first.openLog();
      first.logContact({"qq1abc", "001", "jn61fu"});
      first.logContact({"qq2abc", "002", "kn02aa"});
      first.dialogs.answers = {true};
      QVERIFY(first.session().close());
    }
    const fs::path kept = folder.path() / "vantor-20261208-0840.journal";
    const std::string bytes = vantor::testing::readBytes(kept);
    QVERIFY(!bytes.empty());

    RunningProgram program(kStart, folder.path(), {});
    program.application.open(*program.journal, kept);
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QCOMPARE(program.header<QLineEdit>("Text1")->text(), QStringLiteral("QQ9XYZ"));
    QVERIFY(program.application.logWindow() != nullptr);
    QVERIFY(program.application.logWindow()->isVisible());
    const QString log = program.log<QPlainTextEdit>("Text15")->toPlainText();
    QVERIFY(log.contains(QStringLiteral(";QQ1ABC;")) && log.contains(QStringLiteral(";QQ2ABC;")));
    QCOMPARE(program.application.logWindow()->focusWidget(), program.log<QLineEdit>("Text6"));
    QVERIFY(vantor::testing::readBytes(folder.path() / "vantor.journal").find("QQ2ABC") !=
            std::string::npos);
    QCOMPARE(vantor::testing::readBytes(kept), bytes);
  }

  // Any other file is still opened as an EDI file.
  void opensAnEdiFileAsBefore() {
    const TempFolder folder;
    RunningProgram program(kStart, folder.path(), {});
    program.application.open(*program.journal,
                             fs::path(VANTOR_TEST_DATA_DIR) / "contest_iaru_01_QQ2VNT.edi");
    QCOMPARE(program.messageTexts(), std::vector<std::string>{});
    QCOMPARE(program.header<QComboBox>("Combo1")->currentText(),
             QStringLiteral("Contest IARU Reg. I VHF"));
    QVERIFY(program.application.logWindow() != nullptr);
  }
};

QTEST_MAIN(ResumeTest)
#include "resume_test.moc"
