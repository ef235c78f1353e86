#pragma once

#include <string>

#include "platform/clock.h"

namespace vantor {

// The days of `month` (1 to 12) of `year`, 29 for February of a leap year.
[[nodiscard]] int daysInMonth(int year, int month);

// The same moment `hours` earlier, across day, month and year ends (leap years included). The
// automatic time uses it to take the clock's offset from GMT off the local time.
[[nodiscard]] DateTime hoursEarlier(DateTime moment, int hours);

// Where the automatic time is read: the clock's UTC, or its local time less the one or two hours
// the operator names as the computer's offset from GMT.
enum class TimeReference { Utc, LocalLessOne, LocalLessTwo };

// The moment the automatic time writes for a contact made now.
[[nodiscard]] DateTime referenceMoment(const Clock& clock, TimeReference reference);

// The ticking clock's form: "09:05:07".
[[nodiscard]] std::string clockText(const DateTime& moment);

// The time field's form: hour and minute with two digits each, "0905".
[[nodiscard]] std::string timeText(const DateTime& moment);

// The date field's form: year, month and day with two digits each, "261207".
[[nodiscard]] std::string dateText(const DateTime& moment);

}  // namespace vantor
