#include "net/net_event.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace vantor {
namespace {

constexpr std::string_view kRecord = "261207;1432;I4ABC;1;59;001;59;;;JN61FU;349;;N;;";

NetEvent sampleEvent() {
  NetEvent event;
  event.contestKey = "0123456789abcdef";
  event.station = "432-B";
  event.sequence = 7;
  event.kind = EventKind::Correction;
  event.contact = 3;
  event.version = 2;
  event.band = "432 Mhz";
  event.record = kRecord;
  event.sentAtMs = 1'796'000'000'000;
  return event;
}

// A line of the encoded event replaced by another: the decoder must refuse each.
std::string replaced(std::string message, std::string_view line, std::string_view by) {
  const std::size_t at = message.find(line);
  return at == std::string::npos ? message : message.replace(at, line.size(), by);
}

TEST(NetEventTest, EachKindComesBackAsItWasSent) {
  for (const EventKind kind : {EventKind::Contact, EventKind::Correction, EventKind::Removal}) {
    NetEvent event = sampleEvent();
    event.kind = kind;
    event.record = kind == EventKind::Removal ? "" : std::string(kRecord);
    const auto decoded = decodeEvent(encodeEvent(event));
    ASSERT_TRUE(std::holds_alternative<NetEvent>(decoded)) << std::get<DecodeProblem>(decoded);
    EXPECT_EQ(std::get<NetEvent>(decoded), event);
  }
}

TEST(NetEventTest, AnythingOffTheFormIsRefused) {
  const std::string good = encodeEvent(sampleEvent());
  const struct {
    std::string_view what;
    std::string message;
  } cases[] = {
      {"empty", ""},
      {"other magic", replaced(good, "VANTOR-EVENTO 1", "VANTOR-EVENTO 2")},
      {"fields swapped", replaced(replaced(good, "sequenza=7", "X"), "contatto=3", "sequenza=7")},
      {"a field missing", replaced(good, "versione=2\n", "")},
      {"a line more", good + "altro=1\n"},
      {"a number with a leading zero", replaced(good, "sequenza=7", "sequenza=07")},
      {"a number signed", replaced(good, "sequenza=7", "sequenza=+7")},
      {"a number too large", replaced(good, "sequenza=7", "sequenza=99999999999999999999")},
      {"sequence 0", replaced(good, "sequenza=7", "sequenza=0")},
      {"version 0", replaced(good, "versione=2", "versione=0")},
      {"clock beyond 64 bits signed",
       replaced(good, "inviato=1796000000000", "inviato=9223372036854775808")},
      {"station lower case", replaced(good, "stazione=432-B", "stazione=432-b")},
      {"station too long", replaced(good, "stazione=432-B", "stazione=ABCDEFGHIJKLMNOPQ")},
      {"key not hex", replaced(good, "0123456789abcdef", "0123456789abcdeg")},
      {"unknown kind", replaced(good, "tipo=correzione", "tipo=altro")},
      {"no band", replaced(good, "banda=432 Mhz", "banda=")},
      {"band with a field end", replaced(good, "banda=432 Mhz", "banda=432;Mhz")},
      {"record not a record", replaced(good, std::string(kRecord), "ciao")},
      {"record with a control", replaced(good, "I4ABC", "I4\tBC")},
      {"removal with a record", replaced(good, "tipo=correzione", "tipo=eliminazione")},
      {"too long", good + std::string(kLongestMessage, 'x')},
      {"cut short", good.substr(0, good.size() / 2)},
      {"the last line end missing", good.substr(0, good.size() - 1)},
  };
  for (const auto& test : cases) {
    EXPECT_TRUE(std::holds_alternative<DecodeProblem>(decodeEvent(test.message))) << test.what;
  }
}

TEST(NetEventTest, PresenceAndClaimComeBackAsTheyWereSent) {
  Presence presence;
  presence.contestKey = "0123456789abcdef";
  presence.station = "144";
  presence.sequence = 12;
  presence.clockMs = 42;
  for (const std::string band : {"", "1296 Mhz"}) {
    presence.band = band;
    const auto decoded = decodePresence(encodePresence(presence));
    ASSERT_TRUE(std::holds_alternative<Presence>(decoded));
    EXPECT_EQ(std::get<Presence>(decoded), presence);
  }
  ContestClaim claim;
  claim.contestKey = "0123456789abcdef";
  claim.header.callsign = "IQ4AA";
  claim.header.contest = "Contest di Prova";
  claim.header.city = "Città";
  const auto decoded = decodeClaim(encodeClaim(claim));
  ASSERT_TRUE(std::holds_alternative<ContestClaim>(decoded));
  EXPECT_EQ(std::get<ContestClaim>(decoded).header.city, "Città");
  EXPECT_TRUE(std::holds_alternative<DecodeProblem>(decodePresence(encodeEvent(sampleEvent()))));
  EXPECT_TRUE(std::holds_alternative<DecodeProblem>(decodeClaim("VANTOR-CONTEST 1\n")));
}

TEST(NetEventTest, StationNamesAndContestKeys) {
  for (const std::string_view name : {"144", "432-B", "A", "ABCDEFGHIJKLMNOP"}) {
    EXPECT_TRUE(isStationName(name)) << name;
  }
  for (const std::string_view name : {"", "432 B", "432.B", "a", "ABCDEFGHIJKLMNOPQ", "*", ">"}) {
    EXPECT_FALSE(isStationName(name)) << name;
  }
  StationHeader header;
  header.callsign = "iq4aa";
  header.contest = "Contest";
  header.startDate = "07/12/2026";
  StationHeader same = header;
  same.callsign = "IQ4AA";
  same.city = "Bologna";
  EXPECT_EQ(contestKeyOf(header), contestKeyOf(same));
  EXPECT_EQ(contestKeyOf(header).size(), 16u);
  same.startDate = "08/12/2026";
  EXPECT_NE(contestKeyOf(header), contestKeyOf(same));
}

}  // namespace
}  // namespace vantor
