#pragma once

#include <chrono>
#include <cstdint>

namespace vantor {

// This PC's clock in milliseconds: UTC, which stations compare, and the steady clock, which
// measures how long ago something was heard.
[[nodiscard]] inline std::int64_t utcMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

[[nodiscard]] inline std::int64_t steadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace vantor
