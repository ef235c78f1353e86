#include "gui/field_binder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_map>

#include "gui/log_text_view.h"
#include "gui/shown_lines.h"
#include "gui/view_check.h"

namespace vantor::gui {

namespace {

constexpr std::uint64_t kNeverShown = std::numeric_limits<std::uint64_t>::max();

QColor toQColor(Color color, QPalette::ColorRole fallback) {
  switch (color.kind) {
    case Color::Kind::Rgb:
      return QColor(color.red, color.green, color.blue);
    case Color::Kind::WindowText:
      return QApplication::palette().color(QPalette::WindowText);
    case Color::Kind::ButtonText:
      return QApplication::palette().color(QPalette::ButtonText);
  }
  return QApplication::palette().color(fallback);
}

void showColors(const Field& field, QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, toQColor(field.background(), QPalette::Base));
  palette.setColor(QPalette::Text, toQColor(field.textColor(), QPalette::Text));
  widget->setPalette(palette);
}

// The window's widget named after the control; LayoutError when there is none or it is no Widget.
template <typename Widget>
Widget* widgetFor(const Control& control, const QWidget& window) {
  const QString name = toQString(control.name());
  auto* found = window.findChild<QWidget*>(name);
  if (auto* widget = qobject_cast<Widget*>(found)) {
    return widget;
  }
  QString message =
      QStringLiteral("%1: no %2 named %3")
          .arg(window.objectName(), QLatin1StringView(Widget::staticMetaObject.className()), name);
  if (found != nullptr) {
    message +=
        QStringLiteral(" (found a %1)").arg(QLatin1StringView(found->metaObject()->className()));
  }
  throw LayoutError(toUtf8(message));
}

// A list whose text is one of its items has that item as its current one, so the arrow keys move
// from what the operator sees; any other text, "..." included, leaves no current item. A typed
// text equal to an item is so already current when the edit box loses the focus, and the list
// does not report it as a choice: only a choice from the drop-down is a pick.
void showListText(QComboBox* widget, const QString& text) {
  const int index = widget->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (widget->currentIndex() != index) {
    widget->setCurrentIndex(index);
  }
  if (widget->currentText() != text) {
    widget->setEditText(text);
  }
}

}  // namespace

QString toQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::size_t utf16ToByteOffset(const QString& text, int position) {
  return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

int byteToUtf16Offset(const std::string& text, std::size_t byteOffset) {
  const std::size_t bytes = std::min(byteOffset, text.size());
  return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)).size());
}

FieldBinder::FieldBinder(Form& form, std::function<void()> afterEvent, QObject* parent)
    : QObject(parent), m_form(form), m_afterEvent(std::move(afterEvent)) {}

void FieldBinder::bindAll(const QWidget& window) {
  for (Control* control : m_form.controls()) {
    bindControl(*control, window);
  }
  sync();
}

// Label and ListField are Fields, so they are told apart first.
void FieldBinder::bindControl(Control& control, const QWidget& window) {
  if (auto* label = dynamic_cast<Label*>(&control)) {
    bind(*label, widgetFor<QLabel>(control, window));
  } else if (auto* list = dynamic_cast<ListField*>(&control)) {
    bind(*list, widgetFor<QComboBox>(control, window));
  } else if (auto* field = dynamic_cast<Field*>(&control)) {
    if (field->multiLine()) {
      bind(*field, widgetFor<QPlainTextEdit>(control, window));
    } else {
      bind(*field, widgetFor<QLineEdit>(control, window));
    }
  } else if (auto* toggle = dynamic_cast<Toggle*>(&control)) {
    if (toggle->kind() == Toggle::Kind::CheckBox) {
      bind(*toggle, widgetFor<QCheckBox>(control, window));
    } else {
      bind(*toggle, widgetFor<QRadioButton>(control, window));
    }
  } else if (auto* button = dynamic_cast<Button*>(&control)) {
    bind(*button, widgetFor<QPushButton>(control, window));
  } else if (auto* choices = dynamic_cast<ChoiceList*>(&control)) {
    bind(*choices, widgetFor<QListWidget>(control, window));
  } else {
    throw std::logic_error(control.name() + " is a control no widget shows");
  }
}

template <typename ControlType, typename Widget>
void FieldBinder::add(const ControlType& control, Widget* widget, std::function<void()> show) {
  m_bindings.push_back(Binding{&control,
                               widget,
                               kNeverShown,
                               std::move(show),
                               [&control, widget] { return mismatch(control, *widget); },
                               {}});
}

void FieldBinder::checkWidgets() const {
  for (const Binding& binding : m_bindings) {
    const QString problem = binding.mismatch();
    if (!problem.isEmpty()) {
      qFatal("%s of %s: the control holds %s", qPrintable(binding.widget->objectName()),
             qPrintable(binding.widget->window()->objectName()), qPrintable(problem));
    }
  }
}

void FieldBinder::userEvent(const std::function<void()>& action) {
  action();
  m_afterEvent();
}

