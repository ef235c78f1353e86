#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/button.h"
#include "form/choice_list.h"
#include "form/field.h"
#include "form/form.h"
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
class QTextDocument;
class QWidget;

namespace vantor::gui {

class ShownLines;

// A window whose layout does not match its form: a control without a widget of its name, or
// with one of a type that cannot show it. The message names the window, the control and the
// widget type it needs.
class LayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Connects the widgets of one window to the controls of its form. User events go to the form
// (typing to edit, a drop-down choice to pick, a click to press); after each event the
// afterEvent callback runs so every window can sync, and sync() brings each widget whose
// control changed in line with it.
class FieldBinder : public QObject {
 public:
  FieldBinder(Form& form, std::function<void()> afterEvent, QObject* parent = nullptr);

  // Binds every control of the form to the widget of the window whose objectName is the
  // control's name, and shows the controls; throws LayoutError when a widget is missing or of
  // the wrong type.
  void bindAll(const QWidget& window);

  // Brings every widget whose control changed since the last sync in line with it, and moves
  // the focus when the form asked for it.
  void sync();

  // An operator's action on the window that no control's widget takes (a key of the window's
  // own): it runs, then every window syncs.
  void userEvent(const std::function<void()>& action);

 private:
  struct Binding {
    const Control* control;
    QWidget* widget;
    std::uint64_t shownRevision;
    std::function<void()> show;
    // What the widget shows that the control does not hold; empty when they agree.
    std::function<QString()> mismatch;
    // For a widget that shows whichever control the form names so now: brings the widget to it,
    // and gives it.
    std::function<const Control*()> follow;
  };
  struct ShownTexts;

  void bindControl(Control& control, const QWidget& window);
  void bind(Field& field, QLineEdit* widget);
  void bind(Field& field, QPlainTextEdit* widget);
  void bind(ListField& list, QComboBox* widget);
  void bind(const Label& label, QLabel* widget);
  void bind(Toggle& toggle, QAbstractButton* widget);
  void bind(Button& button, QPushButton* widget);
  void bind(ChoiceList& list, QListWidget* widget);
  template <typename ControlType, typename Widget>
  void add(const ControlType& control, Widget* widget, std::function<void()> show);
  static QTextDocument* newDocument(QPlainTextEdit* widget);
  void followDocument(QPlainTextEdit* widget, const std::shared_ptr<ShownTexts>& shown);
  void switchText(QPlainTextEdit* widget, const std::shared_ptr<ShownTexts>& shown, Field& field);
  [[nodiscard]] Control* controlNamed(const std::string& name) const;
  void openLine(Field& field, int block, const ShownLines& shown);
  void checkWidgets() const;

  Form& m_form;
  std::function<void()> m_afterEvent;
  std::vector<Binding> m_bindings;
  std::uint64_t m_shownFocusRevision = 0;
  // Set while the binder itself writes into a multi-line widget, whose change signal cannot
  // tell the operator's typing from the program's.
  bool m_showing = false;
};

// Conversions between the core's UTF-8 texts and byte offsets and Qt's UTF-16 strings.
QString toQString(const std::string& text);
std::string toUtf8(const QString& text);
std::size_t utf16ToByteOffset(const QString& text, int position);
int byteToUtf16Offset(const std::string& text, std::size_t byteOffset);

}  // namespace vantor::gui
