#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/journal.h"
#include "app/session.h"
#include "gui/application.h"
#include "gui/contact_window.h"
#include "gui/header_window.h"
#include "gui/log_window.h"
#include "support/fakes.h"

namespace vantor::testing {

// The required header fields: the callsign and locator as typed, and the places of the picked
// contest, category and band in their lists. By default the IARU VHF contest, single operator,
// on 144 MHz.
struct Station {
  QString callsign = QStringLiteral("qq9xyz");
  QString locator = QStringLiteral("jn70aa");
  int contest = 5;
  int category = 0;
  int band = 1;
};

// A contact as typed into the entry row: the other station's call, its serial number and locator.
struct Contact {
  QString call;
  QString received;
  QString locator;
};

// The whole program with its real windows, driven as an operator drives it: typing, pasting,
// picking from lists with the arrow keys and clicking. Widgets are found by their control names.
class RunningProgram {
 public:
  explicit RunningProgram(DateTime start) : clock(start) {
    application.start();
    QApplication::setActiveWindow(&application.headerWindow());
  }
  // The program as main starts it, keeping its journal in `dataFolder`; questions are answered
  // from `answers`.
  RunningProgram(DateTime start, const std::filesystem::path& dataFolder, std::deque<bool> answers)
      : clock(start) {
    dialogs.answers = std::move(answers);
    journal = std::make_unique<Journal>(session(), dataFolder);
    journal->start();
    application.start();
    QApplication::setActiveWindow(session().logShown()
                                      ? static_cast<QWidget*>(application.logWindow())
                                      : &application.headerWindow());
  }

  PinnedClock clock;
  RecordingDialogs dialogs;
  gui::Application application{clock, dialogs};
  std::unique_ptr<Journal> journal;

  Session& session() { return application.session(); }

  template <typename Widget>
  Widget* header(const char* name) {
    return find<Widget>(application.headerWindow(), name);
  }
  template <typename Widget>
  Widget* log(const char* name) {
    if (application.logWindow() == nullptr) {
      qFatal("the log window is not open");
    }
    return find<Widget>(*application.logWindow(), name);
  }

  // Typed key by key. A character beyond ASCII comes as a key event carrying its text, the way
  // an Italian keyboard sends "ì" or an input method a CJK character.
  static void type(QWidget* widget, const QString& text) {
    for (qsizetype at = 0; at < text.size(); ++at) {
      const QChar c = text.at(at);
      if (c.unicode() < 0x80) {
        QTest::keyClick(widget, static_cast<char>(c.unicode()));
        continue;
      }
      const qsizetype length = c.isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(at, length),
                          Qt::NoModifier);
      at += length - 1;
    }
  }
  // Selects the whole text and types over it.
  static void retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    type(field, text);
  }
  // Selects the whole text and deletes it.
  static void erase(QLineEdit* field) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
  }
  // Selects the whole text and pastes over it from the clipboard with Ctrl+V.
  static void paste(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  }
  static void paste(QComboBox* list, const QString& text) { paste(list->lineEdit(), text); }
  // Pastes at the end of a multi-line field.
  static void paste(QPlainTextEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field->setFocus();
    field->moveCursor(QTextCursor::End);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  }
  // Picks item `index` from the list as an operator does with the keyboard: F4 opens it on the
  // item it shows (none while it shows "..."), the arrow keys move from there and Enter picks.
  static void pick(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F4);
    QAbstractItemView* view = list->view();
    const int shown = view->currentIndex().isValid() ? view->currentIndex().row() : -1;
    for (int row = shown; row < index; ++row) {
      QTest::keyClick(view, Qt::Key_Down);
    }
    for (int row = shown; row > index; --row) {
      QTest::keyClick(view, Qt::Key_Up);
    }
    QTest::keyClick(view, Qt::Key_Return);
  }
  static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  void fillHeader(const Station& station = {}) {
    type(header<QLineEdit>("Text1"), station.callsign);
    type(header<QLineEdit>("Text2"), station.locator);
    pick(header<QComboBox>("Combo1"), station.contest);
    pick(header<QComboBox>("Combo2"), station.category);
    pick(header<QComboBox>("Combo3"), station.band);
  }
  // "Avanti -->".
  void proceed() { click(header<QPushButton>("Command1")); }
  // Fills the required header fields and proceeds to the log window.
  void openLog(const Station& station = {}) {
    fillHeader(station);
    proceed();
    // What a window manager does with a window that is shown and raised.
    if (application.logWindow() != nullptr) {
      QApplication::setActiveWindow(application.logWindow());
    }
  }

  void typeContact(const Contact& contact) {
    type(log<QLineEdit>("Text6"), contact.call);
    type(log<QLineEdit>("Text8"), contact.received);
    type(log<QLineEdit>("Text9"), contact.locator);
  }
  // "Inserisci".
  void insert() { click(log<QPushButton>("Command1")); }
  void logContact(const Contact& contact) {
    typeContact(contact);
    insert();
  }

  // Ctrl+E with the caret on line `line` of the log text: the correction window opens on its
  // contact.
  void openCorrection(int line) {
    auto* text = log<QPlainTextEdit>("Text15");
    text->setFocus();
    text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(line)));
    QTest::keyClick(text, Qt::Key_E, Qt::ControlModifier);
  }
  // A widget of the correction window, which is open.
  template <typename Widget>
  Widget* correction(const char* name) {
    return find<Widget>(*application.contactWindow(), name);
  }

  // The texts of the boxes shown so far, oldest first.
  [[nodiscard]] std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const Message& message : dialogs.messages) {
      texts.push_back(message.text);
    }
    return texts;
  }

 private:
  template <typename Widget>
  static Widget* find(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
      qFatal("no widget %s", name);
    }
    return widget;
  }
};

// Where two texts first differ, by line, for a failure message; empty when they are equal.
inline std::string firstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) {
    return {};
  }
  std::size_t at = 0;
  int line = 1;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
    if (actual[at] == '\n') {
      ++line;
    }
    ++at;
  }
  // The line holding byte `at`; a CR at its end is shown as a backslash and "r".
  const auto lineAround = [at](const std::string& text) {
    const std::size_t newline = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
    const std::size_t from = newline == std::string::npos ? 0 : newline + 1;
    std::string shown = text.substr(from, text.find('\n', at) - from);
    if (shown.ends_with('\r')) {
      shown.replace(shown.size() - 1, 1, "\\r");
    }
    return shown;
  };
  return "line " + std::to_string(line) + " differs: got \"" + lineAround(actual) +
         "\", expected \"" + lineAround(expected) + "\"";
}

// Compares the bytes of a written file with a golden file. On a difference the written bytes
// are kept as "<golden name>.actual" in the working folder, to be read and, once checked by
// hand, copied over the golden file.
inline std::string compareWithGolden(const std::string& actual,
                                     const std::filesystem::path& golden) {
  std::ifstream file(golden, std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  std::string difference = firstDifference(actual, expected);
  if (!difference.empty()) {
    const std::filesystem::path kept = golden.filename().string() + ".actual";
    std::ofstream(kept, std::ios::binary) << actual;
    difference += " (written bytes kept in " + std::filesystem::absolute(kept).string() + ")";
  }
  return difference;
}

}  // namespace vantor::testing
