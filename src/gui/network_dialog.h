#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>
#include <optional>

#include "app/club_network.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace vantor {
class Dialogs;
class Session;
}  // namespace vantor

namespace vantor::gui {

// "Rete": this PC's station name and the hub's address, and, while the contest is shared, the
// stations heard (their band, how long ago, their clock against this PC's, in red beyond 10 s),
// the hub's state and the messages not applied, shown again every second. OK keeps the dialog
// open with a box saying why while a setting is wrong. An empty name works alone.
class NetworkDialog : public QDialog {
  Q_OBJECT

 public:
  NetworkDialog(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

  // Shows the dialog over `parent` until it closes: the settings OK took, nothing after "Annulla".
  [[nodiscard]] static std::optional<NetworkSettings> edit(QWidget* parent, Session& session,
                                                           Dialogs& dialogs);

  [[nodiscard]] const NetworkSettings& settings() const { return m_settings; }
  void accept() override;
  // The stations and the state as they stand now.
  void showState();

 private:
  Session& m_session;
  Dialogs& m_dialogs;
  NetworkSettings m_settings;
  QLineEdit* m_station;
  QLineEdit* m_hub;
  QTableWidget* m_peers;
  QLabel* m_state;
  QTimer m_refresh;
};

// One line of the sharing's state for the log window; empty while the program works alone.
[[nodiscard]] QString networkSummary(Session& session);

}  // namespace vantor::gui
