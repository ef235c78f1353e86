#pragma once

#include <string>

#include "platform/clock.h"

namespace vantor {

// The days of `month` (1 to 12) of `year`, 29 for February of a leap year.
[[nodiscard]] int daysInMonth(int year, int month);

// The same moment `hours` earlier, across day, month and year ends (leap years included). The
// automatic time uses it to take the clock's offset from GMT off the local time.
[[nodiscard]] LocalDateTime hoursEarlier(LocalDateTime moment, int hours);

// The time field's form: hour and minute with two digits each, "0905".
[[nodiscard]] std::string timeText(const LocalDateTime& moment);

// The date field's form: year, month and day with two digits each, "261207".
[[nodiscard]] std::string dateText(const LocalDateTime& moment);

}  // namespace vantor
