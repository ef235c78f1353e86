#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "log/log_form.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

// Where the operator's contest is cut short.
enum class KillPoint {
  AfterInsertion,
  DuringBufferTyping,
  AfterExport,
  AfterCorrection,
  AfterBandSwitch,
  WhileADuplicateIsTold
};

constexpr vantor::DateTime kStart{2026, 12, 8, 8, 40};

// The contest up to the kill point, played through the windows.
void playUntil(RunningProgram& program, KillPoint point, const fs::path& ediFolder) {
  program.session().setProgramFolder(ediFolder);
  program.openLog();
  program.logContact({"qq1abc", "001", "jn61fu"});
  RunningProgram::click(program.log<QAbstractButton>("Option2"));
  program.logContact({"qq2abc", "002", "kn02aa"});
  if (point == KillPoint::AfterExport) {
    RunningProgram::click(program.log<QPushButton>("Command2"));
  }
  if (point == KillPoint::DuringBufferTyping) {
    RunningProgram::paste(program.log<QPlainTextEdit>("Text15"), QStringLiteral("nota "));
  }
  if (point == KillPoint::AfterCorrection) {
    program.openCorrection(0);
    RunningProgram::retype(program.correction<QLineEdit>("Text6"), QStringLiteral("jn71jk"));
    QTest::keyClick(program.correction<QLineEdit>("Text6"), Qt::Key_Return);
  }
  if (point == KillPoint::AfterBandSwitch) {
    QTest::keyClick(program.log<QLineEdit>("Text6"), Qt::Key_PageDown, Qt::ControlModifier);
    program.logContact({"qq1abc", "001", "jn71jk"});
  }
}

// The rest of the contest after the restart: one more contact and the export; the files of 144
// and 432 MHz.
std::string finish(RunningProgram& program, const fs::path& ediFolder) {
  program.session().setProgramFolder(ediFolder);
  program.logContact({"qq3abc", "003", "jn71jk"});
  RunningProgram::click(program.log<QPushButton>("Command2"));
  std::string files = vantor::testing::readBytes(ediFolder / "01_QQ9XYZ.edi");
  if (fs::exists(ediFolder / "03_QQ9XYZ.edi")) {
    files += vantor::testing::readBytes(ediFolder / "03_QQ9XYZ.edi");
  }
  return files;
}

// What both windows show, widget by widget, with the EDI folder's name taken out; a closed
// correction window on its way out is not shown.
std::vector<QString> shown(RunningProgram& program, const fs::path& ediFolder) {
  std::vector<QString> texts;
  for (QWidget* window : {static_cast<QWidget*>(&program.application.headerWindow()),
                          static_cast<QWidget*>(program.application.logWindow())}) {
    const auto in = [window](const QWidget* widget) { return widget->window() == window; };
    for (const QLineEdit* field : window->findChildren<QLineEdit*>()) {
      if (in(field)) {
        texts.push_back(field->objectName() + "=" + field->text());
      }
    }
    for (const QAbstractButton* toggle : window->findChildren<QAbstractButton*>()) {
      if (in(toggle)) {
        texts.push_back(toggle->objectName() + (toggle->isChecked() ? "+" : "-"));
      }
    }
    for (const QPlainTextEdit* buffer : window->findChildren<QPlainTextEdit*>()) {
      texts.push_back(buffer->objectName() + "=" + buffer->toPlainText());
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      if (in(label)) {
        texts.push_back(label->objectName() + "=" +
                        label->text().replace(QString::fromStdString(ediFolder.string()), "…"));
      }
    }
  }
  return texts;
}

// The child: the program as main starts it, played to the kill point and killed there.
int runChild(KillPoint point, const fs::path& data, const fs::path& edi) {
  RunningProgram program(kStart, data, {});
  if (point == KillPoint::WhileADuplicateIsTold) {
    program.session().setProgramFolder(edi);
    program.openLog();
    program.logContact({"qq1abc", "001", "jn61fu"});
    program.dialogs.whileShown = [](const vantor::Message&) { std::raise(SIGKILL); };
    program.logContact({"qq1abc", "001", "jn61fu"});
    return 0;
  }
  playUntil(program, point, edi);
  std::raise(SIGKILL);
  return 0;
}

// Runs the child to the kill point in `folder`; whether it was killed there.
bool killedAt(const char* self, KillPoint point, const fs::path& folder) {
  const pid_t child = ::fork();
  if (child < 0) {
    return false;
  }
  if (child == 0) {
    ::execl(self, self, "--child", std::to_string(static_cast<int>(point)).c_str(), folder.c_str(),
            nullptr);
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace

class CrashTest : public QObject {
  Q_OBJECT

 public:
  explicit CrashTest(const char* self) : m_self(self) {}

 private slots:
  void resumesExactlyWhereTheKilledProgramStopped_data() {
    QTest::addColumn<int>("point");
    QTest::newRow("after an insertion") << static_cast<int>(KillPoint::AfterInsertion);
    QTest::newRow("during typing in the log") << static_cast<int>(KillPoint::DuringBufferTyping);
    QTest::newRow("right after an export") << static_cast<int>(KillPoint::AfterExport);
    QTest::newRow("right after a correction") << static_cast<int>(KillPoint::AfterCorrection);
    QTest::newRow("on a second band") << static_cast<int>(KillPoint::AfterBandSwitch);
  }

  void resumesExactlyWhereTheKilledProgramStopped() {
    QFETCH(int, point);
    const TempFolder unbrokenFolder;
    RunningProgram unbroken(kStart, unbrokenFolder.path(), {});
    playUntil(unbroken, static_cast<KillPoint>(point), unbrokenFolder.path());

    const TempFolder folder;
    QVERIFY(killedAt(m_self, static_cast<KillPoint>(point), folder.path()));

    RunningProgram resumed(kStart, folder.path(), {true});
    QCOMPARE(resumed.dialogs.questions.size(), std::size_t{1});
    QCOMPARE(shown(resumed, folder.path()), shown(unbroken, unbrokenFolder.path()));
    QCOMPARE(QApplication::focusWidget(), resumed.log<QLineEdit>("Text6"));
    QCOMPARE(resumed.session().log().hasUnsavedContacts(),
             unbroken.session().log().hasUnsavedContacts());
    QCOMPARE(finish(resumed, folder.path()), finish(unbroken, unbrokenFolder.path()));
  }

  // "Inserito un duplicato" waits for the operator, who may be on the radio: a power cut then
  // loses neither the duplicate nor anything before it.
  void keepsADuplicateKilledWhileItsBoxIsOpen() {
    const TempFolder folder;
    QVERIFY(killedAt(m_self, KillPoint::WhileADuplicateIsTold, folder.path()));
    RunningProgram resumed(kStart, folder.path(), {true});
    QCOMPARE(resumed.dialogs.questions.size(), std::size_t{1});
    const QString log = resumed.log<QPlainTextEdit>("Text15")->toPlainText();
    QCOMPARE(log.count(QStringLiteral(";QQ1ABC;")), 2);
    QVERIFY(log.contains(QStringLiteral(";JN61FU;0;;;;D")));
  }

 private:
  const char* m_self;
};

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
    return runChild(static_cast<KillPoint>(std::stoi(argv[2])), argv[3], argv[3]);
  }
  CrashTest test(argv[0]);
  return QTest::qExec(&test, argc, argv);
}

#include "crash_test.moc"
