#include "app/journal_codec.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace vantor {

namespace {

// The journal formats this program reads, oldest first: the header, the layout of the states the
// entries hold, and whether the entries' check sums cover the header.
struct Format {
  std::string_view header;
  int stateFormat;
  bool headerChecked;
};
constexpr std::array<Format, 4> kFormats{{
    {"VANTOR-JOURNAL 1\n", 1, false},
    {"VANTOR-JOURNAL 2\n", 2, false},
    {"VANTOR-JOURNAL 3\n", 2, true},
    {kJournalHeader, kStateFormat, true},
}};

constexpr std::size_t kFrameBytes = 12;
// No entry comes near this; a larger length is a damaged one, not a cue to wait for more bytes.
constexpr std::uint32_t kLargestPayload = 1U << 30;

std::array<std::uint32_t, 256> crcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) {
      c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    }
    table[n] = c;
  }
  return table;
}

void appendWord(std::string& bytes, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes += static_cast<char>((word >> shift) & 0xFF);
  }
}

std::uint32_t readWord(std::string_view bytes) {
  std::uint32_t word = 0;
  for (int i = 3; i >= 0; --i) {
    word = (word << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  }
  return word;
}

// The texts of a payload; nothing when it is not a sequence of length-prefixed texts.
std::optional<JournalEntry> decodePayload(std::string_view payload) {
  JournalEntry entry;
  while (!payload.empty()) {
    const auto colon = payload.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      return std::nullopt;
    }
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(payload.data(), payload.data() + colon, length);
    if (error != std::errc() || end != payload.data() + colon ||
        length > payload.size() - colon - 1) {
      return std::nullopt;
    }
    entry.emplace_back(payload.substr(colon + 1, length));
    payload.remove_prefix(colon + 1 + length);
  }
  return entry;
}

const Format* formatOf(std::string_view bytes) {
  for (const Format& format : kFormats) {
    if (bytes.starts_with(format.header)) {
      return &format;
    }
  }
  return nullptr;
}

// The status of bytes that start with no header this program reads.
JournalContents::Status headerStatus(std::string_view bytes) {
  for (const Format& format : kFormats) {
    if (format.header.starts_with(bytes)) {
      return JournalContents::Status::Torn;
    }
  }
  constexpr std::string_view family = "VANTOR-JOURNAL ";
  return bytes.starts_with(family) ? JournalContents::Status::NewerVersion
                                   : JournalContents::Status::NotAJournal;
}

// What the check sum of each entry of a journal in this format starts from.
std::uint32_t checkSumStart(const Format& format) {
  return format.headerChecked ? crc32(format.header) : 0;
}

}  // namespace

std::uint32_t crc32(std::string_view bytes, std::uint32_t before) {
  static const std::array<std::uint32_t, 256> table = crcTable();
  std::uint32_t crc = ~before;
  for (const char byte : bytes) {
    crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFU;
}

void appendEntry(std::string& bytes, const JournalEntry& entry) {
  std::size_t payloadSize = 0;
  for (const std::string& text : entry) {
    payloadSize += std::to_string(text.size()).size() + 1 + text.size();
  }
  bytes.reserve(bytes.size() + kFrameBytes + payloadSize);
  appendWord(bytes, static_cast<std::uint32_t>(payloadSize));
  appendWord(bytes, ~static_cast<std::uint32_t>(payloadSize));
  const std::size_t crcAt = bytes.size();
  appendWord(bytes, 0);
  for (const std::string& text : entry) {
    bytes += std::to_string(text.size());
    bytes += ':';
    bytes += text;
  }
  static const std::uint32_t headerSum = checkSumStart(kFormats.back());
  std::string crc;
  appendWord(crc, crc32(std::string_view(bytes).substr(crcAt + 4), headerSum));
  bytes.replace(crcAt, crc.size(), crc);
}

std::string encodeEntry(const JournalEntry& entry) {
  std::string bytes;
  appendEntry(bytes, entry);
  return bytes;
}

JournalContents decodeJournal(std::string_view bytes) {
  JournalContents contents;
  const Format* format = formatOf(bytes);
  if (format == nullptr) {
    contents.status = headerStatus(bytes);
    return contents;
  }
  contents.format = format->stateFormat;
  const std::uint32_t sumStart = checkSumStart(*format);
  std::size_t at = format->header.size();
  contents.soundBytes = at;
  while (at < bytes.size()) {
    if (bytes.size() - at < kFrameBytes) {
      contents.status = JournalContents::Status::Torn;
      return contents;
    }
    const std::uint32_t length = readWord(bytes.substr(at));
    if (length > kLargestPayload || readWord(bytes.substr(at + 4)) != ~length) {
      contents.status = JournalContents::Status::Damaged;
      return contents;
    }
    if (bytes.size() - at - kFrameBytes < length) {
      contents.status = JournalContents::Status::Torn;
      return contents;
    }
    const std::string_view payload = bytes.substr(at + kFrameBytes, length);
    auto entry = decodePayload(payload);
    if (crc32(payload, sumStart) != readWord(bytes.substr(at + 8)) || !entry) {
      contents.status = JournalContents::Status::Damaged;
      return contents;
    }
    contents.entries.push_back(std::move(*entry));
    at += kFrameBytes + length;
    contents.soundBytes = at;
  }
  return contents;
}

}  // namespace vantor
