#include "net/shared_contest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantor {
namespace {

constexpr std::string_view kKey = "0123456789abcdef";

NetEvent eventOf(std::string station, std::uint64_t sequence, EventKind kind, std::uint64_t contact,
                 std::uint64_t version, std::string record) {
  NetEvent event;
  event.contestKey = kKey;
  event.station = std::move(station);
  event.sequence = sequence;
  event.kind = kind;
  event.contact = contact;
  event.version = version;
  event.band = "144 Mhz";
  event.record = std::move(record);
  return event;
}

std::string recordAt(std::string_view time, std::string_view call) {
  return "261207;" + std::string(time) + ";" + std::string(call) + ";1;59;001;59;;;JN61FU;349;;;;";
}

// What the contest shows of the band: each contact's call, in order.
std::vector<std::string> callsOf(const SharedContest& contest) {
  std::vector<std::string> calls;
  for (const SharedContact* contact : contest.bandContacts("144 Mhz")) {
    calls.push_back(contact->record.substr(12, contact->record.find(';', 12) - 12));
  }
  return calls;
}

// The owner's latest version wins whatever order its events come in, and each order gives the
// same contest.
TEST(SharedContestTest, TheOwnersLatestVersionWinsInEveryOrder) {
  const std::vector<NetEvent> events{
      eventOf("144", 1, EventKind::Contact, 1, 1, recordAt("1400", "I4AAA")),
      eventOf("144", 2, EventKind::Correction, 1, 2, recordAt("1400", "I4AAB")),
      eventOf("144", 3, EventKind::Contact, 2, 1, recordAt("1300", "I4CCC")),
      eventOf("432", 1, EventKind::Contact, 1, 1, recordAt("1400", "I5DDD")),
      eventOf("144", 4, EventKind::Removal, 2, 2, ""),
      eventOf("432", 2, EventKind::Contact, 2, 1, recordAt("1200", "I5EEE")),
  };
  std::vector<std::size_t> order{0, 1, 2, 3, 4, 5};
  const std::vector<std::string> expected{"I5EEE", "I4AAB", "I5DDD"};
  do {
    SharedContest contest{std::string(kKey)};
    for (const std::size_t index : order) {
      contest.apply(events[index]);
    }
    ASSERT_EQ(callsOf(contest), expected);
    EXPECT_TRUE(contest.find({"144", 2})->removed);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(SharedContestTest, WhatAnEventDoes) {
  SharedContest contest{std::string(kKey)};
  const NetEvent first = eventOf("144", 1, EventKind::Contact, 1, 2, recordAt("1400", "I4AAA"));
  EXPECT_EQ(contest.apply(first), Merge::Applied);
  EXPECT_EQ(contest.apply(first), Merge::Stale);
  EXPECT_EQ(contest.apply(eventOf("144", 2, EventKind::Correction, 1, 1, recordAt("1400", "X"))),
            Merge::Stale);
  NetEvent other = first;
  other.contestKey = "fedcba9876543210";
  EXPECT_EQ(contest.apply(other), Merge::OtherContest);
  EXPECT_EQ(contest.lastSequence("144"), 2u);
  EXPECT_EQ(contest.lastContact("144"), 1u);
  EXPECT_EQ(contest.lastSequence("432"), 0u);
}

TEST(SharedContestTest, TheSequencesNotHeardAreThoseMissing) {
  const struct {
    std::vector<std::uint64_t> heard;
    std::uint64_t announced;
    std::vector<SequenceGap> missing;
    std::uint64_t through;
  } cases[] = {
      {{}, 0, {}, 0},
      {{}, 3, {{1, 3}}, 0},
      {{1, 2, 3}, 3, {}, 3},
      {{1, 2, 3}, 5, {{4, 5}}, 3},
      {{1, 3, 4, 7}, 8, {{2, 2}, {5, 6}, {8, 8}}, 1},
      {{2, 5}, 4, {{1, 1}, {3, 4}}, 0},
      {{7, 1, 2}, 2, {}, 2},
  };
  for (const auto& test : cases) {
    SharedContest contest{std::string(kKey)};
    for (const std::uint64_t sequence : test.heard) {
      contest.apply(
          eventOf("144", sequence, EventKind::Contact, sequence, 1, recordAt("1400", "A")));
    }
    EXPECT_EQ(contest.missing("144", test.announced), test.missing) << test.announced;
    EXPECT_EQ(contest.heardThrough("144"), test.through);
  }
}

TEST(SharedContestTest, TheMarksEachStationWorksOutDoNotMakeAnotherContact) {
  const std::string record = recordAt("1400", "I4AAA");
  const struct {
    std::string other;
    bool same;
  } cases[] = {
      {record, true},
      {"261207;1400;I4AAA;1;59;001;59;;;JN61FU;0;;;;D", true},
      {"261207;1400;I4AAA;1;59;001;59;;;JN61FU;349;;N;;", true},
      {"261207;1401;I4AAA;1;59;001;59;;;JN61FU;349;;;;", false},
      {"261207;1400;I4AAA;1;59;002;59;;;JN61FU;349;;;;", false},
      {"261207;1400;I4AAA;1;59;001;59;;;JN61FV;349;;;;", false},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(sameContact(record, test.other), test.same) << test.other;
  }
  EXPECT_TRUE(compareMoments(recordAt("1400", "B"), recordAt("1401", "A")) < 0);
  EXPECT_TRUE(compareMoments("261208;0000;A;1;59;001;59;;;JN61FU;349;;;;", recordAt("2359", "B")) >
              0);
  EXPECT_TRUE(compareMoments(recordAt("1400", "B"), recordAt("1400", "A")) == 0);
}

}  // namespace
}  // namespace vantor
