#pragma once

namespace vantor {

// A moment of the computer's local clock, to the minute.
struct LocalDateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The local clock; tests pin it.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual LocalDateTime now() const = 0;
};

}  // namespace vantor
