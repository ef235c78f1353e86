#include "station/hamlib_access.h"

#include <hamlib/rig.h>

namespace vantor::hamlib {

std::unique_lock<std::mutex> lockBackends() {
  static std::mutex backends;
  static std::once_flag quiet;
  std::call_once(quiet, [] { rig_set_debug(RIG_DEBUG_NONE); });
  return std::unique_lock(backends);
}

}  // namespace vantor::hamlib
