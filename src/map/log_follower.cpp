#include "map/log_follower.h"

#include "form/text.h"

namespace vantor {

LogStep LogFollower::follow(BandLog& log, const std::string& home) {
  const Field& buffer = log.buffer;
  const std::string_view text = buffer.text();
  LogStep step = LogStep::Whole;
  m_firstNew = 0;
  if (m_log == &log && m_home == home && m_rewrites == buffer.rewrites() && text.size() >= m_size) {
    // Only an append grows a text without rewriting it. Appended to a text that ended a line, it
    // begins on the empty last line; one that extended a line changed what that line was.
    if (text.size() == m_size) {
      step = LogStep::None;
    } else if (m_endsLine) {
      step = LogStep::Added;
      m_firstNew = m_lines > 0 ? m_lines - 1 : 0;
    }
  }
  m_log = &log;
  m_home = home;
  m_rewrites = buffer.rewrites();
  m_size = text.size();
  m_lines = log.document().lines().size();
  m_endsLine = text.empty() || text.ends_with(kLineEnd);
  return step;
}

}  // namespace vantor
