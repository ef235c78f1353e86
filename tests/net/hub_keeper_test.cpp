#include "net/hub_keeper.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/net_event.h"
#include "support/temp_folder.h"

namespace vantor {
namespace {

std::string claimOf(const std::string& contest) {
  ContestClaim claim;
  claim.header.callsign = "IQ4AA";
  claim.header.contest = contest;
  claim.contestKey = contestKeyOf(claim.header);
  return encodeClaim(claim);
}

// The hub serves the contest of the first station that asks, started again or not, until it is
// told to forget it; a question that is no claim leaves it as it is.
TEST(HubKeeperTest, ServesTheFirstContestAskedUntilToldToForgetIt) {
  testing::TempFolder folder;
  const auto file = folder.path() / "contest";
  platform::FileSystem files;
  const struct {
    bool startAgain;
    bool forget;
    std::string question;
    std::string answer;
  } steps[] = {
      {true, false, "rumore", ""},
      {false, false, claimOf("Primo"), claimOf("Primo")},
      {false, false, claimOf("Secondo"), claimOf("Primo")},
      {true, false, claimOf("Secondo"), claimOf("Primo")},
      {true, true, claimOf("Secondo"), claimOf("Secondo")},
      {true, false, claimOf("Primo"), claimOf("Secondo")},
  };
  std::unique_ptr<HubKeeper> keeper;
  for (const auto& step : steps) {
    if (step.startAgain) {
      keeper = std::make_unique<HubKeeper>(files, file, step.forget);
    }
    EXPECT_EQ(keeper->answer(step.question), step.answer) << step.question;
  }
}

}  // namespace
}  // namespace vantor
