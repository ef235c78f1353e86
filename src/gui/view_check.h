#pragma once

#include <QString>

#include "form/button.h"
#include "form/choice_list.h"
#include "form/field.h"
#include "form/label.h"
#include "form/list_field.h"
#include "form/toggle.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vantor::gui {

// What a widget shows that its control does not hold, or an empty text when the two agree: the
// text, the checked state, the items and the current one, the visibility and the locked state.
// The debug and CI builds check every widget after every sync, so a window can never drift from
// its screen unseen.
QString mismatch(const Field& field, const QLineEdit& widget);
QString mismatch(const Field& field, const QPlainTextEdit& widget);
QString mismatch(const ListField& list, const QComboBox& widget);
QString mismatch(const Label& label, const QLabel& widget);
QString mismatch(const Toggle& toggle, const QAbstractButton& widget);
QString mismatch(const Button& button, const QPushButton& widget);
QString mismatch(const ChoiceList& list, const QListWidget& widget);

}  // namespace vantor::gui
