#include "contest/contact_time.h"

#include "contest/contact_rules.h"

namespace vantor {

namespace {

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void appendTwoDigits(std::string& text, int value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

// The days from 1 January 1970 to a day of the Gregorian calendar, before it negative.
std::int64_t daysFromEpoch(int year, int month, int day) {
  const std::int64_t shifted = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 399) / 400;
  const std::int64_t yearOfEra = shifted - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int twoDigitsAt(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
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

std::int64_t minuteOf(const DateTime& moment) {
  return daysFromEpoch(moment.year, moment.month, moment.day) * 24 * 60 + moment.hour * 60 +
         moment.minute;
}

DateTime momentOfMinute(std::int64_t minute) {
  const std::int64_t minutesPerDay = 24 * 60;
  const std::int64_t days = (minute >= 0 ? minute : minute - minutesPerDay + 1) / minutesPerDay;
  const std::int64_t ofDay = minute - days * minutesPerDay;
  // The inverse of daysFromEpoch.
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const std::int64_t dayOfEra = shifted - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  DateTime moment;
  moment.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  moment.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  moment.year = static_cast<int>(yearOfEra + era * 400 + (moment.month <= 2 ? 1 : 0));
  moment.hour = static_cast<int>(ofDay / 60);
  moment.minute = static_cast<int>(ofDay % 60);
  return moment;
}

std::optional<std::int64_t> recordMinute(std::string_view date, std::string_view time) {
  if (!isRealDate(date) || !isRealTime(time)) {
    return std::nullopt;
  }
  DateTime moment;
  moment.year = 2000 + twoDigitsAt(date, 0);
  moment.month = twoDigitsAt(date, 2);
  moment.day = twoDigitsAt(date, 4);
  moment.hour = twoDigitsAt(time, 0);
  moment.minute = twoDigitsAt(time, 2);
  return minuteOf(moment);
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