void FieldBinder::bind(Field& field, QLineEdit* widget) {
  // The fields take texts of any length: nothing the operator pastes is cut unseen.
  widget->setMaxLength(std::numeric_limits<int>::max());
  add(field, widget, [&field, widget] {
    const QString text = toQString(field.text());
    if (widget->text() != text) {
      widget->setText(text);
    }
    widget->setCursorPosition(byteToUtf16Offset(field.text(), field.caret()));
    widget->setReadOnly(field.locked());
    widget->setVisible(field.visible());
    showColors(field, widget);
  });
  connect(widget, &QLineEdit::textEdited, this, [this, &field, widget](const QString& text) {
    userEvent([&] { field.edit(toUtf8(text), utf16ToByteOffset(text, widget->cursorPosition())); });
  });
  // Return and the keypad's Enter alike.
  connect(widget, &QLineEdit::returnPressed, this,
          [this, &field] { userEvent([&] { field.enter(); }); });
}

// The texts a multi-line widget shows: the form may show several fields under its name in turn
// (the log of each band), and the widget keeps a document of its own for each, so that showing
// another is a swap of documents, not a new layout of its text.
struct FieldBinder::ShownTexts {
  struct Text {
    QTextDocument* document;
    ShownLines lines;
  };
  Field* field = nullptr;
  std::unordered_map<const Field*, Text> texts;

  [[nodiscard]] ShownLines& lines() { return texts.at(field).lines; }
};

void FieldBinder::bind(Field& field, QPlainTextEdit* widget) {
  // Tab moves on, as in every other field: a TAB character would break the records.
  widget->setTabChangesFocus(true);
  auto shown = std::make_shared<ShownTexts>();
  // The widget's own document would go when another is shown: each field's is the binder's.
  QTextDocument* first = newDocument(widget);
  widget->setDocument(first);
  shown->field = &field;
  shown->texts.emplace(&field, ShownTexts::Text{first, {}});
  followDocument(widget, shown);
  add(field, widget, [this, widget, shown] {
    m_showing = true;
    Field& current = *shown->field;
    shown->lines().show(*widget, current);
    widget->setReadOnly(current.locked());
    widget->setVisible(current.visible());
    showColors(current, widget);
    m_showing = false;
  });
  Binding& binding = m_bindings.back();
  binding.mismatch = [widget, shown] { return mismatch(*shown->field, *widget); };
  binding.follow = [this, widget, shown, name = field.name()]() -> const Control* {
    auto* now = dynamic_cast<Field*>(controlNamed(name));
    if (now != nullptr && now != shown->field) {
      switchText(widget, shown, *now);
    }
    return shown->field;
  };
  connect(widget, &QPlainTextEdit::textChanged, this, [this, widget, shown] {
    if (m_showing) {
      return;
    }
    const ShownLines::Edit edit = shown->lines().edited(*widget);
    userEvent([&] { shown->lines().apply(*shown->field, edit); });
  });
  if (auto* view = qobject_cast<LogTextView*>(widget)) {
    connect(view, &LogTextView::openRequested, this, [this, widget, shown] {
      openLine(*shown->field, widget->textCursor().blockNumber(), shown->lines());
    });
  }
}

Control* FieldBinder::controlNamed(const std::string& name) const {
  for (Control* control : m_form.controls()) {
    if (control->name() == name) {
      return control;
    }
  }
  return nullptr;
}

void FieldBinder::followDocument(QPlainTextEdit* widget, const std::shared_ptr<ShownTexts>& shown) {
  connect(widget->document(), &QTextDocument::contentsChange, this,
          [this, widget, shown](int position, int /*removed*/, int added) {
            if (!m_showing) {
              shown->lines().followChange(*widget, *shown->field, position, added);
            }
          });
}

// A document for the widget to show, laid out as its own; the widget keeps it, and no other
// document shown replaces it for good.
QTextDocument* FieldBinder::newDocument(QPlainTextEdit* widget) {
  auto* document = new QTextDocument(widget);
  document->setDocumentLayout(new QPlainTextDocumentLayout(document));
  document->setDefaultFont(widget->document()->defaultFont());
  document->setDocumentMargin(widget->document()->documentMargin());
  return document;
}

// The widget shows another field under its name: its own document, made the first time.
void FieldBinder::switchText(QPlainTextEdit* widget, const std::shared_ptr<ShownTexts>& shown,
                             Field& field) {
  shown->field = &field;
  auto found = shown->texts.find(&field);
  const bool made = found == shown->texts.end();
  if (made) {
    found = shown->texts.emplace(&field, ShownTexts::Text{newDocument(widget), {}}).first;
  }
  m_showing = true;
  widget->setDocument(found->second.document);
  m_showing = false;
  if (made) {
    followDocument(widget, shown);
  }
  // The next contact goes at the end.
  widget->moveCursor(QTextCursor::End);
}

