// "Radio e rotore" driven as the operator drives it: typing part of a model's name and picking it,
// typing ports and offsets, clicking OK or Annulla.

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>
#include <vector>

#include "gui/station_dialog.h"
#include "support/fakes.h"
#include "support/window_driver.h"

using vantor::StationSettings;
using vantor::gui::StationDialog;
using vantor::testing::RunningProgram;

namespace {

const std::vector<vantor::DeviceModel> kRigs{
    {1, "Hamlib Dummy"}, {2, "Hamlib NET rigctl"}, {3073, "Icom IC-7300"}, {3081, "Icom IC-9700"}};
const std::vector<vantor::DeviceModel> kRotators{{2, "Hamlib NET rotctl"}, {601, "SPID Rot2Prog"}};

// A model of the list, one hamlib no longer lists at a speed the dialog does not offer, and
// offsets below and above the rig's frequency.
const StationSettings kSetUp{{3081, "/dev/ttyUSB0", 19200},
                             {987654, "/dev/ttyS3", 300},
                             {{"50", -94'000'000}, {"1296", 1'152'000'001}}};

// The dialog shown and active, as it is over the log window.
struct ShownDialog {
  explicit ShownDialog(const StationSettings& current = {})
      : dialog(current, kRigs, kRotators, dialogs) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
  }

  QWidget* control(const QString& name) { return dialog.findChild<QWidget*>(name); }
  QComboBox* list(const char* name) { return dialog.findChild<QComboBox*>(name); }
  QLineEdit* field(const char* name) { return dialog.findChild<QLineEdit*>(name); }
  void ok() { RunningProgram::click(dialog.findChild<QPushButton*>("okButton")); }

  // Types part of a model's name and picks the first model the list then offers.
  void typeAndPick(const char* name, const QString& typed) {
    RunningProgram::retype(list(name)->lineEdit(), typed);
    QAbstractItemView* offered = list(name)->completer()->popup();
    QVERIFY(offered->isVisible());
    QTest::keyClick(offered, Qt::Key_Down);
    QTest::keyClick(offered, Qt::Key_Return);
  }

  vantor::testing::RecordingDialogs dialogs;
  StationDialog dialog;
};

}  // namespace

class StationDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void okKeepsWhatWasSetUp() {
    ShownDialog shown(kSetUp);
    QCOMPARE(shown.list("rotatorModel")->currentText(), QStringLiteral("Modello 987654"));
    QCOMPARE(shown.field("offset1296")->text(), QStringLiteral("1152.000001"));
    shown.ok();
    QCOMPARE(shown.dialog.result(), int{QDialog::Accepted});
    QVERIFY(shown.dialog.settings() == kSetUp);
    QVERIFY(shown.dialogs.messages.empty());
  }

  // "9700" finds the model inside its name; the port typed, the speed picked with the keyboard,
  // an offset typed with a decimal comma; "nessuno" typed for the rotator.
  void setsUpARigOnASerialPort() {
    ShownDialog shown(kSetUp);
    shown.typeAndPick("rigModel", QStringLiteral("9700"));
    RunningProgram::retype(shown.list("rigPort")->lineEdit(), QStringLiteral("/dev/ttyUSB1"));
    RunningProgram::pick(shown.list("rigSpeed"), 4);
    RunningProgram::retype(shown.field("offset1296"), QStringLiteral("1152,5"));
    RunningProgram::retype(shown.list("rotatorModel")->lineEdit(), QStringLiteral("nessuno"));
    shown.ok();
    QVERIFY(shown.dialog.settings() ==
            (StationSettings{
                {3081, "/dev/ttyUSB1", 9600}, {}, {{"50", -94'000'000}, {"1296", 1'152'500'000}}}));
  }

  void netModelsTakeTheirDaemonsPort_data() {
    QTest::addColumn<QString>("portBefore");
    QTest::addColumn<QString>("portAfter");
    QTest::newRow("no port") << ""
                             << "127.0.0.1:4532";
    QTest::newRow("a serial port") << "/dev/ttyUSB0"
                                   << "127.0.0.1:4532";
    QTest::newRow("a daemon elsewhere") << "192.168.1.20:4532"
                                        << "192.168.1.20:4532";
  }

  // A daemon takes no serial speed.
  void netModelsTakeTheirDaemonsPort() {
    QFETCH(QString, portBefore);
    QFETCH(QString, portAfter);
    ShownDialog shown({{3073, portBefore.toStdString(), 9600}, {}, {}});
    shown.typeAndPick("rigModel", QStringLiteral("net rig"));
    shown.typeAndPick("rotatorModel", QStringLiteral("net rot"));
    QCOMPARE(shown.list("rigPort")->currentText(), portAfter);
    shown.ok();
    QVERIFY(shown.dialog.settings() ==
            (StationSettings{{2, portAfter.toStdString(), 0}, {2, "127.0.0.1:4533", 0}, {}}));
  }

  void okRefusesWhatCannotBeKept_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("a rotator without its port") << "rotatorPort"
                                                << "  "
                                                << "Inserire la porta del rotore";
    QTest::newRow("a model typed but not picked")
        << "rigModel"
        << "Icom IC-99"
        << "Modello della radio non trovato: sceglierlo dall'elenco";
    QTest::newRow("an offset with its unit")
        << "offset144"
        << "116 MHz"
        << "Transverter a 144 Mhz non valido: inserire i MHz da aggiungere, es. 288 o 288,5";
  }

  // The box says why, the dialog stays open on the control to put right, and Annulla then
  // leaves the settings as they were.
  void okRefusesWhatCannotBeKept() {
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    ShownDialog shown(kSetUp);
    QWidget* widget = shown.control(control);
    auto* list = qobject_cast<QComboBox*>(widget);
    QLineEdit* field = list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(widget);
    RunningProgram::retype(field, typed);
    shown.ok();
    QCOMPARE(shown.dialogs.messages,
             std::vector<vantor::Message>{vantor::Message(message.toStdString())});
    QVERIFY(shown.dialog.isVisible());
    QVERIFY(field->hasFocus() || widget->hasFocus());
    QCOMPARE(field->selectedText(), typed);
    RunningProgram::click(shown.dialog.findChild<QPushButton*>("cancelButton"));
    QCOMPARE(shown.dialog.result(), int{QDialog::Rejected});
    QVERIFY(shown.dialog.settings() == kSetUp);
  }

  void editGivesTheSettingsOfOkOnly_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("taken");
    QTest::newRow("Enter is OK") << int{Qt::Key_Return} << true;
    QTest::newRow("Escape is Annulla") << int{Qt::Key_Escape} << false;
  }

  void editGivesTheSettingsOfOkOnly() {
    QFETCH(int, key);
    QFETCH(bool, taken);
    QTimer::singleShot(0, [key] {
      auto* offset = QApplication::activeModalWidget()->findChild<QLineEdit*>("offset432");
      RunningProgram::type(offset, QStringLiteral("288"));
      QTest::keyClick(offset, static_cast<Qt::Key>(key));
    });
    vantor::testing::RecordingDialogs dialogs;
    const std::optional<StationSettings> edited =
        StationDialog::edit(nullptr, dialogs, {}, kRigs, kRotators);
    QVERIFY(edited == (taken ? std::optional(StationSettings{{}, {}, {{"432", 288'000'000}}})
                             : std::nullopt));
  }
};

QTEST_MAIN(StationDialogTest)
#include "station_dialog_test.moc"
