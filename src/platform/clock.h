#pragma once

namespace vantor {

// A moment of a clock, to the second.
struct DateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The computer's clock, as local time and as UTC; tests pin it.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual DateTime now() const = 0;
  [[nodiscard]] virtual DateTime utcNow() const = 0;
};

}  // namespace vantor