// The line a block shows, when the widget shows the text line for line: the field opens what
// stands at its start.
void FieldBinder::openLine(Field& field, int block, const ShownLines& shown) {
  if (!shown.linesMatch()) {
    return;
  }
  const std::string& text = field.text();
  std::size_t start = 0;
  for (int line = 0; line < block && start != std::string::npos; ++line) {
    start = text.find(kLineEnd, start);
    start = start == std::string::npos ? start : start + kLineEnd.size();
  }
  if (start != std::string::npos) {
    userEvent([&] {
      field.setCaret(start);
      field.open();
    });
  }
}

void FieldBinder::bind(ListField& list, QComboBox* widget) {
  widget->setEditable(true);
  widget->setInsertPolicy(QComboBox::NoInsert);
  widget->setCompleter(nullptr);
  widget->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
  add(list, widget, [&list, widget] {
    QStringList items;
    for (const std::string& item : list.items()) {
      items.append(toQString(item));
    }
    QStringList shownItems;
    for (int i = 0; i < widget->count(); ++i) {
      shownItems.append(widget->itemText(i));
    }
    const QString text = toQString(list.text());
    if (shownItems != items) {
      widget->clear();
      widget->addItems(items);
    }
    showListText(widget, text);
    widget->lineEdit()->setCursorPosition(byteToUtf16Offset(list.text(), list.caret()));
    widget->setVisible(list.visible());
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, toQColor(list.background(), QPalette::Base));
    widget->setPalette(palette);
    widget->lineEdit()->setPalette(palette);
  });
  connect(
      widget->lineEdit(), &QLineEdit::textEdited, this, [this, &list, widget](const QString& text) {
        userEvent([&] {
          list.edit(toUtf8(text), utf16ToByteOffset(text, widget->lineEdit()->cursorPosition()));
        });
      });
  connect(widget, &QComboBox::activated, this, [this, &list](int index) {
    userEvent([&] { list.pick(static_cast<std::size_t>(index)); });
  });
}

// The choices as lines, the marked ones bold and red; the list never takes the focus, so the
// operator's keys stay in the field that fills it.
void FieldBinder::bind(ChoiceList& list, QListWidget* widget) {
  widget->setFocusPolicy(Qt::NoFocus);
  add(list, widget, [&list, widget] {
    widget->clear();
    for (const Choice& choice : list.choices()) {
      auto* item = new QListWidgetItem(toQString(choice.text), widget);
      if (choice.marked) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        item->setForeground(Qt::red);
      }
    }
    widget->setCurrentRow(list.current() ? static_cast<int>(*list.current()) : -1);
    if (list.current()) {
      widget->scrollToItem(widget->currentItem());
    }
    widget->setVisible(list.visible());
  });
  connect(widget, &QListWidget::itemClicked, this, [this, &list, widget](QListWidgetItem* item) {
    userEvent([&] { list.take(static_cast<std::size_t>(widget->row(item))); });
  });
}

void FieldBinder::bind(const Label& label, QLabel* widget) {
  widget->setTextFormat(Qt::PlainText);
  add(label, widget, [&label, widget] {
    widget->setText(toQString(label.text()));
    widget->setVisible(label.visible());
  });
}

void FieldBinder::bind(Toggle& toggle, QAbstractButton* widget) {
  widget->setAutoExclusive(false);
  widget->setText(toQString(toggle.caption()));
  add(toggle, widget, [&toggle, widget] {
    widget->setChecked(toggle.checked());
    widget->setVisible(toggle.visible());
  });
  connect(widget, &QAbstractButton::clicked, this, [this, &toggle, widget] {
    userEvent([&] {
      toggle.click();
      // Qt flips the button whatever the click did; a selected option button stays selected.
      widget->setChecked(toggle.checked());
    });
  });
}

void FieldBinder::bind(Button& button, QPushButton* widget) {
  widget->setText(toQString(button.caption()));
  widget->setAutoDefault(false);
  widget->setDefault(false);
  add(button, widget, [&button, widget] { widget->setVisible(button.visible()); });
  connect(widget, &QPushButton::clicked, this,
          [this, &button] { userEvent([&] { button.press(); }); });
}

void FieldBinder::sync() {
  for (Binding& binding : m_bindings) {
    if (binding.follow) {
      const Control* now = binding.follow();
      if (now != binding.control) {
        binding.control = now;
        binding.shownRevision = kNeverShown;
      }
    }
    if (binding.shownRevision != binding.control->revision()) {
      binding.shownRevision = binding.control->revision();
      binding.show();
    }
  }
#ifdef VANTOR_VIEW_CHECKS
  checkWidgets();
#endif
  if (m_form.focusRevision() != m_shownFocusRevision) {
    m_shownFocusRevision = m_form.focusRevision();
    for (const Binding& binding : m_bindings) {
      if (binding.control == m_form.focusRequest()) {
        binding.widget->setFocus();
      }
    }
  }
}

}  // namespace vantor::gui
