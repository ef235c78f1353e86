#include "platform/durable_file.h"

#include <fcntl.h>

#include <array>
#include <random>

namespace vantor::platform {

namespace {

constexpr int kTemporaryNameTries = 8;
constexpr std::string_view kTemporaryExtension = ".tmp";
constexpr std::size_t kRandomDigits = 16;

class FileProblemCategory final : public std::error_category {
 public:
  [[nodiscard]] const char* name() const noexcept override { return "vantor-file"; }
  [[nodiscard]] std::string message(int /*problem*/) const override {
    return "non è un file regolare";
  }
};

// Sixteen hexadecimal digits no other program can guess.
std::string randomDigits() {
  static std::mt19937_64 random{std::random_device{}()};
  constexpr std::string_view digits = "0123456789abcdef";
  std::uint64_t number = random();
  std::string text;
  for (std::size_t i = 0; i < kRandomDigits; ++i, number >>= 4U) {
    text += digits[number & 0xFU];
  }
  return text;
}

// A new file of its own beside `path`: "<name>.<random>.tmp", made exclusively, so neither a file
// nor a link planted under its name is ever written through.
std::error_code createTemporary(FileSystem& files, const std::filesystem::path& path,
                                FileAccess access, std::filesystem::path& temporary,
                                int& descriptor) {
  const unsigned mode = access == FileAccess::Private ? 0600U : 0644U;
  std::error_code error;
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    temporary = path;
    temporary += '.';
    temporary += randomDigits();
    temporary += kTemporaryExtension;
    error = files.open(temporary, O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW, mode,
                       descriptor);
    if (error != std::errc::file_exists) {
      break;
    }
  }
  if (!error && access == FileAccess::Private) {
    // The umask could only have taken permissions away; the operator keeps reading and writing.
    error = files.setMode(descriptor, mode);
  }
  return error;
}

std::error_code writeAndSync(FileSystem& files, int descriptor,
                             std::initializer_list<std::string_view> pieces) {
  for (const std::string_view piece : pieces) {
    if (const std::error_code error = files.write(descriptor, piece)) {
      return error;
    }
  }
  return files.sync(descriptor);
}

// The folder a file goes into; a bare file name goes into the working folder.
std::filesystem::path folderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

std::error_code make_error_code(FileProblem problem) {
  static const FileProblemCategory category;
  return {static_cast<int>(problem), category};
}

std::error_code replaceDurably(FileSystem& files, const std::filesystem::path& path,
                               std::initializer_list<std::string_view> pieces, FileAccess access,
                               AppendOnlyFile* continueIn) {
  std::filesystem::path temporary;
  int descriptor = -1;
  std::error_code error = createTemporary(files, path, access, temporary, descriptor);
  if (descriptor < 0) {
    return error;
  }
  if (!error) {
    error = writeAndSync(files, descriptor, pieces);
  }
  if (!error && continueIn != nullptr) {
    error = continueIn->adopt(files, descriptor);
    descriptor = -1;
  } else if (const std::error_code closed = files.close(descriptor); !error) {
    error = closed;
  }
  if (!error) {
    error = files.rename(temporary, path);
  }
  if (error) {
    static_cast<void>(files.remove(temporary));
    if (continueIn != nullptr) {
      continueIn->close();
    }
    return error;
  }
  return syncFolder(files, folderOf(path));
}

bool isTemporaryFor(std::string_view name, std::string_view target) {
  constexpr std::size_t kSuffix = 1 + kRandomDigits + kTemporaryExtension.size();
  return name.size() == target.size() + kSuffix && name.starts_with(target) &&
         name[target.size()] == '.' && name.ends_with(kTemporaryExtension);
}

std::error_code syncFolder(FileSystem& files, const std::filesystem::path& folder) {
  int descriptor = -1;
  if (const std::error_code error = files.open(folder, O_RDONLY | O_DIRECTORY, 0, descriptor)) {
    return error;
  }
  std::error_code error = files.sync(descriptor);
  if (error == std::errc::invalid_argument || error == std::errc::not_supported) {
    error.clear();
  }
  const std::error_code closed = files.close(descriptor);
  return error ? error : closed;
}

std::error_code readWholeFile(FileSystem& files, const std::filesystem::path& path,
                              std::string& bytes, std::size_t largest, bool followLink) {
  bytes.clear();
  int descriptor = -1;
  const int flags = O_RDONLY | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW);
  if (const std::error_code error = files.open(path, flags, 0, descriptor)) {
    return error;
  }
  FileStatus status;
  std::error_code error = files.status(descriptor, status);
  if (!error && !status.isRegular()) {
    error = FileProblem::notRegular;
  }
  std::array<char, 1 << 16> block{};
  for (std::size_t count = block.size(); !error && count > 0;) {
    error = files.read(descriptor, block.data(), block.size(), count);
    bytes.append(block.data(), count);
    if (bytes.size() > largest) {
      error = std::make_error_code(std::errc::file_too_large);
    }
  }
  const std::error_code closed = files.close(descriptor);
  return error ? error : closed;
}

std::error_code AppendOnlyFile::adopt(FileSystem& files, int descriptor) {
  close();
  m_files = &files;
  m_descriptor = descriptor;
  return files.status(descriptor, m_status);
}

std::error_code AppendOnlyFile::append(std::string_view bytes) {
  return isOpen() ? m_files->write(m_descriptor, bytes)
                  : std::make_error_code(std::errc::bad_file_descriptor);
}

std::error_code AppendOnlyFile::sync() {
  return isOpen() ? m_files->syncData(m_descriptor)
                  : std::make_error_code(std::errc::bad_file_descriptor);
}

void AppendOnlyFile::close() {
  if (isOpen()) {
    static_cast<void>(m_files->close(m_descriptor));
    m_descriptor = -1;
  }
}

bool AppendOnlyFile::isAt(const std::filesystem::path& path) const {
  FileStatus now;
  return isOpen() && !m_files->status(path, now) && now.isSameFile(m_status);
}

}  // namespace vantor::platform
