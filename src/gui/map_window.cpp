#include "gui/map_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/map_canvas.h"
#include "gui/rate_canvas.h"

namespace vantor::gui {

namespace {

// Where the window's place and size are kept.
const QString kGeometryKey = QStringLiteral("mappa/geometria");
// GSHHG's low resolution: a coast to a few kilometres, some 100,000 points.
constexpr char kCoastResolution = 'l';

}  // namespace

MapWindow::MapWindow(LogForm& log, QSettings* settings)
    : QWidget(nullptr, Qt::Window),
      m_coast(readCoastlines(kCoastlineFolder, kCoastResolution)),
      m_model(log),
      m_rate(log),
      m_settings(settings),
      m_canvas(new MapCanvas(m_model, m_coast ? &*m_coast : nullptr)),
      m_rateCanvas(new RateCanvas(m_rate)),
      m_tabs(new QTabWidget),
      m_status(new QLabel) {
  setObjectName(QStringLiteral("mapWindow"));
  setWindowTitle(QStringLiteral("Mappa"));
  setAttribute(Qt::WA_DeleteOnClose);
  m_canvas->setObjectName(QStringLiteral("mapCanvas"));
  m_rateCanvas->setObjectName(QStringLiteral("rateCanvas"));
  m_tabs->setObjectName(QStringLiteral("mapTabs"));
  m_status->setObjectName(QStringLiteral("mapStatus"));
  m_tabs->addTab(m_canvas, QStringLiteral("Mappa"));
  m_tabs->addTab(m_rateCanvas, QStringLiteral("Ritmo"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(buildButtons());
  layout->addWidget(m_tabs, 1);
  m_canvas->onTell([this](const QString& text) { m_status->setText(text); });
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] { sync(); });
  resize(760, 620);
  if (m_settings != nullptr) {
    restoreGeometry(m_settings->value(kGeometryKey).toByteArray());
  }
  sync();
}

MapWindow::~MapWindow() = default;

QWidget* MapWindow::buildButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const auto add = [&](const char* name, const QString& text, const QString& tip, auto action) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, action);
    layout->addWidget(button);
  };
  add("homeButton", QStringLiteral("Casa"), QStringLiteral("Il locatore di casa al centro (Home)"),
      [this] { m_canvas->goHome(); });
  add("zoomInButton", QStringLiteral("+"), QStringLiteral("Ingrandisce (+ o la rotella)"),
      [this] { m_canvas->zoom(1); });
  add("zoomOutButton", QStringLiteral("−"), QStringLiteral("Rimpicciolisce (- o la rotella)"),
      [this] { m_canvas->zoom(-1); });
  m_status->setText(QStringLiteral(
      "Trascinare per spostare la mappa; un clic gira l'antenna in quella direzione"));
  layout->addWidget(m_status, 1);
  return row;
}

void MapWindow::sync() {
  if (m_tabs->currentWidget() == m_canvas) {
    m_canvas->sync();
  } else {
    m_rateCanvas->sync();
  }
}

void MapWindow::closeEvent(QCloseEvent* event) {
  if (m_settings != nullptr) {
    m_settings->setValue(kGeometryKey, saveGeometry());
  }
  QWidget::closeEvent(event);
}

}  // namespace vantor::gui
