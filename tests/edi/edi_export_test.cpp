#include <gtest/gtest.h>

#include <string>

#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

// The whole export as the log screen runs it, for the example station after one contact.
TEST(EdiExport, WritesTheExampleLogByteForByte) {
  StationHeader header;
  header.callsign = "QQ9XYZ";
  header.locator = "JN70AA";
  header.contest = "Contest IARU Reg. I VHF";
  header.category = "Singolo Operatore";
  header.band = "144 Mhz";
  header.startDate = "07/12/2026";
  header.endDate = "07/12/2026";
  const std::string logBuffer = "261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;347;;N;;\r\n";

  const auto start = convertDate(header.startDate);
  const auto end = convertDate(header.endDate);
  ASSERT_TRUE(start && end);
  const std::string section = sectionCode(header.band, header.category);
  const Claims claims{1, 1, 347, "QQ1ABC", "JN80XX", "347", 1};
  const auto pieces = buildHeaderSection(header, *start, *end, section);
  const std::string headerBuffer = pieces[0] + pieces[1] + pieces[2] + buildScoreLines(claims, "");
  const std::string ediText = buildEdiText(headerBuffer, logBuffer);

  const testing::TempFolder folder;
  const auto path = ediFilePath(folder.path(), section, header.callsign);
  EXPECT_EQ(path.filename(), "01_QQ9XYZ.edi");
  ASSERT_EQ(saveEdiFile(path, ediText), std::nullopt);

  const std::string golden = testing::readBytes(VANTOR_TEST_DATA_DIR "/01_QQ9XYZ.edi");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(testing::readBytes(path), golden);
  EXPECT_EQ(ediText + "\r\n", golden);
}

}  // namespace
}  // namespace vantor
