#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "header/contest_catalogue.h"
#include "station/station_settings.h"

class QComboBox;
class QLineEdit;

namespace Ui {
class StationDialog;
}

namespace vantor {
class Dialogs;
}

namespace vantor::gui {

// "Radio e rotore": the rig and the rotator hamlib drives and the transverter offset of each band.
// The models are the ones it is given, after "Nessuna" and "Nessuno"; typing part of a name
// offers the models holding it. The ports are the serial ones of this computer; picking a NET
// model puts its daemon's host:port in place of a serial port. OK keeps the dialog open with a
// box saying why while a model is not in the list, a configured device has no port or an offset
// is no number. Escape and the frame's close control are "Annulla".
class StationDialog : public QDialog {
  Q_OBJECT

 public:
  StationDialog(const StationSettings& current, const std::vector<DeviceModel>& rigs,
                const std::vector<DeviceModel>& rotators, Dialogs& dialogs,
                QWidget* parent = nullptr);
  ~StationDialog() override;

  // Shows the dialog over `parent` until it closes: the settings OK took, nothing after
  // "Annulla".
  [[nodiscard]] static std::optional<StationSettings> edit(
      QWidget* parent, Dialogs& dialogs, const StationSettings& current,
      const std::vector<DeviceModel>& rigs, const std::vector<DeviceModel>& rotators);

  // What OK took; until then the settings the dialog opened with.
  [[nodiscard]] const StationSettings& settings() const { return m_settings; }

  void accept() override;

 private:
  // The three lists of the rig or of the rotator, and what tells them apart.
  struct Device {
    QComboBox* model;
    QComboBox* port;
    QComboBox* speed;
    int netModel;
    QString netPort;  // the daemon's usual host:port
    QString whose;    // "della radio"
  };

  void setUpDevice(const Device& device, const std::vector<DeviceModel>& models,
                   const QString& none, const DeviceSettings& current);
  void addOffsets(const std::map<std::string, std::int64_t>& current);
  static void modelPicked(const Device& device);
  [[nodiscard]] std::optional<DeviceSettings> typedDevice(const Device& device);
  [[nodiscard]] std::optional<std::map<std::string, std::int64_t>> typedOffsets();
  void refuse(QWidget* control, const QString& text);

  Dialogs& m_dialogs;
  StationSettings m_settings;
  std::unique_ptr<Ui::StationDialog> m_ui;
  Device m_rig{};
  Device m_rotator{};
  std::vector<std::pair<const catalogue::Band*, QLineEdit*>> m_offsets;
};

}  // namespace vantor::gui
