#include "gui/network_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/session.h"
#include "gui/field_binder.h"
#include "net/net_clock.h"
#include "platform/dialogs.h"

namespace vantor::gui {
namespace {

QString secondsText(std::int64_t ms) {
  const std::int64_t seconds = ms / 1000;
  return (seconds > 0 ? QStringLiteral("+") : QString()) + QString::number(seconds) +
         QStringLiteral(" s");
}

// The hub's state and the messages not applied.
QString stateText(ClubNetwork& network) {
  ClubStation* club = network.club();
  if (!network.problem().empty()) {
    return toQString(network.problem());
  }
  if (club == nullptr) {
    return QStringLiteral("In avvio…");
  }
  QString text =
      club->hubAgrees() ? QStringLiteral("Hub collegato") : QStringLiteral("Hub assente");
  const RejectedMessages& rejected = club->rejected();
  if (rejected.total() > 0) {
    text += QStringLiteral(
                " · messaggi scartati: %1 illeggibili, %2 di altri contest, %3 con "
                "nome sbagliato")
                .arg(rejected.unreadable)
                .arg(rejected.otherContest)
                .arg(rejected.wrongStation);
  }
  return text;
}

}  // namespace

NetworkDialog::NetworkDialog(Session& session, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_settings(session.network() ? session.network()->settings() : NetworkSettings{}),
      m_station(new QLineEdit(toQString(m_settings.station), this)),
      m_hub(new QLineEdit(toQString(m_settings.hubAddress), this)),
      m_peers(new QTableWidget(0, 4, this)),
      m_state(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Rete"));
  m_station->setObjectName(QStringLiteral("stationName"));
  m_hub->setObjectName(QStringLiteral("hubAddress"));
  m_peers->setObjectName(QStringLiteral("peers"));
  m_state->setObjectName(QStringLiteral("netState"));
  m_station->setPlaceholderText(QStringLiteral("144, 432-B… (vuoto: da sola)"));
  m_hub->setPlaceholderText(QStringLiteral("indirizzo del PC del hub, es. 192.168.1.10"));
  m_peers->setHorizontalHeaderLabels({QStringLiteral("Stazione"), QStringLiteral("Banda"),
                                      QStringLiteral("Sentita"), QStringLiteral("Orologio")});
  m_peers->horizontalHeader()->setStretchLastSection(true);
  m_peers->verticalHeader()->hide();
  m_peers->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_peers->setFocusPolicy(Qt::NoFocus);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Nome di questa stazione"), m_station);
  form->addRow(QStringLiteral("Hub"), m_hub);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
  connect(buttons, &QDialogButtonBox::accepted, this, &NetworkDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &NetworkDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_peers);
  layout->addWidget(m_state);
  layout->addWidget(buttons);
  resize(480, 300);
  m_refresh.setInterval(1000);
  connect(&m_refresh, &QTimer::timeout, this, &NetworkDialog::showState);
  m_refresh.start();
  showState();
}

std::optional<NetworkSettings> NetworkDialog::edit(QWidget* parent, Session& session,
                                                   Dialogs& dialogs) {
  NetworkDialog dialog(session, dialogs, parent);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.settings();
}

void NetworkDialog::accept() {
  NetworkSettings typed;
  typed.station = toUtf8(m_station->text().trimmed().toUpper());
  typed.hubAddress = toUtf8(m_hub->text().trimmed());
  if (const auto problem = networkSettingsProblem(typed)) {
    m_dialogs.showMessage(Message{*problem});
    (typed.station.empty() || isStationName(typed.station) ? m_hub : m_station)->setFocus();
    return;
  }
  m_settings = typed;
  QDialog::accept();
}

void NetworkDialog::showState() {
  ClubNetwork* network = m_session.network();
  ClubStation* club = network ? network->club() : nullptr;
  const std::vector<PeerState> peers = club ? club->peers() : std::vector<PeerState>{};
  m_peers->setRowCount(static_cast<int>(peers.size()));
  const std::int64_t now = utcMilliseconds();
  for (int row = 0; row < m_peers->rowCount(); ++row) {
    const PeerState& peer = peers[static_cast<std::size_t>(row)];
    const QStringList texts{toQString(peer.station), toQString(peer.band),
                            QStringLiteral("%1 s fa").arg((now - peer.heardAtMs) / 1000),
                            secondsText(peer.clockDifferenceMs)};
    for (int column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      if (column == 3 && peer.clockOff()) {
        item->setForeground(Qt::red);
      }
      m_peers->setItem(row, column, item);
    }
  }
  m_state->setText(network ? stateText(*network) : QStringLiteral("Da sola: nessuna rete"));
}

QString networkSummary(Session& session) {
  ClubNetwork* network = session.network();
  if (network == nullptr) {
    return {};
  }
  ClubStation* club = network->club();
  QString text = QStringLiteral("Rete, stazione %1: ").arg(toQString(network->settings().station));
  if (club == nullptr || !network->problem().empty()) {
    return text + stateText(*network);
  }
  text += stateText(*network);
  const std::int64_t now = utcMilliseconds();
  for (const PeerState& peer : club->peers()) {
    if (!peer.connected(now)) {
      continue;
    }
    text += QStringLiteral(" · %1").arg(toQString(peer.station));
    if (peer.clockOff()) {
      text += QStringLiteral(" (orologio %1!)").arg(secondsText(peer.clockDifferenceMs));
    }
  }
  return text;
}

}  // namespace vantor::gui
