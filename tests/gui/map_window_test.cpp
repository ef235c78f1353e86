#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cmath>

#include "app/session.h"
#include "gui/application.h"
#include "gui/map_canvas.h"
#include "gui/map_window.h"
#include "log/log_form.h"
#include "support/window_driver.h"

using vantor::testing::RunningProgram;

// The map window beside the log window, opened with F9 and followed as the operator logs.
class MapWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Program : RunningProgram {
    Program() : RunningProgram({2026, 12, 7, 14, 32}) {
      openLog({.locator = "jn81gd"});
      QTest::keyClick(application.logWindow(), Qt::Key_F9);
    }
    vantor::gui::MapWindow* map() { return application.mapWindow(); }
  };

 private slots:
  // JN61FU lies 349 km from JN81GD at 284 degrees; the map's model says where it drew it.
  void showsAnInsertedContactAtItsBearingAndDistance() {
    Program program;
    QVERIFY(program.map() != nullptr);
    QCOMPARE(program.map()->windowTitle(), QStringLiteral("Mappa"));
    QVERIFY(program.map()->model().spots().empty());

    program.logContact({QStringLiteral("qq1abc"), QStringLiteral("001"), QStringLiteral("jn61fu")});
    const auto last = program.map()->model().lastContact();
    QVERIFY(last.has_value());
    QCOMPARE(last->call, std::string("QQ1ABC"));
    QCOMPARE(program.map()->model().spots().size(), std::size_t{1});
    QVERIFY(std::abs(vantor::distanceOf(last->at) - 349) <= 1);
    QVERIFY(std::abs(vantor::bearingOf(last->at) - 284) <= 1);

    RunningProgram::type(program.log<QLineEdit>("Text9"), QStringLiteral("kn02aa"));
    const auto target = program.map()->model().typedLocator();
    QVERIFY(target.has_value());
    QCOMPARE(QString::number(target->qrb), program.log<QLineEdit>("Text10")->text().trimmed());
    QCOMPARE(QString::number(target->qtf), program.log<QLineEdit>("Text16")->text().trimmed());
  }

  void zoomsWithTheKeysAndTellsWhyAClickTurnsNoAntenna() {
    Program program;
    vantor::gui::MapCanvas& canvas = program.map()->canvas();
    const double home = canvas.view().kmPerPixel();
    QTest::keyClick(&canvas, Qt::Key_Plus);
    QVERIFY(canvas.view().kmPerPixel() < home);
    QTest::keyClick(&canvas, Qt::Key_Home);
    QCOMPARE(canvas.view().kmPerPixel(), home);

    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(60, 60));
    auto* status = program.map()->findChild<QLabel*>(QStringLiteral("mapStatus"));
    QCOMPARE(status->text(), QString::fromUtf8(vantor::LogForm::kRotatorAbsent.data(),
                                               vantor::LogForm::kRotatorAbsent.size()));
    QVERIFY(program.messageTexts().empty());

    program.map()->close();
    QTRY_VERIFY(program.map() == nullptr);
  }
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
