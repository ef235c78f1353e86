#include "map/contest_rate.h"

#include <gtest/gtest.h>

#include "header/header_form.h"
#include "log/log_fixture.h"

namespace vantor::testing {
namespace {

class ContestRateTest : public LogFixture {
 protected:
  ContestRateTest() { session.header().bandList.pickText("144 Mhz"); }

  // A contact at `hour`:`minute` of 7 December 2026 on the band logged.
  void insertAt(int hour, int minute, std::string_view call) {
    clock.pin({2026, 12, 7, hour, minute});
    insert(call, "JN61FU");
  }
};

TEST_F(ContestRateTest, CountsTheContactsOfEachHourAndBandAndTheBestSixtyMinutes) {
  ContestRate rate(log);
  EXPECT_FALSE(rate.bestHour());
  insertAt(14, 10, "QQ1AAA");
  insertAt(14, 50, "QQ1AAB");
  insertAt(15, 20, "QQ1AAC");
  insertAt(15, 40, "QQ1AAA");  // a duplicate counts nowhere
  session.header().bandList.pickText("432 Mhz");
  insertAt(15, 45, "QQ1AAA");
  insertAt(17, 5, "QQ1AAD");
  ASSERT_TRUE(rate.refresh());
  EXPECT_FALSE(rate.refresh());

  EXPECT_EQ(rate.bands(), (std::vector<std::string>{"144 Mhz", "432 Mhz"}));
  const auto hours = rate.hours();
  ASSERT_EQ(hours.size(), 4u);
  const std::vector<std::vector<std::size_t>> contacts = {{2, 0}, {1, 1}, {0, 0}, {0, 1}};
  const std::vector<double> running = {698, 1396, 1396, 1745};
  for (std::size_t i = 0; i < hours.size(); ++i) {
    EXPECT_EQ(hours[i].contacts, contacts[i]) << i;
    EXPECT_EQ(hours[i].runningPoints, running[i]) << i;
  }
  EXPECT_EQ(hours[0].hour * 60, minuteOf({2026, 12, 7, 14, 0}));
  const auto best = rate.bestHour();
  ASSERT_TRUE(best);
  EXPECT_EQ(best->contacts, 3u);  // 14:50, 15:20 and 15:45
  EXPECT_EQ(rate.points(), 1745);
}

TEST_F(ContestRateTest, ReadsABandAgainWhenItsLogWasRewritten) {
  ContestRate rate(log);
  insertAt(14, 10, "QQ1AAA");
  insertAt(14, 20, "QQ1AAB");
  rate.refresh();
  log.removeContact(log.document().contactAt(0)->id);
  ASSERT_TRUE(rate.refresh());
  ASSERT_EQ(rate.hours().size(), 1u);
  EXPECT_EQ(rate.hours()[0].contacts, std::vector<std::size_t>{1});
}

TEST(MomentOfMinute, GivesBackTheMomentOfEveryMinuteCount) {
  for (const DateTime moment :
       {DateTime{2026, 12, 7, 14, 32}, DateTime{2000, 2, 29, 23, 59}, DateTime{1970, 1, 1, 0, 0},
        DateTime{1969, 12, 31, 23, 59}, DateTime{2100, 3, 1, 0, 1}}) {
    EXPECT_EQ(momentOfMinute(minuteOf(moment)), moment);
  }
}

}  // namespace
}  // namespace vantor::testing
