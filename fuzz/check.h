#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant names itself and aborts, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::vantor::fuzz::fail(#condition, __FILE__, __LINE__))

namespace vantor::fuzz {

// A folder of this fuzzing process's own under the temporary folder, made on first use; each
// target is a program of its own, so one folder serves its whole run.
inline const std::filesystem::path& processFolder(const std::string& target) {
  static const std::filesystem::path folder = [&target] {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("vantor-fuzz-" + target + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
  std::abort();
}

// The pieces of a text between its `separator` bytes, empty ones included.
inline std::vector<std::string_view> splitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) {
      return pieces;
    }
    start = end + 1;
  }
}

// The input as texts separated by NUL bytes; the input files are written that way.
inline std::vector<std::string_view> splitInput(const std::uint8_t* data, std::size_t size) {
  return splitAt(std::string_view(reinterpret_cast<const char*>(data), size), '\0');
}

// The piece at `index`, or an empty text when the input has fewer pieces.
inline std::string_view pieceAt(const std::vector<std::string_view>& pieces, std::size_t index) {
  return index < pieces.size() ? pieces[index] : std::string_view{};
}

inline std::size_t countOf(std::string_view text, std::string_view needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string_view::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

inline bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace vantor::fuzz
