#include "net/hub_keeper.h"

#include <variant>

#include "net/net_event.h"
#include "platform/durable_file.h"

namespace vantor {

HubKeeper::HubKeeper(platform::FileSystem& files, std::filesystem::path file, bool forget)
    : m_files(files), m_file(std::move(file)) {
  std::string text;
  if (!forget && !platform::readWholeFile(m_files, m_file, text, kLongestMessage) &&
      std::holds_alternative<ContestClaim>(decodeClaim(text))) {
    m_kept = std::move(text);
  }
}

std::string HubKeeper::answer(const std::string& question) {
  const std::lock_guard lock(m_mutex);
  if (m_kept.empty() && std::holds_alternative<ContestClaim>(decodeClaim(question))) {
    static_cast<void>(
        platform::replaceDurably(m_files, m_file, {question}, platform::FileAccess::Private));
    m_kept = question;
  }
  return m_kept;
}

std::string HubKeeper::kept() const {
  const std::lock_guard lock(m_mutex);
  return m_kept;
}

}  // namespace vantor
