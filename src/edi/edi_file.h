#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace vantor {

// The EDI file's name: section code, "_", callsign, ".edi". Every character of the callsign that
// a file name cannot hold on Windows or Linux (/ \ : * ? " < > |, bytes that are not UTF-8) or
// that would not show (the control characters, DEL and U+0080 to U+009F included) becomes "-", so
// "IK2ABC/P" gives "01_IK2ABC-P.edi" and no callsign can lead out of the folder. With the "_"
// always present the name is never "." or "..".
[[nodiscard]] std::string ediFileName(std::string_view section, std::string_view callsign);

// The EDI file's path: the folder, the platform's path separator (always added) and the file
// name.
[[nodiscard]] std::filesystem::path ediFilePath(const std::filesystem::path& folder,
                                                std::string_view section,
                                                std::string_view callsign);

// A path as UTF-8 text, the way the screens show it.
[[nodiscard]] std::string pathText(const std::filesystem::path& path);

// A path as a message quotes it: pathText, at most kLongestQuote characters of it.
[[nodiscard]] std::string quotedPath(const std::filesystem::path& path);

// The save message label's text after a successful export.
[[nodiscard]] std::string savedLabelText(const std::filesystem::path& path);

// The save message label's text after an export that wrote nothing: a file written before does not
// hold the log as it stands.
inline constexpr std::string_view kNotSavedLabel = "***  Il LOG non è stato salvato  ***";

// "Impossibile salvare il LOG in <path>: <reason>", the message of a save that failed; a long path
// is quoted in part.
[[nodiscard]] std::string saveFailedText(const std::filesystem::path& path, std::error_code error);

// Saves the EDI text (as the log buffer holds it) to `path`: in Windows-1252, followed by CR LF.
// The bytes go to a new temporary file in the same folder, synced to the disk, that is then
// renamed over `path`, and the folder is synced after the rename: a failed write leaves an earlier
// file of that name as it was, and a power cut leaves either the earlier file or the new one. The
// file may be read by everyone the umask allows, since it is meant to be sent. Returns nothing on
// success, else saveFailedText.
[[nodiscard]] std::optional<std::string> saveEdiFile(
    const std::filesystem::path& path, std::string_view ediText,
    platform::FileSystem& files = platform::systemFiles());

// The largest EDI file the program opens: half as much again as a 100,000-contact log, far beyond
// any contest's. A larger file would keep the program busy for seconds and fill its memory.
inline constexpr std::size_t kLargestEdiFile = 8U << 20U;

}  // namespace vantor
