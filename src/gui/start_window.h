#pragma once

#include <QWidget>

namespace vantor::gui {

// The program's first window: its caption and a "Chiudi" button that ends the program.
class StartWindow : public QWidget {
  Q_OBJECT

 public:
  explicit StartWindow(QWidget* parent = nullptr);
};

}  // namespace vantor::gui
