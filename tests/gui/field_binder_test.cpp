#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <vector>

#include "form/field.h"
#include "form/form.h"
#include "form/label.h"
#include "form/toggle.h"
#include "gui/field_binder.h"

namespace {

class NoteForm : public vantor::Form {
 public:
  vantor::Field callsign{"Text1"};
  vantor::Label note{"Label1"};
  vantor::Toggle plusOne{"Option1", "+1 GMT", vantor::Toggle::Kind::OptionButton};

  std::vector<vantor::Control*> controls() override { return {&callsign, &note, &plusOne}; }
};

template <typename Widget>
void add(QWidget& window, const char* name) {
  (new Widget(&window))->setObjectName(QString::fromLatin1(name));
}

}  // namespace

class FieldBinderTest : public QObject {
  Q_OBJECT

 private slots:
  void refusesALayoutThatDoesNotMatchItsForm() {
    struct Case {
      std::function<void(QWidget&)> layout;
      QString error;  // empty: the layout matches
    };
    const std::vector<Case> cases = {
        {[](QWidget& w) {
           add<QLineEdit>(w, "Text1");
           add<QLabel>(w, "Label1");
           add<QRadioButton>(w, "Option1");
         },
         {}},
        {[](QWidget& w) {
           add<QLineEdit>(w, "Text1");
           add<QRadioButton>(w, "Option1");
         },
         QStringLiteral("NoteWindow: no QLabel named Label1")},
        {[](QWidget& w) {
           add<QLineEdit>(w, "Text1");
           add<QLineEdit>(w, "Label1");
           add<QRadioButton>(w, "Option1");
         },
         QStringLiteral("NoteWindow: no QLabel named Label1 (found a QLineEdit)")},
        {[](QWidget& w) {
           add<QLineEdit>(w, "Text1");
           add<QLabel>(w, "Label1");
           add<QCheckBox>(w, "Option1");
         },
         QStringLiteral("NoteWindow: no QRadioButton named Option1 (found a QCheckBox)")},
    };
    for (const Case& c : cases) {
      NoteForm form;
      QWidget window;
      window.setObjectName(QStringLiteral("NoteWindow"));
      c.layout(window);
      vantor::gui::FieldBinder binder(form, [] {});
      QString error;
      try {
        binder.bindAll(window);
      } catch (const vantor::gui::LayoutError& layoutError) {
        error = QString::fromUtf8(layoutError.what());
      }
      QCOMPARE(error, c.error);
    }
  }
};

QTEST_MAIN(FieldBinderTest)
#include "field_binder_test.moc"
