// The journal at start-up through the real program: Enter on the Qt box of the resume question.

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/journal.h"
#include "gui/application.h"
#include "gui/log_window.h"
#include "gui/qt_platform.h"
#include "support/journal_run.h"
#include "support/temp_folder.h"

using vantor::Answer;
using vantor::testing::TempFolder;

namespace {

constexpr vantor::LocalDateTime kStart{2026, 12, 8, 8, 40};

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
};

QTEST_MAIN(ResumeTest)
#include "resume_test.moc"
