#include "known/known_stations.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace vantor {
namespace {

using testing::TempFolder;

const std::filesystem::path kEdiFile =
    std::filesystem::path(VANTOR_TEST_DATA_DIR) / "01_QQ9XYZ.edi";

void write(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// Waits, a bounded while, for what the store's thread does.
template <typename Condition>
bool eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return condition();
}

TEST(KnownImportFiles, ImportsFilesAndFoldersAndReportsEachFile) {
  TempFolder folder;
  const auto past = folder.path() / "contest passati";
  std::filesystem::create_directories(past / "2025");
  std::filesystem::copy_file(kEdiFile, past / "2025" / "01_QQ9XYZ.edi");
  write(past / "note.txt", "not a list of calls, since it has words in it\n");
  write(folder.path() / "MASTER.SCP", "# calls\nQQ2XYZ\nQQ\nQQ3ABC\n");
  const auto opening = KnownStore::open(folder.path() / "known.sqlite", KnownStore::Access::Write);
  ASSERT_TRUE(opening.store);
  std::vector<ImportProgress> steps;
  const auto reports =
      importInto(*opening.store,
                 importedFiles({past, folder.path() / "MASTER.SCP", folder.path() / "missing.txt"}),
                 [&steps](const ImportProgress& progress) {
                   steps.push_back(progress);
                   return true;
                 });
  ASSERT_EQ(reports.size(), 4U);
  EXPECT_EQ(reports[0], "01_QQ9XYZ.edi: 1 stazione, nessuna riga scartata");
  EXPECT_TRUE(reports[1].starts_with("MASTER.SCP: 2 stazioni, 1 riga scartata (riga 3: "))
      << reports[1];
  EXPECT_TRUE(reports[2].starts_with("missing.txt: impossibile leggerlo (")) << reports[2];
  EXPECT_EQ(reports[3], "Stazioni conosciute nell'archivio: 3");
  EXPECT_EQ(opening.store->locatorsOf("QQ1ABC"),
            (std::vector<KnownLocator>{{"JN80XX", "20261207"}}));
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.back().done, steps.back().total);
}

TEST(KnownImportFiles, ADamagedStoreIsSetAsideAndRebuiltFromTheEdiFiles) {
  TempFolder folder;
  const KnownPlaces places{folder.path() / "data" / "stazioni.sqlite", folder.path() / "edi"};
  std::filesystem::create_directories(places.ediFolder);
  std::filesystem::copy_file(kEdiFile, places.ediFolder / "01_QQ9XYZ.edi");
  write(places.store, std::string(4096, 'x'));
  std::vector<std::string> notices;
  const auto store = openKnownStore(places, "20261210-120000", notices);
  ASSERT_TRUE(store);
  ASSERT_EQ(notices.size(), 1U);
  EXPECT_EQ(notices[0],
            "L'archivio delle stazioni conosciute era danneggiato: è stato messo da parte come "
            "stazioni-danneggiato-20261210-120000.sqlite e ricostruito da 1 file EDI della "
            "cartella " +
                places.ediFolder.string());
  EXPECT_TRUE(std::filesystem::exists(places.store.parent_path() /
                                      "stazioni-danneggiato-20261210-120000.sqlite"));
  EXPECT_EQ(store->callsHolding("QQ1", 5), std::vector<std::string>{"QQ1ABC"});
}

TEST(KnownStationsThread, OpensOnlyWhenStartedThenLearnsAndImportsWithoutHoldingTheCaller) {
  TempFolder folder;
  const KnownPlaces places{folder.path() / "stazioni.sqlite", folder.path()};
  write(folder.path() / "calls.txt", "QQ5AAA JN45OL 20250601 144\nQQ5AAB JN55AA\n");
  KnownStations known(places);
  EXPECT_FALSE(known.ready());
  EXPECT_TRUE(known.callsHolding("QQ5", 5).empty());
  EXPECT_FALSE(std::filesystem::exists(places.store));
  known.start("20261210-120000");
  ASSERT_TRUE(eventually([&] { return known.ready(); }));
  known.learnEdiFile(kEdiFile);
  known.import({folder.path() / "calls.txt"});
  std::vector<std::string> notices;
  ASSERT_TRUE(eventually([&] {
    auto taken = known.takeNotices();
    notices.insert(notices.end(), taken.begin(), taken.end());
    return !notices.empty();
  }));
  EXPECT_EQ(notices[0],
            "Importazione delle stazioni conosciute terminata.\n"
            "calls.txt: 2 stazioni, nessuna riga scartata\n"
            "Stazioni conosciute nell'archivio: 3");
  EXPECT_FALSE(known.importing());
  EXPECT_EQ(known.callsHolding("QQ", 5), (std::vector<std::string>{"QQ1ABC", "QQ5AAA", "QQ5AAB"}));
  EXPECT_EQ(known.locatorsOf("QQ5AAA"), (std::vector<KnownLocator>{{"JN45OL", "20250601"}}));
}

}  // namespace
}  // namespace vantor
