#include "contest/contact_time.h"

namespace vantor {

namespace {

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void appendTwoDigits(std::string& text, int value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

}  // namespace

int daysInMonth(int year, int month) {
  switch (month) {
    case 2:
      return isLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

DateTime hoursEarlier(DateTime moment, int hours) {
  moment.hour -= hours;
  while (moment.hour < 0) {
    moment.hour += 24;
    if (--moment.day < 1) {
      if (--moment.month < 1) {
        moment.month = 12;
        --moment.year;
      }
      moment.day = daysInMonth(moment.year, moment.month);
    }
  }
  return moment;
}

DateTime referenceMoment(const Clock& clock, TimeReference reference) {
  switch (reference) {
    case TimeReference::LocalLessOne:
      return hoursEarlier(clock.now(), 1);
    case TimeReference::LocalLessTwo:
      return hoursEarlier(clock.now(), 2);
    case TimeReference::Utc:
      break;
  }
  return clock.utcNow();
}

std::string clockText(const DateTime& moment) {
  std::string text;
  appendTwoDigits(text, moment.hour);
  text += ':';
  appendTwoDigits(text, moment.minute);
  text += ':';
  appendTwoDigits(text, moment.second);
  return text;
}

std::string timeText(const DateTime& moment) {
  std::string text;
  appendTwoDigits(text, moment.hour);
  appendTwoDigits(text, moment.minute);
  return text;
}

std::string dateText(const DateTime& moment) {
  std::string text;
  appendTwoDigits(text, moment.year % 100);
  appendTwoDigits(text, moment.month);
  appendTwoDigits(text, moment.day);
  return text;
}

}  // namespace vantor
