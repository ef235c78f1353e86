#include "gui/station_settings_store.h"

#include <QRegularExpression>
#include <QVariant>

#include <algorithm>
#include <climits>
#include <string>

#include "gui/field_binder.h"

namespace vantor::gui {

namespace {

const QString kRig = QStringLiteral("radio");
const QString kRotator = QStringLiteral("rotore");
const QString kTransverter = QStringLiteral("transverter");
const QString kModel = QStringLiteral("modello");
const QString kPort = QStringLiteral("porta");
const QString kSpeed = QStringLiteral("velocita");

std::optional<std::int64_t> numberOf(const QVariant& value) {
  bool ok = false;
  const qlonglong number = value.toString().trimmed().toLongLong(&ok);
  return ok ? std::optional<std::int64_t>(number) : std::nullopt;
}

// A model number or a speed: 0 for anything but a whole number that fits.
int positiveNumberOf(const QVariant& value) {
  const std::optional<std::int64_t> number = numberOf(value);
  return number && *number > 0 && *number <= INT_MAX ? static_cast<int>(*number) : 0;
}

QString codeOf(const catalogue::Band& band) {
  return QString::fromLatin1(band.code.data(), static_cast<qsizetype>(band.code.size()));
}

DeviceSettings loadDevice(QSettings& settings, const QString& group) {
  settings.beginGroup(group);
  DeviceSettings device;
  device.model = positiveNumberOf(settings.value(kModel));
  if (device.configured()) {
    device.port = toUtf8(settings.value(kPort).toString().trimmed());
    device.speed = positiveNumberOf(settings.value(kSpeed));
  }
  settings.endGroup();
  return device;
}

std::map<std::string, std::int64_t> loadOffsets(QSettings& settings) {
  std::map<std::string, std::int64_t> offsets;
  settings.beginGroup(kTransverter);
  for (const catalogue::Band& band : transverterBands()) {
    const std::optional<std::int64_t> hz = numberOf(settings.value(codeOf(band)));
    if (hz && *hz != 0 && *hz >= -kMaxTransverterOffsetHz && *hz <= kMaxTransverterOffsetHz) {
      offsets.emplace(band.code, *hz);
    }
  }
  settings.endGroup();
  return offsets;
}

void saveDevice(QSettings& settings, const QString& group, const DeviceSettings& device) {
  settings.remove(group);
  if (!device.configured()) {
    return;
  }
  settings.beginGroup(group);
  settings.setValue(kModel, device.model);
  settings.setValue(kPort, toQString(device.port));
  settings.setValue(kSpeed, device.speed);
  settings.endGroup();
}

void saveOffsets(QSettings& settings, const std::map<std::string, std::int64_t>& offsets) {
  settings.remove(kTransverter);
  settings.beginGroup(kTransverter);
  for (const auto& [code, hz] : offsets) {
    if (hz != 0) {
      settings.setValue(toQString(code), static_cast<qlonglong>(hz));
    }
  }
  settings.endGroup();
}

}  // namespace

StationSettings loadStationSettings(QSettings& settings) {
  return StationSettings{loadDevice(settings, kRig), loadDevice(settings, kRotator),
                         loadOffsets(settings)};
}

void saveStationSettings(QSettings& settings, const StationSettings& station) {
  saveDevice(settings, kRig, station.rig);
  saveDevice(settings, kRotator, station.rotator);
  saveOffsets(settings, station.transverterOffsets);
}

std::span<const catalogue::Band> transverterBands() {
  const auto last = std::find_if(catalogue::bands.begin(), catalogue::bands.end(),
                                 [](const catalogue::Band& band) { return band.code == "10G"; });
  return {catalogue::bands.begin(), last + 1};
}

std::optional<std::int64_t> offsetFromText(const QString& text) {
  static const QRegularExpression shape(
      QStringLiteral("^([+-]?)([0-9]{0,6})(?:[.,]([0-9]{0,6}))?$"));
  const QRegularExpressionMatch match = shape.match(text.trimmed());
  if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty())) {
    return std::nullopt;
  }
  const std::int64_t hz = match.captured(2).toLongLong() * 1'000'000 +
                          match.captured(3).leftJustified(6, QLatin1Char('0')).toLongLong();
  if (hz > kMaxTransverterOffsetHz) {
    return std::nullopt;
  }
  return match.captured(1) == QLatin1String("-") ? -hz : hz;
}

QString offsetText(std::int64_t hz) {
  const std::uint64_t magnitude =
      hz < 0 ? 0 - static_cast<std::uint64_t>(hz) : static_cast<std::uint64_t>(hz);
  QString text = QString::number(magnitude / 1'000'000);
  if (const std::uint64_t fraction = magnitude % 1'000'000; fraction != 0) {
    QString decimals = QString::number(fraction).rightJustified(6, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0'))) {
      decimals.chop(1);
    }
    text += QLatin1Char('.') + decimals;
  }
  return hz < 0 ? QLatin1Char('-') + text : text;
}

}  // namespace vantor::gui
