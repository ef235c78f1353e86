// The station's settings kept in an INI file and read back, and the transverter offsets as the
// operator types and reads them.

#include <QSettings>
#include <QTest>

#include <cstdint>
#include <fstream>
#include <optional>

#include "gui/station_settings_store.h"
#include "support/temp_folder.h"

using vantor::StationSettings;
using vantor::testing::TempFolder;
using Hz = std::optional<std::int64_t>;

Q_DECLARE_METATYPE(StationSettings)
Q_DECLARE_METATYPE(Hz)

namespace {

QString iniPath(const TempFolder& folder) {
  return QString::fromStdString((folder.path() / "vantor.ini").string());
}

StationSettings loaded(const TempFolder& folder) {
  QSettings settings(iniPath(folder), QSettings::IniFormat);
  return vantor::gui::loadStationSettings(settings);
}

void save(const TempFolder& folder, const StationSettings& station) {
  QSettings settings(iniPath(folder), QSettings::IniFormat);
  vantor::gui::saveStationSettings(settings, station);
}

}  // namespace

class StationSettingsStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void readsBackWhatItKept_data() {
    QTest::addColumn<StationSettings>("station");
    QTest::newRow("nothing configured") << StationSettings{};
    QTest::newRow("both, a model hamlib does not list, offsets either way")
        << StationSettings{{3081, "/dev/serial/by-id/usb-CP2102 ponte, è-if00", 19200},
                           {987654, "127.0.0.1:4533", 0},
                           {{"50", -94'000'000}, {"1296", 1'152'000'001}, {"10G", 9'936'000'000}}};
  }

  void readsBackWhatItKept() {
    QFETCH(StationSettings, station);
    const TempFolder folder;
    save(folder, station);
    QVERIFY(loaded(folder) == station);
  }

  // Saving again leaves nothing of what was there, and the program's other settings stay.
  void savingReplacesOnlyItsOwnGroups() {
    const TempFolder folder;
    QSettings(iniPath(folder), QSettings::IniFormat).setValue("finestre/log", "100,100");
    save(folder, {{3081, "/dev/ttyUSB0", 0}, {601, "/dev/ttyS0", 0}, {{"432", 288'000'000}}});
    save(folder, {{}, {}, {{"144", 1}}});
    QCOMPARE(QSettings(iniPath(folder), QSettings::IniFormat).allKeys(),
             (QStringList{"finestre/log", "transverter/144"}));
  }

  void readsDamagedValuesAsNotConfigured_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<StationSettings>("station");
    QTest::newRow("a model's name")
        << QByteArray("[radio]\nmodello=IC-9700\nporta=/dev/ttyUSB0") << StationSettings{};
    QTest::newRow("a list of models")
        << QByteArray("[radio]\nmodello=3081, 3073\nporta=/dev/ttyUSB0") << StationSettings{};
    QTest::newRow("a port without a model")
        << QByteArray("[rotore]\nporta=/dev/ttyS0") << StationSettings{};
    QTest::newRow("bytes of no text")
        << QByteArray("\xff\xfe\0[radio]\x01=\xc3", 12) << StationSettings{};
    QTest::newRow("a speed of no number keeps the rig")
        << QByteArray("[radio]\nmodello=3081\nporta=/dev/ttyUSB0\nvelocita=-9600")
        << StationSettings{{3081, "/dev/ttyUSB0", 0}, {}, {}};
    QTest::newRow("only whole Hz of a known band within 100 GHz")
        << QByteArray(
               "[transverter]\n432=288MHz\n24G=23000000000\n2320=2.3e9\n"
               "5700=100000000001\n1296=1152000000")
        << StationSettings{{}, {}, {{"1296", 1'152'000'000}}};
  }

  void readsDamagedValuesAsNotConfigured() {
    QFETCH(QByteArray, ini);
    QFETCH(StationSettings, station);
    const TempFolder folder;
    std::ofstream(folder.path() / "vantor.ini", std::ios::binary).write(ini.data(), ini.size());
    QVERIFY(loaded(folder) == station);
  }

  void readsOffsetsAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Hz>("hz");
    QTest::newRow("a decimal comma, blanks around") << " 288,5 " << Hz(288'500'000);
    QTest::newRow("no whole part, a sign") << "-,25" << Hz(-250'000);
    QTest::newRow("nothing after the comma") << "288," << Hz(288'000'000);
    QTest::newRow("a sign alone") << "-" << Hz();
    QTest::newRow("below the Hz") << "0,0000001" << Hz();
    QTest::newRow("beyond 100 GHz") << "100000,000001" << Hz();
    QTest::newRow("both separators") << "1,2.3" << Hz();
    QTest::newRow("with its unit") << "288 MHz" << Hz();
    QTest::newRow("an exponent") << "2.88e2" << Hz();
    QTest::newRow("digits of another script") << "\u0662\u0668\u0668" << Hz();
  }

  void readsOffsetsAsTyped() {
    QFETCH(QString, typed);
    QFETCH(Hz, hz);
    QCOMPARE(vantor::gui::offsetFromText(typed), hz);
  }

  // What the dialog shows, typed again, is the same offset.
  void showsOffsetsAsTheyAreTyped() {
    const std::pair<std::int64_t, const char*> offsets[] = {
        {288'000'000, "288"}, {-500'000, "-0.5"}, {1, "0.000001"}, {100'000'000'000, "100000"}};
    for (const auto& [hz, text] : offsets) {
      QCOMPARE(vantor::gui::offsetText(hz), QString::fromLatin1(text));
      QCOMPARE(vantor::gui::offsetFromText(QString::fromLatin1(text)), Hz(hz));
    }
  }
};

QTEST_MAIN(StationSettingsStoreTest)
#include "station_settings_store_test.moc"
