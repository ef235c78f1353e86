#include "net/event_store.h"

#include <charconv>

#include "net/net_event.h"

namespace vantor {

StoredEvents readStoredEvents(std::string_view text) {
  StoredEvents stored;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    std::size_t length = 0;
    if (end == std::string_view::npos || end == at || end - at > 5 ||
        (end - at > 1 && text[at] == '0')) {
      break;
    }
    const auto [last, error] = std::from_chars(text.data() + at, text.data() + end, length);
    if (error != std::errc{} || last != text.data() + end || length > kLongestMessage ||
        text.size() - end - 1 < length + 1 || text[end + 1 + length] != '\n') {
      break;
    }
    stored.payloads.emplace_back(text.substr(end + 1, length));
    at = end + 2 + length;
    stored.wholeBytes = at;
  }
  return stored;
}

std::string storedEvent(std::string_view payload) {
  std::string stored = std::to_string(payload.size());
  stored.append("\n").append(payload).append("\n");
  return stored;
}

std::error_code EventStore::open(platform::FileSystem& files, const std::filesystem::path& path,
                                 std::vector<std::string>& payloads) {
  std::string text;
  if (const auto error = platform::readWholeFile(files, path, text);
      error && error != std::errc::no_such_file_or_directory) {
    return error;
  }
  StoredEvents stored = readStoredEvents(text);
  payloads = std::move(stored.payloads);
  const std::string_view whole = std::string_view(text).substr(0, stored.wholeBytes);
  return platform::replaceDurably(files, path, {whole}, platform::FileAccess::Private, &m_file);
}

std::error_code EventStore::append(std::string_view payload) {
  return m_file.append(storedEvent(payload));
}

std::error_code EventStore::sync() {
  return m_file.sync();
}

}  // namespace vantor
