#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_system.h"

namespace vantor::testing {

// The system's own file calls, with the faults a test asks for: a call on a file whose name starts
// with a given text fails with a given error, or a path's status tells of another file, as if
// the path had come to name another one. Every other call goes to the disk.
class FaultyFiles : public platform::FileSystem {
 public:
  enum class Call { open, read, write, sync, rename, status };

  // From now on `call` on a file whose name starts with `name` fails with `error`, `times` times
  // (always when 0). A call on a descriptor goes by the name it was opened under; a rename by
  // either of its names.
  void fail(Call call, std::string name, std::errc error, int times = 0) {
    m_faults.push_back(Fault{call, std::move(name), std::make_error_code(error), times});
  }
  // The file at `path` now looks replaced: its path names another file than the one a descriptor
  // opened under it holds, until a new file takes the path.
  void replaceUnseen(const std::filesystem::path& path) {
    platform::FileStatus status;
    static_cast<void>(FileSystem::status(path, status));
    m_replaced.push_back(Replaced{path, status.inode});
  }
  void clear() {
    m_faults.clear();
    m_replaced.clear();
  }
  // The calls that failed as asked, in order.
  [[nodiscard]] const std::vector<std::string>& failed() const { return m_failed; }

  std::error_code open(const std::filesystem::path& path, int flags, unsigned mode,
                       int& descriptor) override {
    if (const auto error = fault(Call::open, path)) {
      return error;
    }
    const std::error_code error = FileSystem::open(path, flags, mode, descriptor);
    if (!error) {
      m_opened[descriptor] = path;
    }
    return error;
  }
  std::error_code read(int descriptor, char* buffer, std::size_t size,
                       std::size_t& count) override {
    if (const auto error = fault(Call::read, m_opened[descriptor])) {
      count = 0;
      return error;
    }
    return FileSystem::read(descriptor, buffer, size, count);
  }
  std::error_code write(int descriptor, std::string_view bytes) override {
    if (const auto error = fault(Call::write, m_opened[descriptor])) {
      return error;
    }
    return FileSystem::write(descriptor, bytes);
  }
  std::error_code sync(int descriptor) override {
    if (const auto error = fault(Call::sync, m_opened[descriptor])) {
      return error;
    }
    return FileSystem::sync(descriptor);
  }
  std::error_code syncData(int descriptor) override {
    if (const auto error = fault(Call::sync, m_opened[descriptor])) {
      return error;
    }
    return FileSystem::syncData(descriptor);
  }
  std::error_code close(int descriptor) override {
    m_opened.erase(descriptor);
    return FileSystem::close(descriptor);
  }
  std::error_code rename(const std::filesystem::path& from,
                         const std::filesystem::path& to) override {
    if (const auto error = fault(Call::rename, from)) {
      return error;
    }
    if (const auto error = fault(Call::rename, to)) {
      return error;
    }
    return FileSystem::rename(from, to);
  }
  std::error_code status(const std::filesystem::path& path, platform::FileStatus& status) override {
    if (const auto error = fault(Call::status, path)) {
      return error;
    }
    const std::error_code error = FileSystem::status(path, status);
    for (const Replaced& replaced : m_replaced) {
      if (!error && path == replaced.path && status.inode == replaced.inode) {
        status.inode = ~status.inode;
      }
    }
    return error;
  }
  using FileSystem::status;

 private:
  struct Fault {
    Call call;
    std::string name;
    std::error_code error;
    int times;
  };

  struct Replaced {
    std::filesystem::path path;
    std::uint64_t inode;
  };

  static bool startsWith(const std::filesystem::path& path, const std::string& name) {
    return path.filename().string().starts_with(name);
  }

  std::error_code fault(Call call, const std::filesystem::path& path) {
    for (auto fault = m_faults.begin(); fault != m_faults.end(); ++fault) {
      if (fault->call != call || !startsWith(path, fault->name)) {
        continue;
      }
      const std::error_code error = fault->error;
      m_failed.push_back(path.filename().string() + ": " + error.message());
      if (fault->times > 0 && --fault->times == 0) {
        m_faults.erase(fault);
      }
      return error;
    }
    return {};
  }

  std::vector<Fault> m_faults;
  std::vector<Replaced> m_replaced;
  std::map<int, std::filesystem::path> m_opened;
  std::vector<std::string> m_failed;
};

}  // namespace vantor::testing
