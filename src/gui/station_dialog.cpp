#include "gui/station_dialog.h"

#include <QCollator>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <string_view>

#include "gui/field_binder.h"
#include "gui/station_settings_store.h"
#include "platform/dialogs.h"
#include "ui_station_dialog.h"

namespace vantor::gui {

namespace {

constexpr std::array<int, 9> kSpeeds{0, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QString textOf(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The serial ports of this computer: USB adapters, then USB modems, then the ports on the board,
// each in the order of their numbers.
QStringList serialPorts() {
  QCollator byNumber;
  byNumber.setNumericMode(true);
  const QDir devices(QStringLiteral("/dev"));
  QStringList ports;
  for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"}) {
    QStringList names =
        devices.entryList({QString::fromLatin1(pattern)}, QDir::System | QDir::Files);
    std::sort(names.begin(), names.end(), byNumber);
    for (const QString& name : names) {
      ports.append(devices.filePath(name));
    }
  }
  return ports;
}

void setUpModels(QComboBox* list, const std::vector<DeviceModel>& models, const QString& none,
                 int current) {
  list->addItem(none, 0);
  for (const DeviceModel& model : models) {
    list->addItem(QStringLiteral("%1 (%2)").arg(toQString(model.name)).arg(model.number),
                  model.number);
  }
  if (list->findData(current) < 0) {
    list->addItem(QStringLiteral("Modello %1").arg(current), current);
  }
  list->setCurrentIndex(list->findData(current));
  list->completer()->setFilterMode(Qt::MatchContains);
  list->completer()->setCompletionMode(QCompleter::PopupCompletion);
}

void setUpSpeeds(QComboBox* list, int current) {
  for (const int speed : kSpeeds) {
    list->addItem(speed == 0 ? QStringLiteral("predefinita") : QString::number(speed), speed);
  }
  if (list->findData(current) < 0) {
    list->addItem(QString::number(current), current);
  }
  list->setCurrentIndex(list->findData(current));
}

}  // namespace

StationDialog::StationDialog(const StationSettings& current, const std::vector<DeviceModel>& rigs,
                             const std::vector<DeviceModel>& rotators, Dialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent),
      m_dialogs(dialogs),
      m_settings(current),
      m_ui(std::make_unique<Ui::StationDialog>()) {
  m_ui->setupUi(this);
  m_rig = {.model = m_ui->rigModel,
           .port = m_ui->rigPort,
           .speed = m_ui->rigSpeed,
           .netModel = kNetRigctlModel,
           .netPort = QStringLiteral("127.0.0.1:4532"),
           .whose = QStringLiteral("della radio")};
  m_rotator = {.model = m_ui->rotatorModel,
               .port = m_ui->rotatorPort,
               .speed = m_ui->rotatorSpeed,
               .netModel = kNetRotctlModel,
               .netPort = QStringLiteral("127.0.0.1:4533"),
               .whose = QStringLiteral("del rotore")};
  setUpDevice(m_rig, rigs, QStringLiteral("Nessuna"), current.rig);
  setUpDevice(m_rotator, rotators, QStringLiteral("Nessuno"), current.rotator);
  addOffsets(current.transverterOffsets);
  connect(m_ui->okButton, &QPushButton::clicked, this, &StationDialog::accept);
  connect(m_ui->cancelButton, &QPushButton::clicked, this, &StationDialog::reject);
}

StationDialog::~StationDialog() = default;

std::optional<StationSettings> StationDialog::edit(QWidget* parent, Dialogs& dialogs,
                                                   const StationSettings& current,
                                                   const std::vector<DeviceModel>& rigs,
                                                   const std::vector<DeviceModel>& rotators) {
  StationDialog dialog(current, rigs, rotators, dialogs, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.settings();
}

void StationDialog::setUpDevice(const Device& device, const std::vector<DeviceModel>& models,
                                const QString& none, const DeviceSettings& current) {
  setUpModels(device.model, models, none, current.model);
  device.port->addItems(serialPorts());
  device.port->setCurrentIndex(-1);
  device.port->setEditText(toQString(current.port));
  setUpSpeeds(device.speed, current.speed);
  connect(device.model, &QComboBox::currentIndexChanged, this, [device] { modelPicked(device); });
}

void StationDialog::addOffsets(const std::map<std::string, std::int64_t>& current) {
  QWidget* previous = m_ui->rotatorSpeed;
  for (const catalogue::Band& band : transverterBands()) {
    auto* field = new QLineEdit(m_ui->transverterGroup);
    field->setObjectName(QStringLiteral("offset") + textOf(band.code));
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-100000,000000 ")));
    if (const auto offset = current.find(std::string(band.code)); offset != current.end()) {
      field->setText(offsetText(offset->second));
    }
    m_ui->offsets->addRow(textOf(band.item), field);
    setTabOrder(previous, field);
    previous = field;
    m_offsets.emplace_back(&band, field);
  }
  setTabOrder(previous, m_ui->okButton);
}

void StationDialog::modelPicked(const Device& device) {
  const QString port = device.port->currentText().trimmed();
  if (device.model->currentData().toInt() == device.netModel &&
      (port.isEmpty() || port.startsWith(QStringLiteral("/dev/")))) {
    device.port->setEditText(device.netPort);
  }
}

void StationDialog::accept() {
  const std::optional<DeviceSettings> rig = typedDevice(m_rig);
  if (!rig) {
    return;
  }
  const std::optional<DeviceSettings> rotator = typedDevice(m_rotator);
  if (!rotator) {
    return;
  }
  std::optional<std::map<std::string, std::int64_t>> offsets = typedOffsets();
  if (!offsets) {
    return;
  }
  m_settings = StationSettings{*rig, *rotator, std::move(*offsets)};
  QDialog::accept();
}

// The model the list shows (none when it shows nothing) with its port and speed; nothing, after
// the box saying why, when the list shows no model of its own or a model has no port.
std::optional<DeviceSettings> StationDialog::typedDevice(const Device& device) {
  const QString typed = device.model->currentText().trimmed();
  const int index = typed.isEmpty() ? 0 : device.model->findText(typed, Qt::MatchFixedString);
  if (index < 0) {
    refuse(device.model,
           QStringLiteral("Modello %1 non trovato: sceglierlo dall'elenco").arg(device.whose));
    return std::nullopt;
  }
  const int model = device.model->itemData(index).toInt();
  if (model == 0) {
    return DeviceSettings{};
  }
  const QString port = device.port->currentText().trimmed();
  if (port.isEmpty()) {
    refuse(device.port, QStringLiteral("Inserire la porta %1").arg(device.whose));
    return std::nullopt;
  }
  const int speed = model == device.netModel ? 0 : device.speed->currentData().toInt();
  return DeviceSettings{model, toUtf8(port), speed};
}

std::optional<std::map<std::string, std::int64_t>> StationDialog::typedOffsets() {
  std::map<std::string, std::int64_t> offsets;
  for (const auto& [band, field] : m_offsets) {
    if (field->text().trimmed().isEmpty()) {
      continue;
    }
    const std::optional<std::int64_t> hz = offsetFromText(field->text());
    if (!hz) {
      refuse(field, QStringLiteral("Transverter a %1 non valido: inserire i MHz da aggiungere, "
                                   "es. 288 o 288,5")
                        .arg(textOf(band->item)));
      return std::nullopt;
    }
    if (*hz != 0) {
      offsets.emplace(band->code, *hz);
    }
  }
  return offsets;
}

void StationDialog::refuse(QWidget* control, const QString& text) {
  m_dialogs.showMessage(Message{toUtf8(text)});
  control->setFocus();
  if (auto* list = qobject_cast<QComboBox*>(control); list != nullptr && list->isEditable()) {
    list->lineEdit()->selectAll();
  } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
    field->selectAll();
  }
}

}  // namespace vantor::gui
