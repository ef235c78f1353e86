#include "edi/edi_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "contest/log_document.h"
#include "edi/edi_header.h"
#include "edi/record_tally.h"

namespace vantor {
namespace {

const std::string contact1 = "261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n";
const std::string contact2 = "261207;1440;QQ2DEF;1;59;002;59;017;;JN61AA;250;;N;;\r\n";
const std::string duplicate = "261207;1450;QQ1ABC;1;59;003;59;006;;JN80XX;0;;;;D\r\n";
const std::string endLine(ediEndLine);

std::string headerBuffer(std::string_view comments = "");

// An earlier export whose comments line looks like the lines that delimit its records.
std::string exported(const std::string& log) {
  return buildEdiText(headerBuffer("[QSORecords;7] [Remarks]"), log);
}

// Lines 1 to 40 as the screens assemble them in the EDI header buffer.
std::string headerBuffer(std::string_view comments) {
  StationHeader header;
  header.callsign = "QQ9XYZ";
  const auto pieces = buildHeaderSection(header, "20261207", "20261207", "01");
  return pieces[0] + pieces[1] + pieces[2] + buildScoreLines(Claims{}, comments);
}

// What an export claims for a log measured from JN61FU.
Claims claimsOf(std::string_view log) {
  Field buffer("Text15", log, Field::Lines::Multi);
  LogDocument document(buffer);
  return claimsOf(reportOf(log), log, document, "JN61FU");
}

// The claims lines come from the records written, whatever the screen's rows say.
TEST(EdiClaims, AreTheSumsOfTheRecords) {
  const std::string sicilian = "261207;1500;IT9ABC;1;59;004;59;;;JM78SE;1604;;N;;\r\n";
  const struct {
    std::string log;
    std::string_view lines;
  } cases[] = {
      {"", "CQSOs=0;1|CQSOP=0|CToSc=0|CODXC=;;|[QSORecords;0]"},
      {contact1 + contact2, "CQSOs=2;1|CQSOP=373|CToSc=373|CODXC=QQ1ABC;JN80XX;467|[QSORecords;2]"},
      // A duplicate adds a line but neither a contact nor points, and is never the ODX.
      {contact2 + "261207;1450;QQ1ABC;1;59;003;59;006;;JP90XX;0;;;;D\r\n",
       "CQSOs=1;1|CQSOP=250|CToSc=250|CODXC=QQ2DEF;JN61AA;99|[QSORecords;2]"},
      // A doubled Sicilian contact counts its points but its real distance.
      {contact2 + sicilian,
       "CQSOs=2;1|CQSOP=1854|CToSc=1854|CODXC=IT9ABC;JM78SE;484|[QSORecords;2]"},
      // A broken line is written and counted as a line, not as a contact.
      {contact1 + "by hand\r\n",
       "CQSOs=1;1|CQSOP=123|CToSc=123|CODXC=QQ1ABC;JN80XX;467|[QSORecords;2]"},
      {exported(contact1) + contact2,
       "CQSOs=2;1|CQSOP=373|CToSc=373|CODXC=QQ1ABC;JN80XX;467|[QSORecords;2]"},
      // A record typed behind an earlier export's end line, on its line, is written and claimed.
      {exported(contact1) + contact2.substr(0, contact2.size() - 2),
       "CQSOs=2;1|CQSOP=373|CToSc=373|CODXC=QQ1ABC;JN80XX;467|[QSORecords;2]"},
      // A comment of an earlier export shaped like a record is no record of the file.
      {buildEdiText(headerBuffer(contact2.substr(0, contact2.size() - 2)), contact1),
       "CQSOs=1;1|CQSOP=123|CToSc=123|CODXC=QQ1ABC;JN80XX;467|[QSORecords;1]"},
  };
  for (const auto& c : cases) {
    const std::string lines = buildScoreLines(claimsOf(c.log), "");
    std::string picked;
    for (const std::string_view key : {"CQSOs=", "CQSOP=", "CToSc=", "CODXC=", "[QSORecords;"}) {
      const auto at = lines.find(key);
      ASSERT_NE(at, std::string::npos) << key;
      picked += (picked.empty() ? "" : "|") + lines.substr(at, lines.find("\r\n", at) - at);
    }
    EXPECT_EQ(picked, c.lines) << c.log;
  }
}

// Lines are numbered as the log shows them: the contact typed after an export shares its end
// line, line 42.
TEST(EdiText, NamesTheBrokenRecordsByTheirLogLine) {
  const std::string log = exported(contact1) + "261207;1440;QQ2DEF;1;59;002;59;017;;JN61A\r\n";
  const auto broken = reportOf(log).broken;
  ASSERT_EQ(broken.size(), 1U);
  EXPECT_EQ(broken[0].line, 42U);
  EXPECT_EQ(broken[0].start, "261207;1440;QQ2DEF;1;59;");
  EXPECT_TRUE(reportOf(exported(contact1 + contact2 + duplicate)).broken.empty());
}

// A report as one line, to compare two of them.
std::string summary(const RecordReport& report) {
  std::string text = std::to_string(report.recordLines);
  for (const BrokenRecord& broken : report.broken) {
    text += "|" + std::to_string(broken.line) + ":" + broken.start;
  }
  return text;
}

// The tally kept between exports reports what a reading of the whole buffer reports, whatever
// the operator did to the buffer in between.
TEST(RecordTally, ReportsWhatReadingTheWholeBufferReports) {
  enum class Change { Append, Rewrite, Export };
  struct Step {
    Change change;
    std::string text;
  };
  const std::string contact2Start = contact2.substr(0, 20);
  const std::vector<std::vector<Step>> sequences = {
      {{Change::Append, contact1},
       {Change::Append, contact2Start},
       {Change::Append, contact2.substr(20)},
       {Change::Append, "by hand\r\n"},
       {Change::Export, ""},
       {Change::Append, duplicate},
       {Change::Export, ""},
       {Change::Export, ""},
       {Change::Append, "261207;1440;QQ2DEF\r\n"},
       {Change::Export, ""}},
      // A last line without CR LF joins the end line when exported.
      {{Change::Append, contact1 + contact2Start},
       {Change::Export, ""},
       {Change::Append, contact2},
       {Change::Export, ""}},
      // Lines that move where the records start.
      {{Change::Append, contact1 + "[QSORecords;5]"},
       {Change::Append, "\r\n" + contact2},
       {Change::Append, "[Remarks]\r\n\r\n"},
       {Change::Append, "[QSORecords;1]\r\n"},
       {Change::Append, duplicate}},
      // An end line alone, or inside a line, in what the operator typed.
      {{Change::Append, contact1 + endLine + "\r\n" + contact2},
       {Change::Export, ""},
       {Change::Append, "x" + endLine + "y\r\n"},
       {Change::Export, ""}},
      {{Change::Append, contact1},
       {Change::Export, ""},
       {Change::Rewrite, contact2 + duplicate},
       {Change::Append, contact1},
       {Change::Export, ""}},
  };
  for (const auto& sequence : sequences) {
    RecordTally tally;
    std::string log;
    std::uint64_t rewrites = 0;
    std::string done;
    for (const Step& step : sequence) {
      done += step.text + "/";
      if (step.change == Change::Append) {
        log += step.text;
      } else if (step.change == Change::Rewrite) {
        log = step.text;
        ++rewrites;
      } else {
        tally.reportOf(log, rewrites);
        log = buildEdiText(headerBuffer(), log);
        tally.exported(log, ++rewrites);
      }
      EXPECT_EQ(summary(tally.reportOf(log, rewrites)), summary(reportOf(log))) << done;
    }
  }
}

TEST(EdiText, OfAnEmptyLogEndsRightBehindTheRecordsLine) {
  const std::string header = headerBuffer();
  EXPECT_TRUE(
      header.ends_with("\r\nCQSOs=0;1\r\nCQSOP=0\r\nCWWLs=0;0;1\r\nCWWLB=0\r\n"
                       "CExcs=0;0;1\r\nCExcB=0\r\nCDXCs=10;0;1\r\nCDXCB=0\r\nCToSc=0\r\n"
                       "CODXC=;;\r\n[Remarks]\r\n\r\n[QSORecords;0]\r\n"));
  EXPECT_EQ(buildEdiText(header, ""), header + endLine);
}

TEST(EdiText, CopiesAPlainLogAsItStandsEvenWithoutAFinalLineEnd) {
  const std::string header = headerBuffer();
  const std::string log = contact1 + duplicate + "\r\ntyped ; by hand\r\n" + "261207;1512;QQ3";
  EXPECT_EQ(buildEdiText(header, log), header + log + endLine);
}

struct EarlierExportCase {
  std::string log;
  std::string records;
};

class EdiSecondExport : public ::testing::TestWithParam<EarlierExportCase> {};

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
        EarlierExportCase{headerBuffer() + contact1, contact1}));

TEST(EdiText, AfterAnEarlierExportHasOneHeaderAndOneEndLine) {
  const std::string header = headerBuffer("Seconda");
  const std::string second = buildEdiText(header, exported(contact1 + contact2) + duplicate);
  EXPECT_EQ(second, buildEdiText(header, contact1 + contact2 + duplicate));
  EXPECT_EQ(buildEdiText(header, second), second);
}

}  // namespace
}  // namespace vantor
