#include "known/known_import.h"

#include "edi/edi_reader.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {
namespace {

// A line of a file and what it gives: a station, "CALL|LOCATOR|DATE|BANDS"; a bad line, "! "
// and its reason; or nothing, "".
struct FileLine {
  std::string text;
  std::string gives;
};

std::string fileOf(const std::vector<FileLine>& lines, std::string_view end = "\r\n") {
  std::string file;
  for (const FileLine& line : lines) {
    file.append(line.text).append(end);
  }
  return file;
}

std::string stationText(const KnownStation& station) {
  return station.call + "|" + station.locator + "|" + station.lastSeen + "|" + station.bands;
}

std::string badText(std::size_t number, std::string_view reason) {
  return std::to_string(number) + ": " + std::string(reason);
}

// The stations and the bad lines of a batch as the tables write them.
struct Outcome {
  std::vector<std::string> stations;
  std::vector<std::string> bad;

  bool operator==(const Outcome&) const = default;
};

Outcome outcomeOf(const ImportBatch& batch) {
  Outcome outcome;
  for (const KnownStation& station : batch.stations) {
    outcome.stations.push_back(stationText(station));
  }
  for (const BadLine& line : batch.bad) {
    outcome.bad.push_back(badText(line.number, line.reason));
  }
  return outcome;
}

Outcome expectedOf(const std::vector<FileLine>& lines) {
  Outcome outcome;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string& gives = lines[index].gives;
    if (gives.starts_with("! ")) {
      outcome.bad.push_back(badText(index + 1, gives.substr(2)));
    } else if (!gives.empty()) {
      outcome.stations.push_back(gives);
    }
  }
  return outcome;
}

void PrintTo(const Outcome& outcome, std::ostream* out) {
  for (const std::string& station : outcome.stations) {
    *out << "\n  " << station;
  }
  for (const std::string& bad : outcome.bad) {
    *out << "\n  riga " << bad;
  }
}

// Each table reads the same with CR LF and LF line ends and after a UTF-8 byte-order mark.
void expectTable(ImportFormat format, const std::vector<FileLine>& lines) {
  const Outcome expected = expectedOf(lines);
  EXPECT_EQ(outcomeOf(parseKnownStations(format, fileOf(lines))), expected);
  EXPECT_EQ(outcomeOf(parseKnownStations(format, fileOf(lines, "\n"))), expected) << "LF";
  EXPECT_EQ(outcomeOf(parseKnownStations(format, "\xEF\xBB\xBF" + fileOf(lines))), expected)
      << "byte-order mark";
}

TEST(KnownImport, ReadsTheRecordsOfAnEdiFile) {
  expectTable(
      ImportFormat::Edi,
      {
          {"[REG1TEST;1]", ""},
          {"PCall=QQ9XYZ", ""},
          {"PBand=144 MHz", ""},
          {"PWWLo=JN61FU", ""},
          {"[Remarks]", ""},
          {"nessuna", ""},
          {"[QSORecords;9]", ""},
          {"261207;1432;QQ1ABC;1;59;001;59;001;;JN45AB;243;;N;;", "QQ1ABC|JN45AB|20261207|144 MHz"},
          {"261207;1433;qq2abc/p;1;59;002;59;002;;jn45ac;243;;N;;",
           "QQ2ABC/P|JN45AC|20261207|144 MHz"},
          {"261207;1434;QQ1ABC;1;59;003;59;003;;JN45AD;0;;N;;D", "QQ1ABC|JN45AD|20261207|144 MHz"},
          {"261207;1435;QQ;1;59;004;59;004;;JN45AB;243;;N;;", "! nominativo non valido: QQ"},
          {"261207;1436;QQ3ABC;1;59;005;59;005;;JN99ZZ;243;;N;;", "! locatore non valido: JN99ZZ"},
          {"261207;1437;QQ4ABC;1;59;006;59;006;;JN45;243;;N;;", "! locatore non valido: JN45"},
          {"261340;1438;QQ5ABC;1;59;007;59;007;;JN45AB;243;;N;;", "! data non valida: 261340"},
          {"261207;1439;QQ6ABC;1;59", "! riga di QSO non valida"},
          {"", ""},
          {"261207;1440;;1;59;008;59;008;;JN45AB;243;;N;;", "! manca il nominativo"},
          {"[END;Created by another program]", ""},
      });
}

