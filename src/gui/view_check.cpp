#include "gui/view_check.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/field_binder.h"
#include "gui/shown_lines.h"

namespace vantor::gui {

namespace {

// A log longer than this is compared by its length only, so the check stays cheap.
constexpr std::size_t kLongestComparedText = 200000;

QString visibility(const Control& control, const QWidget& widget) {
  if (widget.isHidden() == control.visible()) {
    return QStringLiteral("visible %1, shown %2").arg(control.visible()).arg(!widget.isHidden());
  }
  return {};
}

QString texts(const QString& held, const QString& shown) {
  return held == shown ? QString() : QStringLiteral("text \"%1\", shown \"%2\"").arg(held, shown);
}

}  // namespace

QString mismatch(const Field& field, const QLineEdit& widget) {
  QString problem = texts(toQString(field.text()), widget.text());
  if (problem.isEmpty() && widget.isReadOnly() != field.locked()) {
    problem = QStringLiteral("locked %1, shown %2").arg(field.locked()).arg(widget.isReadOnly());
  }
  return problem.isEmpty() ? visibility(field, widget) : problem;
}

QString mismatch(const Field& field, const QPlainTextEdit& widget) {
  const QString held = asShown(field.text());
  const QString shown = shownText(widget);
  QString problem;
  if (field.text().size() > kLongestComparedText ? held.size() != shown.size() : held != shown) {
    problem =
        QStringLiteral("a text of %1 characters, shown %2").arg(held.size()).arg(shown.size());
  }
  return problem.isEmpty() ? visibility(field, widget) : problem;
}

QString mismatch(const ListField& list, const QComboBox& widget) {
  QString problem = texts(toQString(list.text()), widget.currentText());
  const int held = static_cast<int>(list.items().size());
  if (problem.isEmpty() && held != widget.count()) {
    problem = QStringLiteral("%1 items, shown %2").arg(held).arg(widget.count());
  }
  for (int i = 0; problem.isEmpty() && i < held; ++i) {
    problem = texts(toQString(list.items()[static_cast<std::size_t>(i)]), widget.itemText(i));
  }
  const int current =
      widget.findText(widget.currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (problem.isEmpty() && widget.currentIndex() != current) {
    problem = QStringLiteral("current item %1, shown %2").arg(current).arg(widget.currentIndex());
  }
  return problem.isEmpty() ? visibility(list, widget) : problem;
}

QString mismatch(const Label& label, const QLabel& widget) {
  const QString problem = texts(toQString(label.text()), widget.text());
  return problem.isEmpty() ? visibility(label, widget) : problem;
}

QString mismatch(const Toggle& toggle, const QAbstractButton& widget) {
  if (widget.isChecked() != toggle.checked()) {
    return QStringLiteral("checked %1, shown %2").arg(toggle.checked()).arg(widget.isChecked());
  }
  return visibility(toggle, widget);
}

QString mismatch(const Button& button, const QPushButton& widget) {
  return visibility(button, widget);
}

QString mismatch(const ChoiceList& list, const QListWidget& widget) {
  const std::vector<Choice>& choices = list.choices();
  if (static_cast<std::size_t>(widget.count()) != choices.size()) {
    return QStringLiteral("%1 choices, shown %2").arg(choices.size()).arg(widget.count());
  }
  for (std::size_t row = 0; row < choices.size(); ++row) {
    const QListWidgetItem* item = widget.item(static_cast<int>(row));
    const QString problem = texts(toQString(choices[row].text), item->text());
    if (!problem.isEmpty()) {
      return problem;
    }
    if (item->font().bold() != choices[row].marked) {
      return QStringLiteral("choice %1 marked %2").arg(row).arg(choices[row].marked);
    }
  }
  const int current = list.current() ? static_cast<int>(*list.current()) : -1;
  if (widget.currentRow() != current) {
    return QStringLiteral("current choice %1, shown %2").arg(current).arg(widget.currentRow());
  }
  return visibility(list, widget);
}

}  // namespace vantor::gui
