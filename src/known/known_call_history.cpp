#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "known/known_lines.h"
#include "known/known_parsers.h"

namespace vantor {

namespace {

// The first field of the line that names the columns: "!!Order!!,Call,Name,Loc1".
constexpr std::string_view kOrderMark = "!!Order!!";
constexpr std::string_view kCallColumn = "Call";
constexpr std::string_view kLocatorColumn = "Loc1";

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

// The text of a quoted field that starts `rest` (which then holds what follows the closing
// quote): commas and blanks kept, "" standing for one quote, the line's end closing it when no
// quote does.
std::string unquoted(std::string_view& rest) {
  std::string text;
  std::size_t at = 1;
  while (at < rest.size()) {
    if (rest[at] == '"') {
      if (rest.substr(at, 2) != "\"\"") {
        ++at;
        break;
      }
      ++at;
    }
    text += rest[at++];
  }
  rest.remove_prefix(at);
  return text;
}

// The field that starts `rest` (which then holds what follows its comma) without the blanks
// around it. A field that starts with a double quote is its quoted text, followed by what stands
// between the closing quote and the comma.
std::string nextField(std::string_view& rest) {
  rest = trimmed(rest);
  std::string field = rest.starts_with('"') ? unquoted(rest) : std::string();
  const std::size_t comma = std::min(rest.find(','), rest.size());
  field += trimmed(rest.substr(0, comma));
  rest.remove_prefix(std::min(comma + 1, rest.size()));
  return field;
}

// Where the call and the locator stand among a line's fields.
struct Columns {
  std::optional<std::size_t> call;
  std::optional<std::size_t> locator;
};

// The columns an order line names after its mark; the first of each name counts.
Columns columnsOf(const std::vector<std::string>& order) {
  Columns columns;
  for (std::size_t index = 1; index < order.size(); ++index) {
    if (!columns.call && equalsIgnoringCase(order[index], kCallColumn)) {
      columns.call = index - 1;
    } else if (!columns.locator && equalsIgnoringCase(order[index], kLocatorColumn)) {
      columns.locator = index - 1;
    }
  }
  return columns;
}

// Reads the lines in order: each order line sets the columns of the lines after it.
class CallHistoryReader {
 public:
  void take(std::string_view line, std::size_t number) {
    if (isSkippedLine(line)) {
      return;
    }
    m_fields.clear();
    for (std::string_view rest = line; !rest.empty();) {
      m_fields.push_back(nextField(rest));
    }
    if (isOrderLine(line)) {
      m_columns = columnsOf(m_fields);
    } else {
      takeStation(number);
    }
  }

  [[nodiscard]] ImportBatch batch() && { return std::move(m_batch).take(); }

 private:
  void takeStation(std::size_t number) {
    if (!m_columns) {
      m_batch.bad(number, "riga prima di !!Order!!");
      return;
    }
    if (!m_columns->call) {
      m_batch.bad(number, "manca la colonna Call in !!Order!!");
      return;
    }
    KnownStation station;
    station.call = fieldAt(*m_columns->call);
    station.locator = m_columns->locator ? fieldAt(*m_columns->locator) : std::string();
    m_batch.add(number, std::move(station));
  }

  [[nodiscard]] std::string fieldAt(std::size_t index) const {
    return index < m_fields.size() ? m_fields[index] : std::string();
  }

  BatchBuilder m_batch;
  std::optional<Columns> m_columns;
  // The fields of the line read; the list is kept from line to line.
  std::vector<std::string> m_fields;
};

}  // namespace

bool isOrderLine(std::string_view line) {
  return equalsIgnoringCase(trimmed(line.substr(0, line.find(','))), kOrderMark);
}

ImportBatch readCallHistory(std::string_view bytes) {
  CallHistoryReader reader;
  forEachFileLine(
      bytes, [&reader](std::string_view line, std::size_t number) { reader.take(line, number); });
  return std::move(reader).batch();
}

}  // namespace vantor
