#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <string>

#include "app/session.h"
#include "gui/application.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::Contact;
using vantor::testing::readBytes;
using vantor::testing::RunningProgram;
using vantor::testing::TempFolder;

// A style that opens every list as a menu, as some desktops' styles do.
class MenuListStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    return hint == SH_ComboBox_Popup ? 1 : QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

// An operator at the radio: the keyboard alone, from the focus the windows leave.
class KeyboardTest : public QObject {
  Q_OBJECT

 private:
  static QWidget* focused() { return QApplication::focusWidget(); }
  static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
  }

 private slots:
  void logsTwentyContactsWithTypingTabAndEnterAndExports() {
    RunningProgram program({2026, 12, 7, 14, 32});
    const TempFolder folder;
    program.session().setProgramFolder(folder.path());
    program.openLog();
    const char* locators[] = {"jn61fu", "jn52ab", "jn45cd", "jn71xx", "jn63qq"};
    for (int i = 0; i < 20; ++i) {
      QCOMPARE(focused(), program.log<QLineEdit>("Text6"));
      RunningProgram::type(focused(), QStringLiteral("qq%1kb").arg(i + 10));
      press(Qt::Key_Tab);  // the RST keeps its 59
      press(Qt::Key_Tab);
      RunningProgram::type(focused(), QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0')));
      press(Qt::Key_Tab);
      RunningProgram::type(focused(), QString::fromLatin1(locators[i % 5]));
      // Enter from each field of the entry row in turn: locator, serial, RST, call, time, date.
      for (int back = 0; back < i % 6; ++back) {
        press(Qt::Key_Tab, Qt::ShiftModifier);
      }
      press(i % 2 == 0 ? Qt::Key_Return : Qt::Key_Enter,
            i % 2 == 0 ? Qt::NoModifier : Qt::KeypadModifier);
    }
    QVERIFY(program.dialogs.messages.empty());
    const QScrollBar* scroll = program.log<QPlainTextEdit>("Text15")->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());

    // From the call field, Tab runs through the entry row, the statistics and the log buffer to
    // "Genera EDI" without typing into any of them.
    for (int tab = 0; tab < 8; ++tab) {
      press(Qt::Key_Tab);
    }
    QCOMPARE(focused(), program.log<QPushButton>("Command2"));
    press(Qt::Key_Space);

    const std::string file = readBytes(folder.path() / "01_QQ9XYZ.edi");
    QVERIFY(file.find("[QSORecords;20]\r\n261207;1432;QQ10KB;1;59;001;59;001;;JN61FU;") !=
            std::string::npos);
    QVERIFY(file.find("QQ29KB;1;59;020;59;020;;JN63QQ;") != std::string::npos);
    QVERIFY(file.find('\t') == std::string::npos);
    QCOMPARE(focused(), program.log<QLineEdit>("Text6"));
  }

  void aRefusedExportAndABoxLeaveTheFocusWhereTheOperatorGoesOn() {
    RunningProgram program({2026, 12, 7, 14, 32});
    RunningProgram::retype(program.header<QLineEdit>("Text20"), QStringLiteral("31-12-2026"));
    program.openLog();
    RunningProgram::click(program.log<QPushButton>("Command2"));
    QCOMPARE(program.messageTexts().back(),
             std::string("Data non valida: usare il formato gg/mm/aaaa"));
    QCOMPARE(focused(), program.log<QLineEdit>("Text6"));

    program.log<QLineEdit>("Text5")->setFocus();
    RunningProgram::retype(program.log<QLineEdit>("Text5"), QStringLiteral("143"));
    press(Qt::Key_Return);
    QCOMPARE(program.messageTexts().back(), std::string("Inserire orario nel formato hhmm"));
    QCOMPARE(focused(), program.log<QLineEdit>("Text5"));
  }

  void theLogViewFollowsTheNewestContactUnlessTheOperatorEditsAnOldLine() {
    RunningProgram program({2026, 12, 7, 14, 32});
    program.openLog();
    for (int i = 0; i < 30; ++i) {
      program.logContact(
          {QStringLiteral("qq%1ab").arg(i + 10), QStringLiteral("001"), QStringLiteral("jn61fu")});
    }
    QPlainTextEdit* buffer = program.log<QPlainTextEdit>("Text15");
    buffer->setFocus();
    QTest::keyClick(buffer, Qt::Key_Home, Qt::ControlModifier);
    const int shown = buffer->verticalScrollBar()->value();
    QVERIFY(shown < buffer->verticalScrollBar()->maximum());
    program.log<QLineEdit>("Text6")->setFocus();
    RunningProgram::type(focused(), QStringLiteral("qq99zz"));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    RunningProgram::type(focused(), QStringLiteral("jn61fu"));
    press(Qt::Key_Return);
    QCOMPARE(buffer->textCursor().position(), 0);
    QCOMPARE(buffer->verticalScrollBar()->value(), shown);
  }

  void listsMoveFromTheItemTheyShow() {
    RunningProgram program({2026, 12, 7, 14, 32});
    QComboBox* contests = program.header<QComboBox>("Combo1");
    QComboBox* categories = program.header<QComboBox>("Combo2");
    QCOMPARE(contests->currentIndex(), -1);
    contests->setFocus();
    press(Qt::Key_Up);
    QCOMPARE(contests->currentText(), QStringLiteral("..."));
    press(Qt::Key_Down);
    QCOMPARE(contests->currentText(), QStringLiteral("IAC"));

    RunningProgram::pick(contests, 11);  // the field day's own categories
    RunningProgram::pick(categories, 2);
    RunningProgram::pick(contests, 5);  // and back: the categories show "..." again
    QCOMPARE(categories->currentText(), QStringLiteral("..."));
    categories->setFocus();
    press(Qt::Key_Down);
    QCOMPARE(categories->currentText(), QStringLiteral("Singolo Operatore"));
  }

  void aMousePickFromTheOpenListPicksThatItem() {
    RunningProgram program({2026, 12, 7, 14, 32});
    QComboBox* contests = program.header<QComboBox>("Combo1");
    QTest::mouseClick(contests, Qt::LeftButton, {},
                      QPoint(contests->width() - 4, contests->height() / 2));
    QAbstractItemView* view = contests->view();
    QVERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(5, 0));
    // An open list takes no click before a double click's time has passed, and picks the item
    // under the mouse.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseMove(view->viewport(), item.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(contests->currentText(), QStringLiteral("Contest IARU Reg. I VHF"));
    QVERIFY2(program.session().hasLog(), "the pick behaviour ran");
  }

  // The contests' list builds its drop-down when it first opens, and that drop-down is the one Qt
  // gives a list made editable, in the application's style and in one that opens lists as menus.
  void theOpenListIsTheDropDownOfAnEditableList() {
    MenuListStyle menuLists;
    for (QStyle* style : {static_cast<QStyle*>(nullptr), static_cast<QStyle*>(&menuLists)}) {
      RunningProgram program({2026, 12, 7, 14, 32});
      QComboBox* contests = program.header<QComboBox>("Combo1");
      QCOMPARE(contests->findChild<QAbstractItemView*>(), nullptr);
      QComboBox editable;
      for (QComboBox* list : {contests, &editable}) {
        list->setStyle(style);
      }
      editable.setEditable(true);
      contests->setFocus();
      press(Qt::Key_F4);
      QAbstractItemView* view = contests->view();
      QVERIFY(view->isVisible());
      QCOMPARE(view->verticalScrollBarPolicy(), editable.view()->verticalScrollBarPolicy());
      QCOMPARE(contests->itemDelegate()->metaObject()->className(),
               editable.itemDelegate()->metaObject()->className());
      press(Qt::Key_Escape);
      QVERIFY(!view->isVisible());
    }
  }

  void theMissingFieldsAreYellowWhileTheBoxSaysSo() {
    RunningProgram program({2026, 12, 7, 14, 32});
    QColor shownWithBox;
    program.dialogs.whileShown = [&](const vantor::Message&) {
      shownWithBox = program.header<QLineEdit>("Text1")->palette().color(QPalette::Base);
    };
    program.proceed();
    QCOMPARE(program.messageTexts(), std::vector<std::string>{"Inserire campi mancanti"});
    QCOMPARE(shownWithBox, QColor(Qt::yellow));
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
