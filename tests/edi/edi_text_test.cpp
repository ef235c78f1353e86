#include "edi/edi_text.h"

#include <gtest/gtest.h>

#include <string>

#include "edi/edi_header.h"

namespace vantor {
namespace {

const std::string contact1 = "261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n";
const std::string contact2 = "261207;1440;QQ2DEF;1;59;002;59;017;;JN61AA;250;;N;;\r\n";
const std::string duplicate = "261207;1450;QQ1ABC;1;59;003;59;006;;JN80XX;0;;;;D\r\n";
const std::string endLine(ediEndLine);

// Lines 1 to 40 as the screens assemble them in the EDI header buffer.
std::string headerBuffer(const ScoreTexts& score) {
  StationHeader header;
  header.callsign = "QQ9XYZ";
  const auto pieces = buildHeaderSection(header, "20261207", "20261207", "01");
  return pieces[0] + pieces[1] + pieces[2] + buildScoreLines(score);
}

struct CountCase {
  std::string serialSent;
  std::string count;
};

class EdiQsoCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(EdiQsoCount, IsTheSerialSentMinusOneInBothLines) {
  const std::string lines = buildScoreLines({GetParam().serialSent, "", "", "", "", ""});
  EXPECT_TRUE(lines.starts_with("CQSOs=" + GetParam().count + ";1\r\n"));
  EXPECT_TRUE(lines.ends_with("\r\n[QSORecords;" + GetParam().count + "]\r\n"));
}

INSTANTIATE_TEST_SUITE_P(SerialTexts, EdiQsoCount,
                         ::testing::Values(CountCase{"001", "0"}, CountCase{"013", "12"},
                                           CountCase{"", "-1"}, CountCase{"abc", "-1"},
                                           CountCase{" 010", "9"}, CountCase{"2.5", "1.5"}));

TEST(EdiText, OfAnEmptyLogEndsRightBehindTheRecordsLine) {
  const std::string header = headerBuffer({"001", "", "", "", "", ""});
  EXPECT_TRUE(
      header.ends_with("\r\nCQSOs=0;1\r\nCQSOP=\r\nCWWLs=28;0;1\r\nCWWLB=0\r\n"
                       "CExcs=0;0;1\r\nCExcB=0\r\nCDXCs=10;0;1\r\nCDXCB=0\r\nCToSc=\r\n"
                       "CODXC=;;\r\n[Remarks]\r\n\r\n[QSORecords;0]\r\n"));
  EXPECT_EQ(buildEdiText(header, ""), header + endLine);
}

TEST(EdiText, CopiesAPlainLogAsItStandsEvenWithoutAFinalLineEnd) {
  const std::string header = headerBuffer({"005", "373", "QQ2DEF", "JN61AA", "250", ""});
  const std::string log = contact1 + duplicate + "\r\ntyped ; by hand\r\n" + "261207;1512;QQ3";
  EXPECT_EQ(buildEdiText(header, log), header + log + endLine);
}

struct EarlierExportCase {
  std::string log;
  std::string records;
};

class EdiSecondExport : public ::testing::TestWithParam<EarlierExportCase> {};

// An earlier export whose comments line looks like the lines that delimit its records.
std::string exported(const std::string& log) {
  return buildEdiText(headerBuffer({"003", "", "", "", "", "[QSORecords;7] [Remarks]"}), log);
}

TEST_P(EdiSecondExport, TakesOnlyTheQsoLinesEachOnItsOwnLine) {
  EXPECT_EQ(qsoRecords(GetParam().log), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, EdiSecondExport,
    ::testing::Values(
        // Contacts inserted after an export are appended right behind its end line.
        EarlierExportCase{exported(contact1) + contact2 + duplicate,
                          contact1 + contact2 + duplicate},
        EarlierExportCase{exported(""), ""}, EarlierExportCase{exported("") + contact1, contact1},
        // A last line without CR LF carried the end line; it is split off again.
        EarlierExportCase{exported(contact1 + "261207;1440;QQ2") + contact2,
                          contact1 + "261207;1440;QQ2\r\n" + contact2},
        EarlierExportCase{exported(contact1) + "261207;1440;QQ2", contact1 + "261207;1440;QQ2\r\n"},
        EarlierExportCase{exported(contact1 + "\r\nby hand\r\n") + contact2,
                          contact1 + "\r\nby hand\r\n" + contact2},
        // What the operator left of an earlier export: the end line, or the header alone.
        EarlierExportCase{contact1 + endLine + contact2, contact1 + contact2},
        EarlierExportCase{headerBuffer({"", "", "", "", "", ""}) + contact1, contact1}));

TEST(EdiText, AfterAnEarlierExportHasOneHeaderAndOneEndLine) {
  const std::string header = headerBuffer({"004", "", "", "", "", "Seconda"});
  const std::string second = buildEdiText(header, exported(contact1 + contact2) + duplicate);
  EXPECT_EQ(second, buildEdiText(header, contact1 + contact2 + duplicate));
  EXPECT_EQ(buildEdiText(header, second), second);
}

}  // namespace
}  // namespace vantor