// A line longer than any EDI file holds ends the reading: the records before it are kept.
TEST(KnownImport, KeepsTheEdiRecordsBeforeALineTooLong) {
  const std::string file =
      "[REG1TEST;1]\n[QSORecords;2]\n"
      "261207;1432;QQ1ABC;1;59;001;59;001;;JN45AB;243;;N;;\n" +
      std::string(kLongestEdiLine + 1, 'x') +
      "\n261207;1433;QQ2ABC;1;59;002;59;002;;JN45AC;243;;N;;\n";
  const Outcome expected{{"QQ1ABC|JN45AB|20261207|"}, {"4: riga troppo lunga"}};
  EXPECT_EQ(outcomeOf(parseKnownStations(ImportFormat::Edi, file)), expected);
}

TEST(KnownImport, ReadsACallHistoryByItsOrderLines) {
  expectTable(ImportFormat::CallHistory,
              {
                  {"# call history", ""},
                  {"QQ1ABC,JN45AB", "! riga prima di !!Order!!"},
                  {"!!Order!!,Call,Name,Loc1", ""},
                  {"QQ1ABC,Mario,JN45AB", "QQ1ABC|JN45AB||"},
                  {"  qq2abc , Anna , jn45ac  ", "QQ2ABC|JN45AC||"},
                  {"QQ3ABC,\"Rossi, Mario\",JN45AD", "QQ3ABC|JN45AD||"},
                  {"QQ4ABC,Luca,", "QQ4ABC|||"},
                  {"QQ5ABC", "QQ5ABC|||"},
                  {"", ""},
                  {"QQ,Piero,JN45AB", "! nominativo non valido: QQ"},
                  {"QQ6ABC,Piero,JN99ZZZ", "! locatore non valido: JN99ZZZ"},
                  {",Piero,JN45AB", "! manca il nominativo"},
                  {"!!ORDER!!,loc1,Exch1,CALL", ""},
                  {"JN45AE,x,QQ7ABC", "QQ7ABC|JN45AE||"},
                  {"\"JN45AF\",\"\"\"x\"\"\",\"QQ8ABC\"", "QQ8ABC|JN45AF||"},
                  {"!!Order!!,Name,Loc1", ""},
                  {"Mario,JN45AB", "! manca la colonna Call in !!Order!!"},
              });
}

TEST(KnownImport, ReadsACallLocatorList) {
  expectTable(ImportFormat::CallLocatorList,
              {
                  {"# CALL LOCATOR YYYYMMDD BANDS", ""},
                  {"QQ1ABC JN45AB 20240615 144 432", "QQ1ABC|JN45AB|20240615|144 432"},
                  {"qq2abc\tjn45ac\t20240229", "QQ2ABC|JN45AC|20240229|"},
                  {"QQ3ABC JN45AD", "QQ3ABC|JN45AD||"},
                  {"   ", ""},
                  {"QQ4ABC", "! manca il locatore"},
                  {"QQ JN45AB 20240615", "! nominativo non valido: QQ"},
                  {"QQ5ABC JN99ZZZ 20240615", "! locatore non valido: JN99ZZZ"},
                  {"QQ6ABC JN45AB 20261340", "! data non valida: 20261340"},
                  {"QQ7ABC JN45AB 20230229", "! data non valida: 20230229"},
                  {"QQ8ABC JN45AB 144", "! data non valida: 144"},
              });
}

TEST(KnownImport, ReadsACallList) {
  expectTable(ImportFormat::CallList,
              {
                  {"# MASTER.SCP", ""},
                  {"QQ1ABC", "QQ1ABC|||"},
                  {"  qq2abc/p ", "QQ2ABC/P|||"},
                  {"", ""},
                  {"QQ", "! nominativo non valido: QQ"},
                  {"QQ3ABC JN45AB", "! nominativo non valido: QQ3ABC JN45AB"},
              });
}

// A byte that is not ASCII makes a call bad; the reason quotes it as UTF-8, a byte that is not
// UTF-8 read as Windows-1252.
TEST(KnownImport, RefusesCallsWithLettersBeyondAscii) {
  const struct {
    ImportFormat format;
    std::string file;
    std::string reason;
  } cases[] = {
      {ImportFormat::CallList,
       "QQ1\xC8"
       "BC\n",
       "nominativo non valido: QQ1ÈBC"},
      {ImportFormat::CallList,
       "qq1\xC3\xA8"
       "bc\n",
       "nominativo non valido: QQ1ÈBC"},
      {ImportFormat::CallLocatorList, "QQ1\xFF JN45AB\n", "nominativo non valido: QQ1ÿ"},
      {ImportFormat::Edi,
       "[REG1TEST;1]\n[QSORecords;1]\n261207;1432;QQ1\xC8;1;59;001;59;001;;JN45AB;243;;N;;\n",
       "nominativo non valido: QQ1È"},
  };
  for (const auto& test : cases) {
    const ImportBatch batch = parseKnownStations(test.format, test.file);
    EXPECT_TRUE(batch.stations.empty()) << test.file;
    ASSERT_EQ(batch.bad.size(), 1u) << test.file;
    EXPECT_EQ(batch.bad[0].reason, test.reason);
  }
}

