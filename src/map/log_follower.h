#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "log/band_log.h"

namespace vantor {

// How a band log changed since a picture of it last read it: not at all, only by lines added at
// its end (an insertion), or otherwise (a correction, a removal, an edit, another log, another
// home), when the picture reads it whole again.
enum class LogStep { None, Added, Whole };

// What a picture of a band log remembers of the log it read, so that it reads only what changed:
// no copy of the log, only its length and the count of its rewrites.
class LogFollower {
 public:
  // The step from the last reading to `log` measured from `home`; the log is then taken as read.
  LogStep follow(BandLog& log, const std::string& home);
  // After an Added step: the first line not read before.
  [[nodiscard]] std::size_t firstNewLine() const { return m_firstNew; }
  void forget() { m_log = nullptr; }

 private:
  const BandLog* m_log = nullptr;
  std::string m_home;
  std::uint64_t m_rewrites = 0;
  std::size_t m_size = 0;
  std::size_t m_lines = 0;
  bool m_endsLine = true;
  std::size_t m_firstNew = 0;
};

}  // namespace vantor
