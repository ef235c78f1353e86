#include "edi/edi_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "form/text.h"
#include "form/utf8.h"
#include "form/windows1252.h"
#include "platform/durable_file.h"

namespace vantor {

namespace {

// The C0 controls, DEL and the C1 controls: invisible in the save message and in a folder view.
bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool forbiddenInFileName(char32_t c) {
  constexpr std::u32string_view forbidden = U"/\\:*?\"<>|";
  return isControl(c) || forbidden.find(c) != std::u32string_view::npos;
}

std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The folder a file goes into; a bare file name goes into the working folder.
std::filesystem::path folderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// The error a failed C library call left in errno, or a plain input/output error when it left
// none.
std::error_code lastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string ediFileName(std::string_view section, std::string_view callsign) {
  std::string name(section);
  name += '_';
  forEachCharacter(callsign, [&name](std::optional<char32_t> codePoint, std::string_view bytes) {
    if (!codePoint || forbiddenInFileName(*codePoint)) {
      name += '-';
    } else {
      name.append(bytes);
    }
  });
  name += ".edi";
  return name;
}

std::filesystem::path ediFilePath(const std::filesystem::path& folder, std::string_view section,
                                  std::string_view callsign) {
  std::filesystem::path::string_type text = folder.native();
  text += std::filesystem::path::preferred_separator;
  text += pathFromUtf8(ediFileName(section, callsign)).native();
  return std::filesystem::path(std::move(text));
}

std::string pathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string savedLabelText(const std::filesystem::path& path) {
  return "***  Il LOG è stato salvato in " + pathText(path) + "  ***";
}

std::string saveFailedText(const std::filesystem::path& path, std::error_code error) {
  return "Impossibile salvare il LOG in " + pathText(path) + ": " + error.message();
}

std::error_code FileWriter::syncFolder(const std::filesystem::path& folder) const {
  return platform::syncFolder(folder);
}

std::error_code DiskFileWriter::write(const std::filesystem::path& path,
                                      std::initializer_list<std::string_view> pieces) const {
  return platform::writeDurably(path, pieces);
}

std::optional<std::string> saveEdiFile(const std::filesystem::path& path, std::string_view ediText,
                                       const FileWriter& writer) {
  // An ASCII text is the same bytes in the code page, so it is written as it stands: at 100,000
  // contacts a copy is megabytes of fresh memory.
  std::string encoded;
  const std::string_view bytes = isAscii(ediText) ? ediText : (encoded = toWindows1252(ediText));
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::error_code error = writer.write(temporary, {bytes, kLineEnd});
  if (!error) {
    std::filesystem::rename(temporary, path, error);
  }
  if (!error) {
    error = writer.syncFolder(folderOf(path));
  }
  if (!error) {
    return std::nullopt;
  }
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return saveFailedText(path, error);
}

std::error_code readWholeFile(const std::filesystem::path& path, std::string& bytes,
                              std::size_t largest) {
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return lastError();
  }
  bytes.clear();
  char block[1 << 16];
  while (true) {
    errno = 0;
    const std::size_t read = std::fread(block, 1, sizeof block, file.get());
    bytes.append(block, read);
    if (bytes.size() > largest) {
      return std::make_error_code(std::errc::file_too_large);
    }
    if (read < sizeof block) {
      return std::ferror(file.get()) != 0 ? lastError() : std::error_code{};
    }
  }
}

}  // namespace vantor
