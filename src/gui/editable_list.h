#pragma once

#include <QComboBox>

namespace vantor::gui {

// A list the operator may also type into. It takes its edit box as it is built, without the
// drop-down view that making a list editable builds at once: the view waits for the list's first
// opening, which keeps three of them out of the program's start-up.
class EditableList : public QComboBox {
 public:
  explicit EditableList(QWidget* parent = nullptr);

  void showPopup() override;
};

}  // namespace vantor::gui
