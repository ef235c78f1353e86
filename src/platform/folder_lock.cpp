#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vantor::platform {

namespace {

constexpr unsigned kPrivateFolder = 0700U;
constexpr unsigned kPrivateFile = 0600U;
constexpr unsigned kOthersBits = 077U;

// The system's name for the program that holds a folder: abstract (no file anywhere), of this
// user, and of the folder's path, hashed to fit.
struct HolderName {
  sockaddr_un address{};
  socklen_t length = 0;
};

HolderName holderName(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::weakly_canonical(folder, error);
  if (error) {
    path = std::filesystem::absolute(folder, error).lexically_normal();
  }
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char byte : path.native()) {
    hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
  }
  const std::string text = "vantor-" + std::to_string(::getuid()) + "-" + std::to_string(hash);
  HolderName name;
  name.address.sun_family = AF_UNIX;
  std::memcpy(name.address.sun_path + 1, text.data(), text.size());
  name.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + text.size());
  return name;
}

// Whether the program holding the name runs as this user; a name another user took, or one that
// does not answer, is not this user's program.
bool heldByThisUser(const HolderName& name) {
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (probe < 0) {
    return false;
  }
  bool ours = false;
  if (::connect(probe, reinterpret_cast<const sockaddr*>(&name.address), name.length) == 0) {
    ucred holder{};
    socklen_t size = sizeof holder;
    ours = ::getsockopt(probe, SOL_SOCKET, SO_PEERCRED, &holder, &size) == 0 &&
           holder.uid == ::getuid();
  }
  ::close(probe);
  return ours;
}

}  // namespace

std::error_code makePrivateFolder(FileSystem& files, const std::filesystem::path& folder) {
  std::error_code error;
  if (folder.has_parent_path()) {
    std::filesystem::create_directories(folder.parent_path(), error);
  }
  if (!error) {
    error = files.makeFolder(folder, kPrivateFolder);
  }
  if (error && error != std::errc::file_exists) {
    return error;
  }
  int descriptor = -1;
  if (error = files.open(folder, O_RDONLY | O_DIRECTORY, 0, descriptor); error) {
    return error;
  }
  FileStatus status;
  error = files.status(descriptor, status);
  if (!error && (status.permissions() & kOthersBits) != 0) {
    error = files.setMode(descriptor, kPrivateFolder);
  }
  const std::error_code closed = files.close(descriptor);
  return error ? error : closed;
}

FolderLock::~FolderLock() {
  releaseLockFile();
  if (m_name >= 0) {
    ::close(m_name);
  }
}

std::error_code FolderLock::take(FileSystem& files, const std::filesystem::path& folder) {
  m_files = &files;
  m_folder = folder;
  return retake();
}

std::error_code FolderLock::takeName() {
  const HolderName name = holderName(m_folder);
  const int holder = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (holder < 0) {
    // No such names here: the lock file alone holds the folder.
    return {};
  }
  if (::bind(holder, reinterpret_cast<const sockaddr*>(&name.address), name.length) == 0 &&
      ::listen(holder, SOMAXCONN) == 0) {
    m_name = holder;
    return {};
  }
  const int reason = errno;
  ::close(holder);
  if (reason == EADDRINUSE && heldByThisUser(name)) {
    return std::make_error_code(std::errc::resource_unavailable_try_again);
  }
  return {};
}

// A link planted in place of the lock file is taken away, never followed: its target stays as
// it is. The lock file is narrowed to the operator when a file of an earlier run was wider.
std::error_code FolderLock::takeLockFile() {
  int descriptor = -1;
  const int flags = O_RDWR | O_CREAT | O_NOFOLLOW;
  std::error_code error = m_files->open(lockPath(), flags, kPrivateFile, descriptor);
  if (error == std::errc::too_many_symbolic_link_levels) {
    static_cast<void>(m_files->remove(lockPath()));
    error = m_files->open(lockPath(), flags, kPrivateFile, descriptor);
  }
  if (error) {
    return error;
  }
  FileStatus status;
  error = m_files->status(descriptor, status);
  if (!error && (status.permissions() & kOthersBits) != 0) {
    static_cast<void>(m_files->setMode(descriptor, kPrivateFile));
  }
  if (!error) {
    error = m_files->lock(descriptor);
  }
  if (error) {
    static_cast<void>(m_files->close(descriptor));
    return error;
  }
  m_lockFile = descriptor;
  m_lockStatus = status;
  return {};
}

bool FolderLock::lockFileInPlace() const {
  FileStatus now;
  return m_lockFile >= 0 && !m_files->status(lockPath(), now) && now.isSameFile(m_lockStatus);
}

std::error_code FolderLock::retake() {
  releaseLockFile();
  std::error_code error = makePrivateFolder(*m_files, m_folder);
  if (!error && m_name < 0) {
    error = takeName();
  }
  return error ? error : takeLockFile();
}

void FolderLock::releaseLockFile() {
  if (m_lockFile >= 0) {
    static_cast<void>(m_files->close(m_lockFile));
    m_lockFile = -1;
  }
}

}  // namespace vantor::platform
