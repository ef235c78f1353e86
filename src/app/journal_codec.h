#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "form/control_state.h"

namespace vantor {

// One entry of the log kept on disk: a list of texts.
using JournalEntry = std::vector<std::string>;

// The first line of every journal; a later format changes the number. Journals of the earlier
// formats are still read: 1 and 2 hold states of those layouts (kStateFormat); from 3 on the
// header is covered by every entry's check sum, so a journal whose header was changed does not
// decode; 3 holds states of layout 2, and 4, written now, of layout 3, which keeps each band log
// apart.
inline constexpr std::string_view kJournalHeader = "VANTOR-JOURNAL 4\n";

// An entry as it stands on disk: the payload's length, the length's complement (so a damaged
// length is not taken for a cut-off entry) and the CRC-32 of the journal's header followed by the
// payload, four bytes each and least significant first, then the payload, each text as its length
// in decimal, ":" and its bytes.
[[nodiscard]] std::string encodeEntry(const JournalEntry& entry);
// The same, behind `bytes`: the entry is written once, in room taken once.
void appendEntry(std::string& bytes, const JournalEntry& entry);

// What a journal's bytes hold.
struct JournalContents {
  enum class Status {
    Complete,      // every byte belongs to a sound entry
    Torn,          // the last entry was cut off, as a power cut leaves it
    Damaged,       // an entry whose check sum or form is wrong
    NotAJournal,   // no journal header
    NewerVersion,  // the header of a later format
  };
  Status status = Status::Complete;
  // The layout of the entries' states, from the header.
  int format = kStateFormat;
  // The sound entries before the first that is not.
  std::vector<JournalEntry> entries;
  // Where the sound part ends.
  std::size_t soundBytes = 0;
};

[[nodiscard]] JournalContents decodeJournal(std::string_view bytes);

// The CRC-32 of the bytes (the polynomial of zip and PNG); with `before`, the CRC-32 of the bytes
// that gave `before` followed by these.
[[nodiscard]] std::uint32_t crc32(std::string_view bytes, std::uint32_t before = 0);

}  // namespace vantor
