#include "known/known_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace vantor {
namespace {

using testing::TempFolder;

std::unique_ptr<KnownStore> openStore(const std::filesystem::path& file,
                                      KnownStore::Access access = KnownStore::Access::Write) {
  StoreOpening opening = KnownStore::open(file, access);
  EXPECT_TRUE(opening.store) << opening.problem;
  return std::move(opening.store);
}

void addAll(KnownStore& store, const std::vector<KnownStation>& stations) {
  std::string problem;
  ASSERT_TRUE(store.add(stations, problem)) << problem;
}

KnownStation station(std::string call, std::string locator = {}, std::string lastSeen = {},
                     std::string bands = {}) {
  KnownStation known;
  known.call = std::move(call);
  known.locator = std::move(locator);
  known.lastSeen = std::move(lastSeen);
  known.bands = std::move(bands);
  return known;
}

// The search as a plain scan of the calls in the order they were first added: those beginning
// with the fragment in alphabetical order, then the first others that hold it (three characters
// or more), put in alphabetical order.
std::vector<std::string> plainSearch(const std::vector<std::string>& calls,
                                     const std::string& fragment, std::size_t limit) {
  std::vector<std::string> beginning;
  std::vector<std::string> holding;
  for (const std::string& call : calls) {
    if (call.starts_with(fragment)) {
      beginning.push_back(call);
    } else if (fragment.size() >= 3 && call.find(fragment) != std::string::npos) {
      holding.push_back(call);
    }
  }
  std::sort(beginning.begin(), beginning.end());
  beginning.resize(std::min(beginning.size(), limit));
  holding.resize(std::min(holding.size(), limit - beginning.size()));
  std::sort(holding.begin(), holding.end());
  beginning.insert(beginning.end(), holding.begin(), holding.end());
  return beginning;
}

std::vector<std::string> randomCalls(std::size_t count) {
  std::mt19937 random(20261210);
  const std::string prefixes[] = {"QQ", "QR", "Q1", "QA", "QQ/", "QZ"};
  std::vector<std::string> calls;
  while (calls.size() < count) {
    std::string call = prefixes[random() % std::size(prefixes)] + std::to_string(random() % 10);
    for (std::size_t letter = 0; letter < 1 + random() % 3; ++letter) {
      call += static_cast<char>('A' + random() % 6);
    }
    if (random() % 8 == 0) {
      call += "/P";
    }
    if (std::find(calls.begin(), calls.end(), call) == calls.end()) {
      calls.push_back(call);
    }
  }
  return calls;
}

TEST(KnownStore, FindsWhatAPlainScanOfTheSameCallsFinds) {
  TempFolder folder;
  const auto store = openStore(folder.path() / "known.sqlite");
  const std::vector<std::string> calls = randomCalls(3000);
  std::vector<KnownStation> stations;
  for (const std::string& call : calls) {
    stations.push_back(station(call));
  }
  addAll(*store, stations);
  addAll(*store, {stations.begin(), stations.begin() + 100});
  std::mt19937 random(7);
  std::vector<std::string> fragments = {"Q",   "QQ",  "QQ1",  "/P",  "1AB",
                                        "Q/Q", "ZZZ", "QQ/5", "AAA", "P"};
  for (int pick = 0; pick < 300; ++pick) {
    const std::string& call = calls[random() % calls.size()];
    const std::size_t from = random() % call.size();
    fragments.push_back(call.substr(from, 1 + random() % (call.size() - from)));
  }
  for (const std::string& fragment : fragments) {
    for (const std::size_t limit : {1U, 12U, 40U}) {
      EXPECT_EQ(store->callsHolding(fragment, limit), plainSearch(calls, fragment, limit))
          << fragment << " limit " << limit;
    }
  }
  EXPECT_EQ(store->callCount(), calls.size());
}

TEST(KnownStore, GivesACallsLocatorsTheLatestFirst) {
  struct Case {
    const char* name;
    std::vector<KnownStation> added;
    std::vector<KnownLocator> expected;
  };
  const std::vector<Case> cases = {
      {"one locator", {station("QQ1ABC", "JN45OL", "20250601")}, {{"JN45OL", "20250601"}}},
      {"the latest first",
       {station("QQ1ABC", "JN45OL", "20240601"), station("QQ1ABC", "JN55AA", "20260901"),
        station("QQ1ABC", "JN44XX", "20250101")},
       {{"JN55AA", "20260901"}, {"JN44XX", "20250101"}, {"JN45OL", "20240601"}}},
      {"heard again keeps the later day",
       {station("QQ1ABC", "JN45OL", "20260901"), station("QQ1ABC", "JN45OL", "20200101")},
       {{"JN45OL", "20260901"}}},
      {"no day comes last",
       {station("QQ1ABC", "JN45OL"), station("QQ1ABC", "JN55AA", "20200101")},
       {{"JN55AA", "20200101"}, {"JN45OL", ""}}},
      {"a call without locator has none", {station("QQ1ABC")}, {}},
      {"another call's locators are not its own", {station("QQ1ABCD", "JN45OL", "20250101")}, {}},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const auto store = openStore(folder.path() / "known.sqlite");
    for (const KnownStation& known : c.added) {
      addAll(*store, {known});
    }
    EXPECT_EQ(store->locatorsOf("QQ1ABC"), c.expected) << c.name;
  }
}

TEST(KnownStore, KeepsWhatWasAddedForTheNextProgramAndItsReaders) {
  TempFolder folder;
  const auto file = folder.path() / "known.sqlite";
  {
    const auto store = openStore(file);
    addAll(*store, {station("QQ1ABC", "JN45OL", "20250601", "144 MHz")});
  }
  const auto writer = openStore(file);
  const auto reader = openStore(file, KnownStore::Access::Read);
  EXPECT_EQ(reader->locatorsOf("QQ1ABC"), (std::vector<KnownLocator>{{"JN45OL", "20250601"}}));
  addAll(*writer, {station("QQ2XYZ", "JN61AA", "20260101")});
  EXPECT_EQ(reader->callsHolding("QQ2", 5), std::vector<std::string>{"QQ2XYZ"});
}

TEST(KnownStore, AReaderOfAFileNoWriterMadeGetsNoStore) {
  TempFolder folder;
  const StoreOpening opening =
      KnownStore::open(folder.path() / "missing.sqlite", KnownStore::Access::Read);
  EXPECT_FALSE(opening.store);
  EXPECT_FALSE(opening.damaged);
}

TEST(KnownStore, TellsADamagedFileAndSetsItAside) {
  struct Case {
    const char* name;
    void (*damage)(const std::filesystem::path& file);
  };
  const Case cases[] = {
      {"not a database",
       [](const std::filesystem::path& file) {
         std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string(8192, 'x');
       }},
      {"pages overwritten",
       [](const std::filesystem::path& file) {
         std::fstream bytes(file, std::ios::binary | std::ios::in | std::ios::out);
         bytes.seekp(4096);
         bytes << std::string(std::filesystem::file_size(file) - 4096, '\x5a');
       }},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const auto file = folder.path() / "known.sqlite";
    {
      const auto store = openStore(file);
      std::vector<KnownStation> many;
      for (int n = 0; n < 2000; ++n) {
        many.push_back(station("QQ" + std::to_string(n) + "AB", "JN45OL", "20250101"));
      }
      addAll(*store, many);
    }
    c.damage(file);
    const StoreOpening opening = KnownStore::open(file, KnownStore::Access::Write);
    EXPECT_FALSE(opening.store) << c.name;
    EXPECT_TRUE(opening.damaged) << c.name << ": " << opening.problem;
    const auto aside = KnownStore::setAside(file, "20261210-1200");
    EXPECT_EQ(aside.filename(), "known-danneggiato-20261210-1200.sqlite") << c.name;
    EXPECT_FALSE(std::filesystem::exists(file)) << c.name;
    EXPECT_TRUE(openStore(file)) << c.name;
  }
}

TEST(KnownStore, TwoProgramsWritingAtOnceTakeTurnsAndLoseNothing) {
  TempFolder folder;
  const auto file = folder.path() / "known.sqlite";
  static_cast<void>(openStore(file));
  const auto write = [&file](char letter) {
    const auto store = openStore(file);
    for (int part = 0; part < 20; ++part) {
      std::vector<KnownStation> stations;
      for (int n = 0; n < 100; ++n) {
        stations.push_back(
            station(std::string("Q") + letter + std::to_string(part * 100 + n), "JN45OL"));
      }
      addAll(*store, stations);
    }
  };
  std::thread first(write, 'A');
  std::thread second(write, 'B');
  first.join();
  second.join();
  EXPECT_EQ(openStore(file)->callCount(), 4000U);
}

}  // namespace
}  // namespace vantor
