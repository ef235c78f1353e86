#include "edi/edi_header.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace vantor {
namespace {

struct DateCase {
  std::string text;
  std::optional<std::string> converted;
};

class EdiDateConversion : public ::testing::TestWithParam<DateCase> {};

TEST_P(EdiDateConversion, ReversesTheFirstThreePartsAsTheyStand) {
  EXPECT_EQ(convertDate(GetParam().text), GetParam().converted);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, EdiDateConversion,
    ::testing::Values(DateCase{"07/12/2026", "20261207"}, DateCase{"7/12/2026", "2026127"},
                      DateCase{"07/12/2026/x", "20261207"}, DateCase{"a//b", "ba"},
                      DateCase{" 7 / 12 / 26 ", " 26  12  7 "},
                      DateCase{"07-12-2026", std::nullopt}, DateCase{"07/12", std::nullopt},
                      DateCase{"", std::nullopt}));

constexpr std::array<const char*, 10> bands{"50 Mhz",   "144 Mhz",  "432 Mhz", "1296 Mhz",
                                            "2320 Mhz", "5700 Mhz", "10 Ghz",  "24 Ghz",
                                            "47 Ghz",   "76 Ghz"};
constexpr std::array<const char*, 6> categories{
    "Singolo Operatore", "Multi operatore",    "6 ore",
    "Stazione Fissa",    "Stazione Portatile", "Stazione Siciliana"};
// One row per band, one column per category; "-" where the pair has no code.
constexpr std::array<std::array<const char*, 6>, 10> expectedCodes{{
    {"-", "-", "-", "6F", "6P", "-"},
    {"01", "02", "59", "1A", "1B", "1C"},
    {"03", "04", "60", "-", "-", "-"},
    {"05", "06", "-", "-", "-", "-"},
    {"07", "08", "-", "-", "-", "-"},
    {"11", "12", "-", "-", "-", "-"},
    {"13", "14", "-", "-", "-", "-"},
    {"15", "16", "-", "-", "-", "-"},
    {"17", "18", "-", "-", "-", "-"},
    {"19", "20", "-", "-", "-", "-"},
}};

TEST(EdiSectionCode, CoversEveryBandAndCategoryPair) {
  for (std::size_t b = 0; b < bands.size(); ++b) {
    for (std::size_t c = 0; c < categories.size(); ++c) {
      const std::string expected = expectedCodes[b][c];
      EXPECT_EQ(sectionCode(bands[b], categories[c]), expected == "-" ? "" : expected)
          << bands[b] << " / " << categories[c];
    }
  }
}

TEST(EdiSectionCode, MatchesOnlyTheExactTexts) {
  EXPECT_EQ(sectionCode("144 Mhz", "singolo operatore"), "");
  EXPECT_EQ(sectionCode("144 MHz", "Singolo Operatore"), "");
  EXPECT_EQ(sectionCode("144 Mhz", "Singolo Operatore "), "");
}

TEST(EdiHeaderSection, WritesEveryFieldUnderItsKeyInTheBuffersThreePieces) {
  StationHeader header;
  header.callsign = "IK2ABC/P";
  header.locator = "JN45ab";
  header.contest = "...";
  header.band = "50 Mhz";
  header.club = "ARI;Milano";
  header.name = "MARIO ROSSI";
  header.address = "VIA ROMA 1, INTERNO 2";
  header.postcode = "20100";
  header.city = "MILANO";
  header.country = "ITALIA";
  header.phone = "+39 02 1234";
  header.email = "mario@example.org";
  header.operators = "IK2ABC, IK2XYZ IW2QQQ";
  header.transmitter = "TX";
  header.power = "100 W";
  header.receiver = "RX";
  header.antennas = "4 el = yagi";
  header.antennaHeight = "12";
  header.comments = "never in the header section";

  const auto pieces = buildHeaderSection(header, "20261206", "20261207", "");
  EXPECT_EQ(pieces[0],
            "[REG1TEST;1]\r\nTName=...\r\nTDate=20261206;20261207\r\nPCall=IK2ABC/P\r\n"
            "PWWLo=JN45ab\r\nPExch=\r\nPAdr1=\r\nPAdr2=\r\nPSect=\r\nPBand=50 Mhz\r\n");
  EXPECT_EQ(pieces[1],
            "PClub=ARI;Milano\r\nRName=MARIO ROSSI\r\nRCall=IK2ABC/P\r\n"
            "RAdr1=VIA ROMA 1, INTERNO 2\r\nRAdr2=\r\nRPoCo=20100\r\nRCity=MILANO\r\n"
            "RCoun=ITALIA\r\nRPhon=+39 02 1234\r\n");
  EXPECT_EQ(pieces[2],
            "RHBBS=mario@example.org\r\nMOpe1=IK2ABC, IK2XYZ IW2QQQ\r\nMOpe2=\r\nSTXEq=TX\r\n"
            "SPowe=100 W\r\nSRXEq=RX\r\nSAnte=4 el = yagi\r\nSAntH=12;\r\n");
}

}  // namespace
}  // namespace vantor
