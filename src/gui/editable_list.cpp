#include "gui/editable_list.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace vantor::gui {

EditableList::EditableList(QWidget* parent) : QComboBox(parent) {
  setLineEdit(new QLineEdit(this));
}

void EditableList::showPopup() {
  // A view built after the list became editable takes the scrolling of a fixed list in a style
  // that opens lists as menus; an editable list's view scrolls with a bar.
  view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QComboBox::showPopup();
}

}  // namespace vantor::gui
