#include "gui/log_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <tuple>
#include <utility>

#include "app/session.h"
#include "log/log_form.h"
#include "ui_log_window.h"

namespace vantor::gui {

LogWindow::LogWindow(Session& session, std::function<void()> afterEvent)
    : ScreenWindow(session, session.log(), std::move(afterEvent)),
      m_log(session.log()),
      m_ui(std::make_unique<Ui::LogWindow>()) {
  m_ui->setupUi(this);
  setFixedSize(size());
  paintBackdrop();
  binder().bindAll(*this);
  addKeys(session.log());
  connect(m_ui->stationButton, &QPushButton::clicked, this, [this] {
    if (m_editStation) {
      m_editStation();
    }
  });
  connect(m_ui->netButton, &QPushButton::clicked, this, [this] {
    if (m_editNetwork) {
      m_editNetwork();
    }
  });
  connect(m_ui->importButton, &QPushButton::clicked, this, [this] {
    if (m_importStations) {
      m_importStations();
    }
  });
  const auto showMap = [this] {
    if (m_showMap) {
      m_showMap();
    }
  };
  connect(m_ui->mapButton, &QPushButton::clicked, this, showMap);
  connect(new QShortcut(QKeySequence(Qt::Key_F9), this), &QShortcut::activated, this, showMap);
  m_ui->importProgress->setRange(0, 1000);
  m_ui->importProgress->hide();
  m_ui->Text9->installEventFilter(this);
}

// The line stands on the window's grey, below the red backdrop whose labels are white.
void LogWindow::showNetwork(const QString& summary) {
  if (m_ui->netStatus->text() != summary) {
    m_ui->netStatus->setText(summary);
    m_ui->netStatus->setStyleSheet(summary.contains(QLatin1Char('!'))
                                       ? QStringLiteral("color: #b00000")
                                       : QStringLiteral("color: #202020"));
  }
}

void LogWindow::showImportProgress(std::optional<int> thousandths) {
  m_ui->importProgress->setVisible(thousandths.has_value());
  m_ui->importButton->setEnabled(!thousandths);
  if (thousandths && m_ui->importProgress->value() != *thousandths) {
    m_ui->importProgress->setValue(*thousandths);
  }
}

// Tab in the locator field takes a suggested locator as the operator's, then moves on.
bool LogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_ui->Text9 && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
    binder().userEvent([this] { m_log.confirmSuggestion(); });
  }
  return ScreenWindow::eventFilter(watched, event);
}

// Wherever the focus is in the window: Ctrl+PgDn and Ctrl+PgUp log the next and the previous
// band of the contest, F12 turns the antenna and Shift+F12 stops it.
void LogWindow::addKeys(LogForm& log) {
  const std::pair<QKeyCombination, std::function<void()>> keys[] = {
      {Qt::CTRL | Qt::Key_PageDown, [&log] { log.stepBand(1); }},
      {Qt::CTRL | Qt::Key_PageUp, [&log] { log.stepBand(-1); }},
      {QKeyCombination(Qt::Key_F12), [&log] { log.turnButton.press(); }},
      {Qt::SHIFT | Qt::Key_F12, [&log] { log.stopButton.press(); }},
  };
  for (const auto& [combination, action] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(combination), this);
    connect(shortcut, &QShortcut::activated, this,
            [this, action = action] { binder().userEvent(action); });
  }
  // Up and Down walk the partial check in the call field and the known locators in the locator
  // field.
  const std::tuple<QWidget*, Qt::Key, std::function<void()>> fieldKeys[] = {
      {m_ui->Text6, Qt::Key_Down, [&log] { log.stepPartialCheck(1); }},
      {m_ui->Text6, Qt::Key_Up, [&log] { log.stepPartialCheck(-1); }},
      {m_ui->Text9, Qt::Key_Down, [&log] { log.stepSuggestion(1); }},
      {m_ui->Text9, Qt::Key_Up, [&log] { log.stepSuggestion(-1); }},
  };
  for (const auto& [widget, key, action] : fieldKeys) {
    auto* shortcut = new QShortcut(QKeySequence(key), widget, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, action = action] { binder().userEvent(action); });
  }
}

LogWindow::~LogWindow() = default;

// The red backdrop behind the fields, with white bold captions and white toggle texts on it. Set
// by palette and font, not by style sheet: a style sheet gives each of its widgets a style of its
// own, which made building this window several times slower.
void LogWindow::paintBackdrop() {
  const QColor backdrop(192, 0, 0);
  QPalette palette = m_ui->Picture1->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Window, backdrop);
  palette.setColor(QPalette::Button, backdrop);
  m_ui->Picture1->setPalette(palette);
  m_ui->Picture1->setAutoFillBackground(true);
  // Every caption drawn on the backdrop, and every box and option on it, white on red.
  for (QLabel* caption : findChildren<QLabel*>()) {
    if (caption != m_ui->Label1) {
      QFont font = caption->font();
      font.setBold(true);
      caption->setFont(font);
      caption->setPalette(palette);
    }
  }
  for (QAbstractButton* toggle : findChildren<QAbstractButton*>()) {
    if (qobject_cast<QCheckBox*>(toggle) != nullptr ||
        qobject_cast<QRadioButton*>(toggle) != nullptr) {
      toggle->setPalette(palette);
      toggle->setAutoFillBackground(true);
    }
  }
}

}  // namespace vantor::gui
