#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/file_system.h"

namespace vantor {

// What a hub remembers: the contest of the first station that asked it, kept in a file, so that a
// hub started again serves the same contest. Every station is answered with that contest's claim
// (its key and header): a station on another contest learns it is on the wrong hub, and a station
// joining with an empty log takes the header.
class HubKeeper {
 public:
  // `forget`: the contest kept is let go, and the next station's becomes the hub's.
  HubKeeper(platform::FileSystem& files, std::filesystem::path file, bool forget);

  // The answer to a station's claim; any thread.
  [[nodiscard]] std::string answer(const std::string& question);
  // The claim kept; empty while no station asked.
  [[nodiscard]] std::string kept() const;

 private:
  platform::FileSystem& m_files;
  std::filesystem::path m_file;
  mutable std::mutex m_mutex;
  std::string m_kept;
};

}  // namespace vantor
