// The EDI text of an export from any header texts and any log buffer, exported again from its
// own result the way the log buffer holds it after an export; and the file name from any
// callsign.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "contest/contact.h"
#include "contest/log_document.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_sections.h"
#include "edi/edi_text.h"
#include "edi/record_tally.h"
#include "form/field.h"
#include "form/text.h"
#include "form/utf8.h"
#include "form/windows1252.h"
#include "header/station_header.h"

namespace {

using namespace vantor;

// The pieces of the input, in this order; header texts not listed stay empty.
enum Piece : std::size_t {
  kLogBuffer,
  kCallsign,
  kLocator,
  kContest,
  kCategory,
  kBand,
  kStartDate,
  kEndDate,
  kComments,
  kClub,
};

// A header or log screen text: a single-line field holds no line break.
std::string screenText(std::string_view piece) {
  Field field("Text");
  field.setText(piece);
  return field.text();
}

bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool forbiddenInFileName(char32_t c) {
  return isControl(c) || std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

void checkFileName(std::string_view section, std::string_view callsign) {
  const std::string name = ediFileName(section, callsign);
  FUZZ_CHECK(name != "." && name != "..");
  FUZZ_CHECK(name.starts_with(std::string(section) + "_") && name.ends_with(".edi"));
  const std::string_view callPart =
      std::string_view(name).substr(section.size() + 1, name.size() - section.size() - 5);
  forEachCharacter(callPart, [](std::optional<char32_t> codePoint, std::string_view) {
    FUZZ_CHECK(codePoint.has_value());
    FUZZ_CHECK(!forbiddenInFileName(*codePoint));
  });

  const std::filesystem::path folder("logs");
  const std::filesystem::path path = ediFilePath(folder, section, callsign);
  FUZZ_CHECK(path.parent_path() == folder);
  FUZZ_CHECK(pathText(path.filename()) == name);
}

// The EDI header buffer's text as the export assembles it: the header section and the score
// lines. Nothing when a date cannot be converted, which stops the export.
std::optional<std::string> headerBuffer(std::string_view logBuffer, const StationHeader& header,
                                        std::string_view section) {
  const auto startDate = convertDate(header.startDate);
  const auto endDate = convertDate(header.endDate);
  if (!startDate || !endDate) {
    return std::nullopt;
  }
  std::string buffer;
  for (const std::string& part : buildHeaderSection(header, *startDate, *endDate, section)) {
    buffer += part;
  }
  // The claims count every record line, and no more contacts than lines.
  Field logField("Text15", logBuffer, Field::Lines::Multi);
  LogDocument document(logField);
  const Claims claims = claimsOf(reportOf(logBuffer), logBuffer, document, header.locator);
  FUZZ_CHECK(claims.contacts <= claims.recordLines);
  buffer += buildScoreLines(claims, header.comments);
  return buffer;
}

// The code page's bytes one character at a time, the plain way the encoding's quick copy of ASCII
// runs must agree with.
std::string windows1252OneByOne(std::string_view utf8) {
  std::string bytes;
  forEachCharacter(utf8, [&bytes](std::optional<char32_t> codePoint, std::string_view) {
    const auto byte = codePoint ? windows1252Byte(*codePoint) : std::nullopt;
    bytes += static_cast<char>(byte.value_or('?'));
  });
  return bytes;
}

// The export's text: the header buffer, then records holding no end line, then the end line.
void checkEdiText(std::string_view header, std::string_view ediText) {
  FUZZ_CHECK(ediText.starts_with(header));
  FUZZ_CHECK(ediText.ends_with(ediEndLine));
  FUZZ_CHECK(fuzz::countOf(ediText.substr(header.size()), ediEndLine) == 1);
  FUZZ_CHECK(toWindows1252(ediText).size() <= ediText.size());
}

void checkExports(std::string_view header, std::string_view logBuffer) {
  const std::string first = buildEdiText(header, logBuffer);
  checkEdiText(header, first);
  const std::string second = buildEdiText(header, first);
  checkEdiText(header, second);
  // The earlier export's header section is not taken into the records.
  FUZZ_CHECK(fuzz::countOf(second, ediFirstLine) == fuzz::countOf(first, ediFirstLine));
  FUZZ_CHECK(buildEdiText(header, second) == second);
}

// The log buffer takes an export as its edits: it then holds the file's text, and a log document
// that followed each edit answers as one reading that text afresh, for the calls of both texts.
void checkBufferTakesExport(std::string_view header, std::string_view logBuffer) {
  Field buffer("Text15", logBuffer, Field::Lines::Multi);
  LogDocument followed(buffer);
  static_cast<void>(followed.lines());
  buffer.applyEdits(ediTextEdits(header, logBuffer));
  FUZZ_CHECK(buffer.text() == buildEdiText(header, logBuffer));
  Field copy("Text15", buffer.text(), Field::Lines::Multi);
  LogDocument afresh(copy);
  FUZZ_CHECK(followed.score().contacts() == afresh.score().contacts());
  for (const std::string_view text : {logBuffer, std::string_view(buffer.text())}) {
    forEachLine(text, [&](std::string_view line) {
      if (const auto fields = readQsoRecord(line)) {
        const std::string_view call = (*fields)[qso::call];
        FUZZ_CHECK(followed.calls().holds(call) == afresh.calls().holds(call));
      }
    });
  }
}

// The records line by line, the plain way the export's copy of whole runs of lines must agree
// with.
std::string recordsLineByLine(std::string_view logBuffer) {
  const std::size_t start = recordLinesStart(logBuffer).offset;
  if (start == 0 && logBuffer.find(ediEndLine) == std::string_view::npos) {
    return std::string(logBuffer);
  }
  std::string records;
  forEachLine(logBuffer.substr(start), [&records](std::string_view line) {
    forEachRecordPiece(
        line, [&records](std::string_view piece) { records.append(piece).append(kLineEnd); });
  });
  return records;
}

bool sameReport(const RecordReport& one, const RecordReport& other) {
  const bool sameBroken = one.broken.size() == other.broken.size() &&
                          std::equal(one.broken.begin(), one.broken.end(), other.broken.begin(),
                                     [](const BrokenRecord& x, const BrokenRecord& y) {
                                       return x.line == y.line && x.start == y.start;
                                     });
  return one.recordLines == other.recordLines &&
         one.recordsBesideEndLine == other.recordsBesideEndLine &&
         one.recordsOffset == other.recordsOffset && sameBroken;
}

// The tally kept between exports agrees with a reading of the whole buffer: after the buffer grew
// from its first half, and after an export with that half added again behind it.
void checkTally(std::string_view header, std::string_view logBuffer) {
  const std::string_view half = logBuffer.substr(0, logBuffer.size() / 2);
  RecordTally tally;
  tally.reportOf(half, 0);
  FUZZ_CHECK(sameReport(tally.reportOf(logBuffer, 0), reportOf(logBuffer)));
  const std::string ediText = buildEdiText(header, logBuffer);
  tally.exported(ediText, 1);
  const std::string grown = ediText + std::string(half);
  FUZZ_CHECK(sameReport(tally.reportOf(grown, 1), reportOf(grown)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = fuzz::splitInput(data, size);
  const std::string_view logBuffer = fuzz::pieceAt(pieces, kLogBuffer);
  const auto text = [&pieces](Piece piece) { return screenText(fuzz::pieceAt(pieces, piece)); };

  const std::string records = qsoRecords(logBuffer);
  FUZZ_CHECK(fuzz::countOf(records, ediEndLine) == 0);
  FUZZ_CHECK(records == recordsLineByLine(logBuffer));
  FUZZ_CHECK(toWindows1252(logBuffer).size() <= logBuffer.size());
  FUZZ_CHECK(toWindows1252(logBuffer) == windows1252OneByOne(logBuffer));

  StationHeader header;
  header.callsign = text(kCallsign);
  header.locator = text(kLocator);
  header.contest = text(kContest);
  header.category = text(kCategory);
  header.band = text(kBand);
  header.startDate = text(kStartDate);
  header.endDate = text(kEndDate);
  header.comments = text(kComments);
  header.club = text(kClub);
  const std::string section = sectionCode(header.band, header.category);
  checkFileName(section, header.callsign);
  checkFileName(section, fuzz::pieceAt(pieces, kCallsign));

  if (const auto buffer = headerBuffer(logBuffer, header, section)) {
    FUZZ_CHECK(buffer->starts_with(ediFirstLine));
    checkExports(*buffer, logBuffer);
    checkBufferTakesExport(*buffer, logBuffer);
    checkTally(*buffer, logBuffer);
  }
  return 0;
}
