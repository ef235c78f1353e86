#include "edi/edi_file.h"

#include <cerrno>
#include <cstdio>

#include "form/text.h"
#include "form/utf8.h"
#include "form/windows1252.h"

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

std::FILE* openForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wb");
#else
  return std::fopen(path.c_str(), "wb");
#endif
}

// The error a failed C library call left in errno, or a plain input/output error when it left
// none.
std::error_code lastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

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

std::error_code DiskFileWriter::write(const std::filesystem::path& path,
                                      std::string_view bytes) const {
  errno = 0;
  std::FILE* file = openForWriting(path);
  if (file == nullptr) {
    return lastError();
  }
  errno = 0;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (written) {
    errno = 0;
    written = std::fflush(file) == 0;
  }
  std::error_code error = written ? std::error_code{} : lastError();
  errno = 0;
  if (std::fclose(file) != 0 && !error) {
    error = lastError();
  }
  return error;
}

std::optional<std::string> saveEdiFile(const std::filesystem::path& path, std::string_view ediText,
                                       const FileWriter& writer) {
  std::string bytes = toWindows1252(ediText);
  bytes += kLineEnd;
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::error_code error = writer.write(temporary, bytes);
  if (!error) {
    std::filesystem::rename(temporary, path, error);
  }
  if (!error) {
    return std::nullopt;
  }
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return "Impossibile salvare il LOG in " + pathText(path) + ": " + error.message();
}

}  // namespace vantor
