#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>

#include "app/session.h"
#include "gui/application.h"
#include "log/log_form.h"
#include "station/station_settings.h"
#include "support/hamlib_daemon.h"
#include "support/window_driver.h"

using vantor::testing::HamlibDaemon;
using vantor::testing::RunningProgram;

// The log window with the real rig and rotator daemons of hamlib's dummy models behind it, as an
// operator sets them up with "NET rigctl" and "NET rotctl".
class StationWindowTest : public QObject {
  Q_OBJECT

 private:
  // Devices take up to a few polls to answer after they are set up, or to be found lost.
  static constexpr int kConnectWithin = 4000;
  static constexpr int kLostWithin = 2000;

  struct Program : vantor::testing::RunningProgram {
    Program(const HamlibDaemon* rig, const HamlibDaemon* rotator)
        : RunningProgram({2026, 12, 7, 14, 32}) {
      openLog({.locator = "jn81gd"});
      vantor::StationSettings settings;
      if (rig != nullptr) {
        settings.rig = {vantor::kNetRigctlModel, rig->address(), 0};
      }
      if (rotator != nullptr) {
        settings.rotator = {vantor::kNetRotctlModel, rotator->address(), 0};
      }
      session().configureStation(settings, true);
    }
    QString frequency() { return log<QLineEdit>("Text18")->text(); }
    QString heading() { return log<QLineEdit>("Text19")->text(); }
  };

 private slots:
  void showsTheRigsFrequencyAndTakesItsMode() {
    HamlibDaemon rig(HamlibDaemon::Kind::Rig);
    QCOMPARE(rig.command("F 144300000"), std::string("RPRT 0\n"));
    Program program(&rig, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("144.3000"), kConnectWithin);
    QCOMPARE(program.session().log().frequencyField.background(), vantor::colors::white);

    QCOMPARE(rig.command("F 432200000"), std::string("RPRT 0\n"));
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("432.2000"), kConnectWithin);
    QCOMPARE(program.session().log().frequencyField.background(), vantor::colors::yellow);

    QCOMPARE(rig.command("M CW 0"), std::string("RPRT 0\n"));
    QTRY_COMPARE_WITH_TIMEOUT(program.log<QComboBox>("Combo1")->currentText(), QStringLiteral("CW"),
                              kConnectWithin);
    QCOMPARE(program.log<QLineEdit>("Text7")->text(), QStringLiteral("599"));
    QVERIFY(program.dialogs.messages.empty());
  }

  // F12 turns the antenna toward the QTF of the locator typed (JN82AA lies at 358 degrees from
  // JN81GD, so the dummy rotator turns down from 0), Shift+F12 stops it.
  void turnsTheAntennaToTheQtfAndStopsIt() {
    HamlibDaemon rotator(HamlibDaemon::Kind::Rotator);
    Program program(nullptr, &rotator);
    QTRY_COMPARE_WITH_TIMEOUT(program.heading(), QStringLiteral("0"), kConnectWithin);
    RunningProgram::type(program.log<QLineEdit>("Text9"), "jn93aa");
    const QString qtf = program.log<QLineEdit>("Text16")->text();
    QVERIFY(qtf.toInt() > 0 && qtf.toInt() < 90);
    QTest::keyClick(program.log<QLineEdit>("Text9"), Qt::Key_F12);
    QTRY_VERIFY_WITH_TIMEOUT(program.heading().toInt() >= 3, kConnectWithin);
    QTest::keyClick(program.log<QLineEdit>("Text9"), Qt::Key_F12, Qt::ShiftModifier);
    QTest::qWait(600);
    const QString stopped = program.heading();
    QTest::qWait(800);
    QCOMPARE(program.heading(), stopped);
    QVERIFY(stopped.toInt() < qtf.toInt());
    QVERIFY(program.dialogs.messages.empty());
  }

  // A rig whose daemon dies or hangs reads "scollegato" within 2 s while the operator goes on
  // typing, and shows the frequency again once it answers.
  void aRigThatStopsAnsweringIsShownLostAndFoundAgain() {
    HamlibDaemon rig(HamlibDaemon::Kind::Rig);
    QCOMPARE(rig.command("F 144300000"), std::string("RPRT 0\n"));
    Program program(&rig, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("144.3000"), kConnectWithin);

    rig.hang();
    QElapsedTimer typing;
    typing.start();
    RunningProgram::type(program.log<QLineEdit>("Text6"), "qq1abc");
    QVERIFY2(typing.elapsed() < 500, "typing waited on the rig");
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("scollegato"), kLostWithin);
    rig.resume();
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("144.3000"), kConnectWithin);

    rig.stop();
    QTRY_COMPARE_WITH_TIMEOUT(program.frequency(), QStringLiteral("scollegato"), kLostWithin);
    RunningProgram::type(program.log<QLineEdit>("Text9"), "jn61fu");
    rig.restart();
    QTRY_VERIFY_WITH_TIMEOUT(program.frequency() != QStringLiteral("scollegato"), kConnectWithin);
    QCOMPARE(program.log<QLineEdit>("Text6")->text(), QStringLiteral("QQ1ABC"));
    QCOMPARE(program.log<QLineEdit>("Text9")->text(), QStringLiteral("JN61FU"));
    QVERIFY(program.dialogs.messages.empty());
  }
};

QTEST_MAIN(StationWindowTest)
#include "station_window_test.moc"
