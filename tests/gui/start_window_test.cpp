#include <QPushButton>
#include <QTest>

#include "gui/start_window.h"

class StartWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsCaptionAndClosesOnChiudi() {
    vantor::gui::StartWindow window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Vantor v1.04 - Karsel"));
    auto* closeButton = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    QVERIFY(closeButton != nullptr);
    QCOMPARE(closeButton->text(), QStringLiteral("Chiudi"));
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QVERIFY(!window.isVisible());
  }
};

QTEST_MAIN(StartWindowTest)
#include "start_window_test.moc"
