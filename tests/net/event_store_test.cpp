#include "net/event_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantor {
namespace {

TEST(EventStoreTest, OnlyWholeEventsAreRead) {
  const std::string two = storedEvent("uno") + storedEvent("due\nrighe");
  const struct {
    std::string text;
    std::vector<std::string> payloads;
    std::size_t whole;
  } cases[] = {
      {"", {}, 0},
      {two, {"uno", "due\nrighe"}, two.size()},
      {two + "5\nabc", {"uno", "due\nrighe"}, two.size()},
      {two + "3\nabcd\n", {"uno", "due\nrighe"}, two.size()},
      {two + "x\nabc\n", {"uno", "due\nrighe"}, two.size()},
      {"-1\n\n", {}, 0},
      {"03\nabc\n", {}, 0},
      {"99999999\nabc\n", {}, 0},
      {"3\nabc", {}, 0},
      {storedEvent(""), {""}, 3},
  };
  for (const auto& test : cases) {
    const StoredEvents stored = readStoredEvents(test.text);
    EXPECT_EQ(stored.payloads, test.payloads) << test.text;
    EXPECT_EQ(stored.wholeBytes, test.whole) << test.text;
  }
}

TEST(EventStoreTest, APartLeftByAPowerCutIsCutOffAndTheFileGoesOn) {
  testing::TempFolder folder;
  const auto path = folder.path() / "eventi";
  {
    std::ofstream file(path, std::ios::binary);
    file << storedEvent("uno") << "12\nmezzo";
  }
  platform::FileSystem files;
  std::vector<std::string> payloads;
  {
    EventStore store;
    ASSERT_FALSE(store.open(files, path, payloads));
    EXPECT_EQ(payloads, std::vector<std::string>{"uno"});
    ASSERT_FALSE(store.append("due"));
    ASSERT_FALSE(store.sync());
  }
  EventStore again;
  ASSERT_FALSE(again.open(files, path, payloads));
  EXPECT_EQ(payloads, (std::vector<std::string>{"uno", "due"}));
}

}  // namespace
}  // namespace vantor
