#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "contest/contact.h"
#include "contest/serial_number.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"

namespace vantor::bench {

// The log sizes every log-dependent figure is taken at: a short contest, a long one and ten
// times the longest seen.
inline void logSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1000)->Arg(10000)->Arg(100000);
}

// The call typed in the typical keystroke, then with one more letter: no call of qsoLines holds a
// "9" after "QQ", so both are searched for through the whole log and found nowhere.
inline constexpr std::string_view kTypicalCall[] = {"qq9zy", "qq9zyx"};
// The call typed in the worst case: every call of worstCaseQsoLines starts with "QQ9Z" and holds
// no "Q" after it, so each line shares the typed letters and none holds the call.
inline constexpr std::string_view kWorstCaseCall[] = {"qq9zq", "qq9zqq"};

// The locators a typical correction writes in turn over a contact of qsoLines, whose locator is
// JN80XX: both nearer the home locator JN81GD than JN80XX is, so the ODX stays where it was.
inline constexpr std::string_view kCorrectedLocators[] = {"JN81GE", "JN81FE"};

// Contact `index` of a log, as an insertion writes it: about 53 bytes.
inline std::string qsoLine(int index, const std::string& call) {
  using namespace std::string_literals;
  const std::string serial = serialNumberText(index % kLastSerialNumber + 1);
  // Each field is given a whole string: GCC 12 at -O3 takes a literal assigned to a field for an
  // overlapping copy (-Wrestrict).
  Contact contact;
  contact.date = "261207"s;
  contact.time = "1432"s;
  contact.call = call;
  contact.modeCode = "1"s;
  contact.rstSent = contact.rstReceived = "59"s;
  contact.serialSent = contact.serialReceived = serial;
  contact.locator = "JN80XX"s;
  // Every contact is in one square: the first opens it.
  contact.newSquare = index == 0 ? "N"s : ""s;
  contact.markDuplicate(false, std::to_string(100 + index % 900));
  return contact.line();
}

// The call of contact `index` of a log: one of 158,184 different calls such as "QQ3KBA", none
// with a "9" as its third character.
inline std::string callOf(int index) {
  std::string call = "QQ0AAA";
  call[2] = static_cast<char>('0' + index % 9);
  call[3] = static_cast<char>('A' + index / 9 % 26);
  call[4] = static_cast<char>('A' + index / 234 % 26);
  call[5] = static_cast<char>('A' + index / 6084 % 26);
  return call;
}

// The lines of a log of `count` contacts with the calls of callOf.
inline std::string qsoLines(int count) {
  std::string log;
  log.reserve(static_cast<std::size_t>(count) * 54);
  for (int i = 0; i < count; ++i) {
    log += qsoLine(i, callOf(i));
  }
  return log;
}

// The lines of a log of `count` different calls "QQ9Z" and four letters other than "Q", such as
// "QQ9ZABCD": each holds kWorstCaseCall's first four letters and none holds the whole call.
inline std::string worstCaseQsoLines(int count) {
  constexpr std::string_view letters = "ABCDEFGHIJKLMNOPRSTUVWXYZ";
  const auto letter = [&letters](int value) {
    return letters[static_cast<std::size_t>(value) % letters.size()];
  };
  std::string log;
  log.reserve(static_cast<std::size_t>(count) * 56);
  for (int i = 0; i < count; ++i) {
    const int n = static_cast<int>(letters.size());
    const std::string call{
        'Q', 'Q', '9', 'Z', letter(i), letter(i / n), letter(i / n / n), letter(i / n / n / n)};
    log += qsoLine(i, call);
  }
  return log;
}

// The EDI header buffer of the benchmarks' station, with the score lines of a log whose next
// serial number is `serialSent`.
inline std::string ediHeaderText(const std::string& serialSent) {
  StationHeader header;
  header.callsign = "QQ9XYZ";
  header.locator = "JN70AA";
  header.contest = "Contest IARU Reg. I VHF";
  header.category = "Singolo Operatore";
  header.band = "144 Mhz";
  header.city = "CITTÀ";
  const auto pieces = buildHeaderSection(header, "20261207", "20261207", "01");
  const std::size_t contacts = std::stoul(serialSent) - 1;
  return pieces[0] + pieces[1] + pieces[2] +
         buildScoreLines(Claims{contacts, contacts, 4990000, "QQ1ABC", "JN80XX", "999", 1},
                         "Commento è");
}

// An EDI file's text as an export writes it, with `count` contacts, its records line counting
// them all.
inline std::string ediFileText(int count) {
  return buildEdiText(ediHeaderText(std::to_string(count + 1)), qsoLines(count));
}

}  // namespace vantor::bench
