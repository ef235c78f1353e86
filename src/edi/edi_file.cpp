#include "edi/edi_file.h"

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

std::string quotedPath(const std::filesystem::path& path) {
  return messageQuote(pathText(path));
}

std::string savedLabelText(const std::filesystem::path& path) {
  return "***  Il LOG è stato salvato in " + quotedPath(path) + "  ***";
}

std::string saveFailedText(const std::filesystem::path& path, std::error_code error) {
  return "Impossibile salvare il LOG in " + quotedPath(path) + ": " + error.message();
}

std::optional<std::string> saveEdiFile(const std::filesystem::path& path, std::string_view ediText,
                                       platform::FileSystem& files) {
  // An ASCII text is the same bytes in the code page, so it is written as it stands: at 100,000
  // contacts a copy is megabytes of fresh memory.
  std::string encoded;
  const std::string_view bytes = isAscii(ediText) ? ediText : (encoded = toWindows1252(ediText));
  if (const std::error_code error =
          platform::replaceDurably(files, path, {bytes, kLineEnd}, platform::FileAccess::Shared)) {
    return saveFailedText(path, error);
  }
  return std::nullopt;
}

}  // namespace vantor
