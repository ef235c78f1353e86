#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/durable_file.h"
#include "platform/file_system.h"

namespace vantor {

// The messages of an event file, and how many of its bytes hold whole ones: each is its length in
// decimal digits, a line end, its bytes and a line end. A power cut can leave a part of the last.
struct StoredEvents {
  std::vector<std::string> payloads;
  std::size_t wholeBytes = 0;
};
[[nodiscard]] StoredEvents readStoredEvents(std::string_view text);
[[nodiscard]] std::string storedEvent(std::string_view payload);

// The events of a shared contest a station took, its own and the others', kept on the disk beside
// the journal: a station cut off and restarted still holds every contact it ever saw.
class EventStore {
 public:
  // Opens the file, made if missing, and gives the events it holds. A part of an event left by a
  // power cut is cut off (the file written anew durably without it).
  [[nodiscard]] std::error_code open(platform::FileSystem& files, const std::filesystem::path& path,
                                     std::vector<std::string>& payloads);
  [[nodiscard]] std::error_code append(std::string_view payload);
  // What was appended reaches the disk.
  [[nodiscard]] std::error_code sync();

 private:
  platform::AppendOnlyFile m_file;
};

}  // namespace vantor
