#pragma once

#include <mutex>

namespace vantor::hamlib {

// Hamlib keeps its lists of backends in tables no lock guards, and rig_init and rot_init fill them
// as they load a backend. Every call that reads or loads them holds this lock. Taking it the first
// time also silences hamlib's debug output, which would otherwise go to standard error.
[[nodiscard]] std::unique_lock<std::mutex> lockBackends();

}  // namespace vantor::hamlib
