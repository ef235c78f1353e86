#include "edi/edi_reader.h"

#include "edi/edi_sections.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vantor {
namespace {

// A file with `header` after the first line, `remarks` as the remarks line and `record` as its
// one record.
std::string ediFile(const std::string& header, const std::string& remarks,
                    const std::string& record) {
  return "[REG1TEST;1]\r\n" + header + "\r\n[Remarks]\r\n" + remarks + "\r\n[QSORecords;1]\r\n" +
         record + "\r\n[END;x]\r\n";
}

// No value of a file, and no line, may be longer than any EDI file holds: the first line past
// the lengths is named and the file is read no further. The lengths count characters, not the
// bytes they take in UTF-8.
TEST(EdiReader, RefusesTheFirstLineLongerThanAnyEdiFileHolds) {
  const std::string record = "261207;1432;QQ1ABC;1;59;001;59;001;;JN61FU;243;;N;;";
  const std::string value(kLongestEdiValue, 'A');
  const std::string line(kLongestEdiLine, 'x');
  struct Case {
    const char* what;
    std::string file;
    std::optional<std::size_t> line;
    bool wholeLine;
  };
  const Case cases[] = {
      {"a value of the longest", ediFile("PCall=" + value, "", record), {}, false},
      {"a value longer", ediFile("PCall=" + value + "B", "", record), 2, false},
      {"a value of the longest in 8-bit letters",
       ediFile("RCity=" + std::string(kLongestEdiValue, '\xE0'), "", record),
       {},
       false},
      {"the remarks longer", ediFile("PCall=QQ9XYZ", value + "B", record), 4, false},
      {"a field of a record longer", ediFile("PCall=QQ9XYZ", "", "261207;1432;" + value + "B"), 6,
       false},
      {"a record of many fields", ediFile("PCall=QQ9XYZ", "", record + ";" + value), {}, false},
      {"a line of the longest", ediFile(line, "", record), {}, false},
      {"a line longer", ediFile(line + "x", "", record), 2, true},
      {"a line after the end longer", ediFile("PCall=QQ9XYZ", "", record) + line + "x", 8, true},
  };
  for (const Case& test : cases) {
    const auto content = readEdiText(test.file);
    ASSERT_TRUE(content) << test.what;
    EXPECT_EQ(content->refusal.has_value(), test.line.has_value()) << test.what;
    if (content->refusal && test.line) {
      EXPECT_EQ(content->refusal->line, *test.line) << test.what;
      EXPECT_EQ(content->refusal->wholeLine, test.wholeLine) << test.what;
    }
  }
}

// A record line is read as the next export writes it: an end line inside it taken out, the
// records around it on lines of their own.
TEST(EdiReader, SplitsARecordLineAroundTheEndLinesInIt) {
  const std::string first = "261207;1432;QQ1ABC;1;59;001;59;001;;JN61FU;243;;N;;";
  const std::string second = "261207;1433;QQ2ABC;1;59;002;59;002;;JN61FU;243;;N;;";
  const std::string end(ediEndLine);
  const struct {
    std::string line;
    std::string records;
  } cases[] = {
      {first, first + "\r\n"},
      {first + end, first + "\r\n"},
      {first + end + second, first + "\r\n" + second + "\r\n"},
      {first + end + end + second + end, first + "\r\n" + second + "\r\n"},
  };
  for (const auto& [line, records] : cases) {
    const auto content = readEdiText(ediFile("PCall=QQ9XYZ", "", line));
    ASSERT_TRUE(content) << line;
    EXPECT_EQ(content->records(), records) << line;
    EXPECT_TRUE(content->unreadLines.empty()) << line;
  }
}

// Each line of the records names the file's line it came from, past a "[Remarks]" line among the
// records and across a line split around an end line.
TEST(EdiReader, NamesTheFileLineOfEachRecord) {
  const std::string first = "261207;1432;QQ1ABC;1;59;001;59;001;;JN61FU;243;;N;;";
  const std::string second = "261207;1433;QQ2ABC;1;59;002;59;002;;JN61FU;243;;N;;";
  const std::string file = "[REG1TEST;1]\r\nPCall=QQ9XYZ\r\n[Remarks]\r\n\r\n[QSORecords;4]\r\n" +
                           first + "\r\n[Remarks]\r\n" + first + std::string(ediEndLine) + second +
                           "\r\n" + second + "\r\n[END;x]\r\n";
  const auto content = readEdiText(file);
  ASSERT_TRUE(content);
  EXPECT_EQ(content->recordLines, (std::vector<std::size_t>{6, 8, 8, 9}));
}

}  // namespace
}  // namespace vantor
