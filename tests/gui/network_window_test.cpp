#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

#include "app/club_network.h"
#include "gui/network_dialog.h"
#include "log/log_form.h"
#include "support/journal_run.h"
#include "support/nats_hub.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;

// The log window of a station sharing its contest with another, headless one through a hub on
// loopback, as an operator sets it up with "Rete".
class NetworkWindowTest : public QObject {
  Q_OBJECT

 private:
  // A station's server starts, joins the hub and hears the other within a few seconds.
  static constexpr int kWithin = 15000;

  // "Rete" clicked on the log window, the station's name and the hub typed, OK clicked.
  static void setUpNetwork(RunningProgram& program, const QString& station, const QString& hub) {
    QTimer::singleShot(0, [station, hub] {
      auto* dialog = qobject_cast<vantor::gui::NetworkDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      RunningProgram::type(dialog->findChild<QLineEdit*>("stationName"), station);
      RunningProgram::type(dialog->findChild<QLineEdit*>("hubAddress"), hub);
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    RunningProgram::click(program.log<QPushButton>("netButton"));
    // What a window manager does as the dialog closes.
    QApplication::setActiveWindow(program.application.logWindow());
  }

  static std::string logText(RunningProgram& program) {
    return program.log<QPlainTextEdit>("Text15")->toPlainText().toStdString();
  }

 private slots:
  void sharesContactsBothWaysAndRefusesToCorrectAnothersContact() {
    vantor::testing::TempFolder folder;
    vantor::testing::NatsHub hub(folder.path() / "hub");
    RunningProgram program({2026, 12, 8, 8, 40});
    program.session().keepNetworkFolder(folder.path() / "window" / "rete");
    program.openLog();
    setUpNetwork(program, "144", QString::fromStdString(hub.address));
    QCOMPARE(program.session().network()->settings().station, std::string("144"));

    vantor::testing::ProgramRun other(folder.path() / "other");
    other.session.keepNetworkFolder(folder.path() / "other" / "rete");
    other.session.configureNetwork({"432", hub.address}, {});
    other.openLog();
    other.act([&] { other.session.header().bandList.pickText("432 Mhz"); });
    other.logContact("I5ABC", "JN53AA");
    program.logContact({"I4XYZ", "", "JN61FU"});

    const auto heardBoth = [&] {
      other.session.pollNetwork();
      auto& records = other.session.log().bandLog("144 Mhz").document();
      return records.score().contacts() == 1 &&
             program.session().log().bandLog("432 Mhz").holdsRecords();
    };
    QTRY_VERIFY_WITH_TIMEOUT(heardBoth(), kWithin);
    QTRY_VERIFY_WITH_TIMEOUT(
        program.log<QLabel>("netStatus")->text().contains(QStringLiteral("Hub collegato · 432")),
        kWithin);

    QTest::keyClick(program.log<QLineEdit>("Text6"), Qt::Key_PageDown, Qt::ControlModifier);
    QVERIFY(logText(program).find("I5ABC") != std::string::npos);
    program.openCorrection(0);
    QCOMPARE(program.messageTexts().back(),
             std::string("Il contatto I5ABC è della stazione 432: solo lei può correggerlo o "
                         "eliminarlo"));
    QVERIFY(program.application.contactWindow() == nullptr);
  }
};

QTEST_MAIN(NetworkWindowTest)
#include "network_window_test.moc"
