#include "gui/start_window.h"

#include <QApplication>
#include <QPushButton>

namespace vantor::gui {

StartWindow::StartWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Vantor v1.04 - Karsel"));
  setFixedSize(654, 440);
  auto* closeButton = new QPushButton(QStringLiteral("Chiudi"), this);
  closeButton->setObjectName(QStringLiteral("Command2"));
  closeButton->setGeometry(472, 408, 57, 27);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace vantor::gui
