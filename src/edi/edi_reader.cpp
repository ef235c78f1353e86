#include "edi/edi_reader.h"

#include "edi/edi_sections.h"
#include "edi/edi_text.h"
#include "form/text.h"
#include "form/windows1252.h"

namespace vantor {

namespace {

// Whether a text has more than `longest` characters; a text of no more bytes is not counted.
bool isLongerThan(std::string_view text, std::size_t longest) {
  return text.size() > longest && charCount(text) > longest;
}

bool holdsLongerValue(std::string_view record) {
  bool longer = false;
  for (std::size_t from = 0; from <= record.size() && !longer;) {
    const std::size_t end = std::min(record.find(';', from), record.size());
    longer = isLongerThan(record.substr(from, end - from), kLongestEdiValue);
    from = end + 1;
  }
  return longer;
}

// Reads the lines in order; where a line belongs depends on the section lines before it.
class EdiReader {
 public:
  explicit EdiReader(EdiContent& content) : m_content(content) {}

  void take(std::string_view line, std::size_t number) {
    if (isLongerThan(line, kLongestEdiLine)) {
      m_content.refusal = EdiRefusal{number, true};
      return;
    }
    if (m_part == Part::End) {
      unreadUnlessEmpty(line, number);
      return;
    }
    // The comments line is taken whatever it says, as the export's own reading of a log does.
    if (m_part != Part::RemarksLine && line.starts_with(ediEndLinePrefix)) {
      m_content.recordsEnd = m_content.logText.size();
      m_part = Part::End;
      return;
    }
    if (m_part == Part::Records) {
      takeRecordLine(line, number);
      return;
    }
    m_content.logText.append(line).append(kLineEnd);
    takeInPart(line, number);
  }

  void finish() {
    if (!m_sawRecords) {
      m_content.logText.clear();
      m_content.recordsBegin = m_content.recordsEnd = 0;
      return;
    }
    if (m_part != Part::End) {
      m_content.recordsEnd = m_content.logText.size();
    }
    m_content.logText.append(ediEndLine);
  }

 private:
  enum class Part { Header, RemarksLine, AfterRemarks, Records, End };

  void takeInPart(std::string_view line, std::size_t number) {
    switch (m_part) {
      case Part::Header:
        takeHeaderLine(line, number);
        return;
      case Part::RemarksLine:
        refuseLongerValue(line, number);
        m_content.remarks = line;
        m_part = Part::AfterRemarks;
        return;
      case Part::AfterRemarks:
        startRecordsOr(line, number);
        return;
      case Part::Records:
      case Part::End:
        return;
    }
  }

  void takeHeaderLine(std::string_view line, std::size_t number) {
    const auto equals = line.find('=');
    // The "[REG1TEST;" line, checked before the reading starts.
    if (number == 1) {
      return;
    }
    if (line == ediRemarksLine) {
      m_part = Part::RemarksLine;
    } else if (line.starts_with('[') || equals == std::string_view::npos) {
      startRecordsOr(line, number);
    } else {
      refuseLongerValue(line.substr(equals + 1), number);
      m_content.header.push_back(EdiHeaderLine{std::string(line.substr(0, equals)),
                                               std::string(line.substr(equals + 1)), number});
    }
  }

  void refuseLongerValue(std::string_view value, std::size_t number) {
    if (isLongerThan(value, kLongestEdiValue)) {
      m_content.refusal = EdiRefusal{number, false};
    }
  }

  // A record line is kept as the next export writes it, so the records read here are the ones it
  // writes: an end line inside it taken out, the pieces around it on lines of their own.
  void takeRecordLine(std::string_view line, std::size_t number) {
    // The export looks for the records behind the first "[Remarks]" line: one among the records
    // would make it skip those before it.
    if (line == ediRemarksLine) {
      m_content.unreadLines.push_back(number);
      return;
    }
    forEachRecordPiece(line, [this, number](std::string_view piece) { keepRecord(piece, number); });
  }

  void keepRecord(std::string_view record, std::size_t number) {
    if (holdsLongerValue(record)) {
      m_content.refusal = EdiRefusal{number, false};
      return;
    }
    m_content.logText.append(record).append(kLineEnd);
    m_content.recordLines.push_back(number);
    if (!splitQsoRecord(record)) {
      m_content.unreadLines.push_back(number);
    }
  }

  // A records line starts the records; any other line here is one the reader cannot place.
  void startRecordsOr(std::string_view line, std::size_t number) {
    if (line.starts_with(ediRecordsLinePrefix)) {
      m_sawRecords = true;
      m_content.recordsBegin = m_content.logText.size();
      m_part = Part::Records;
    } else {
      unreadUnlessEmpty(line, number);
    }
  }

  void unreadUnlessEmpty(std::string_view line, std::size_t number) {
    if (!line.empty()) {
      m_content.unreadLines.push_back(number);
    }
  }

  EdiContent& m_content;
  Part m_part = Part::Header;
  bool m_sawRecords = false;
};

}  // namespace

std::optional<EdiContent> readEdiText(std::string_view bytes) {
  if (!bytes.starts_with(ediFirstLinePrefix)) {
    return std::nullopt;
  }
  const std::string text = fromWindows1252(bytes);
  EdiContent content;
  content.logText.reserve(text.size() + ediEndLine.size());
  EdiReader reader(content);
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size() && !content.refusal;) {
    const auto newline = text.find('\n', start);
    const auto end = newline == std::string::npos ? text.size() : newline;
    std::string_view line = std::string_view(text).substr(start, end - start);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    reader.take(line, ++number);
    start = end + 1;
  }
  reader.finish();
  return content;
}

}  // namespace vantor
