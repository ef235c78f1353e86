#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// A moment to the minute, as the minutes since 1 January 1970, so that the contacts of the last
// minutes are found by a subtraction.
[[nodiscard]] std::int64_t minuteOf(const DateTime& moment);
// The moment of minuteOf's count, its seconds 0.
[[nodiscard]] DateTime momentOfMinute(std::int64_t minute);
// The moment of a record's date and time (yymmdd, hhmm); nothing when either is no real one.
[[nodiscard]] std::optional<std::int64_t> recordMinute(std::string_view date,
                                                       std::string_view time);

// The ticking clock's form: "09:05:07".
[[nodiscard]] std::string clockText(const DateTime& moment);

// The time field's form: hour and minute with two digits each, "0905".
[[nodiscard]] std::string timeText(const DateTime& moment);

// The date field's form: year, month and day with two digits each, "261207".
[[nodiscard]] std::string dateText(const DateTime& moment);

}  // namespace vantor
