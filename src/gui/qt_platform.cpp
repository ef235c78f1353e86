#include "gui/qt_platform.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>

#include "gui/field_binder.h"

namespace vantor::gui {

namespace {

DateTime dateTimeOf(const QDateTime& moment) {
  return DateTime{moment.date().year(), moment.date().month(),  moment.date().day(),
                  moment.time().hour(), moment.time().minute(), moment.time().second()};
}

}  // namespace

DateTime SystemClock::now() const {
  return dateTimeOf(QDateTime::currentDateTime());
}

DateTime SystemClock::utcNow() const {
  return dateTimeOf(QDateTime::currentDateTimeUtc());
}

void MessageBoxDialogs::showMessage(const Message& message) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(message.title ? toQString(*message.title) : QApplication::applicationName());
  box.setIcon(message.icon == Message::Icon::Information ? QMessageBox::Information
                                                         : QMessageBox::NoIcon);
  box.setText(toQString(message.text));
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool MessageBoxDialogs::ask(const std::string& question, Answer byDefault) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QApplication::applicationName());
  box.setIcon(QMessageBox::Question);
  box.setText(toQString(question));
  QPushButton* yes = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
  box.setDefaultButton(byDefault == Answer::Yes ? yes : no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace vantor::gui