TEST(KnownImport, DetectsTheFormatByNameAndLines) {
  const struct {
    std::string_view name;
    std::string bytes;
    std::optional<ImportFormat> format;
  } cases[] = {
      {"01_QQ9XYZ.edi", "[REG1TEST;1]\r\nPCall=QQ9XYZ\r\n", ImportFormat::Edi},
      {"x.edi", "\xEF\xBB\xBF[REG1TEST;1]\n", ImportFormat::Edi},
      {"QQ_history.txt", "# history\n!!Order!!,Call,Loc1\nQQ1ABC,JN45AB\n",
       ImportFormat::CallHistory},
      {"history.txt", "QQ1ABC JN45AB\n!!Order!!,Call\n", ImportFormat::CallHistory},
      {"MASTER.SCP", "", ImportFormat::CallList},
      {"/home/op/master.scp", "QQ1ABC JN45AB\n", ImportFormat::CallList},
      {"calls.txt", "# calls\nQQ1ABC\n\nQQ2ABC\r\n", ImportFormat::CallList},
      {"calls.txt", "QQ1ABC JN45AB 20240615 144\nQQ2ABC\n", ImportFormat::CallLocatorList},
      {"calls.txt", "CALL LOCATOR\nqq1abc jn45ab\n", ImportFormat::CallLocatorList},
      {"notes.txt", "", std::nullopt},
      {"notes.txt", "# only a comment\n", std::nullopt},
      {"notes.txt", "QQ1ABC JN45\n", std::nullopt},
      {"notes.txt", "Ho sentito QQ1ABC in JN45AB\n", std::nullopt},
      {"notes.txt", std::string("\x00\xFF\xFE", 3) + " binary", std::nullopt},
  };
  for (const auto& [name, bytes, format] : cases) {
    EXPECT_EQ(detectFormat(name, bytes), format) << name << ": " << bytes;
  }
}

TEST(KnownImport, ReadsTwoHundredThousandLines) {
  constexpr std::size_t kLines = 200'000;
  std::string file = "!!Order!!,Call,Name,Loc1\n";
  for (std::size_t index = 0; index < kLines; ++index) {
    const std::string serial = std::to_string(index);
    file += "QQ" + serial + "A,Nome,JN" + std::to_string(index % 100 + 100).substr(1) + "AB\n";
  }
  const ImportBatch batch = parseKnownStations(ImportFormat::CallHistory, file);
  EXPECT_EQ(batch.stations.size(), kLines);
  EXPECT_TRUE(batch.bad.empty());
}

TEST(KnownImport, ReportsTheCountsAndTheFirstBadLines) {
  const auto bad = [](std::size_t count) {
    std::vector<BadLine> lines;
    for (std::size_t number = 1; number <= count; ++number) {
      lines.push_back(BadLine{number * 10, "nominativo non valido: QQ"});
    }
    return lines;
  };
  const struct {
    std::size_t stations;
    std::size_t badLines;
    std::string_view report;
  } cases[] = {
      {0, 0, "QQ_history.txt: nessuna stazione, nessuna riga scartata"},
      {1, 1, "QQ_history.txt: 1 stazione, 1 riga scartata (riga 10: nominativo non valido: QQ)"},
      {1234, 3,
       "QQ_history.txt: 1.234 stazioni, 3 righe scartate (riga 10: nominativo non valido: QQ; "
       "riga 20: nominativo non valido: QQ; riga 30: nominativo non valido: QQ)"},
      {12345, 4,
       "QQ_history.txt: 12.345 stazioni, 4 righe scartate (riga 10: nominativo non valido: QQ; "
       "riga 20: nominativo non valido: QQ; riga 30: nominativo non valido: QQ; …)"},
  };
  for (const auto& test : cases) {
    ImportBatch batch;
    batch.stations.resize(test.stations);
    batch.bad = bad(test.badLines);
    EXPECT_EQ(importReport("QQ_history.txt", batch), test.report);
  }
}

}  // namespace
}  // namespace vantor
