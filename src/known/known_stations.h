#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "known/known_store.h"

namespace vantor {

// Where the known stations live: the store's file, and the folder whose EDI files rebuild it when
// it is found damaged.
struct KnownPlaces {
  std::filesystem::path store;
  std::filesystem::path ediFolder;
};

// How far an import has come, in bytes of its files.
struct ImportProgress {
  std::size_t done = 0;
  std::size_t total = 0;
};

// The files an import names: a folder stands for the EDI files in it and in its folders, in the
// order of their names.
[[nodiscard]] std::vector<std::filesystem::path> importedFiles(
    const std::vector<std::filesystem::path>& named);

// Opens the store for writing; a damaged file is set aside (its new name with `stamp`) and the
// store made anew from the EDI files of the places' folder. What the operator should know of it
// goes to `notices`. Nothing when the store cannot be opened at all.
[[nodiscard]] std::unique_ptr<KnownStore> openKnownStore(const KnownPlaces& places,
                                                         std::string_view stamp,
                                                         std::vector<std::string>& notices);

// Adds the stations of each file to the store, telling `progress` after each part (which stops
// the import by giving false); the report of each file (its stations and its bad lines, or why it
// was not read), then the whole import's.
[[nodiscard]] std::vector<std::string> importInto(
    KnownStore& store, const std::vector<std::filesystem::path>& files,
    const std::function<bool(const ImportProgress&)>& progress);

// The known stations while the program runs. The store is written on a thread of its own, so
// neither opening it (it is checked, and rebuilt when damaged) nor an import holds up the
// operator; the searches of the call being typed read it on the caller's thread through a
// connection of their own, since SQLite lets a reader go on while a writer writes.
class KnownStations {
 public:
  explicit KnownStations(KnownPlaces places);
  KnownStations(const KnownStations&) = delete;
  KnownStations& operator=(const KnownStations&) = delete;
  // Waits for the part of an import being written, at most.
  ~KnownStations();

  // Opens the store on its thread; `stamp` names a damaged file set aside. Before this nothing
  // touches the file.
  void start(std::string stamp);
  // Whether the store is open, so the searches below find what it holds.
  [[nodiscard]] bool ready() const { return m_ready.load(); }

  // The searches, empty until the store is ready (see KnownStore).
  [[nodiscard]] std::vector<std::string> callsHolding(std::string_view fragment, std::size_t limit);
  [[nodiscard]] std::vector<KnownLocator> locatorsOf(std::string_view call);

  // An EDI file written or reopened: its stations are learned.
  void learnEdiFile(std::filesystem::path file);
  // Imports the files named (see importedFiles); its report becomes a notice when it ends.
  void import(std::vector<std::filesystem::path> named);
  // How far the import is, while one runs.
  [[nodiscard]] std::optional<ImportProgress> importing() const;
  // What the operator should be told since last asked: a damaged store set aside, an import's
  // report, a store that cannot be written.
  [[nodiscard]] std::vector<std::string> takeNotices();

 private:
  void post(std::function<void()> job);
  void run();
  // The writer, opened on the thread when a job first needs it.
  KnownStore* writer();
  // The searches' connection, opened when first needed once the store is ready.
  KnownStore* reader();
  void notice(std::string text);

  KnownPlaces m_places;
  std::string m_stamp;
  std::unique_ptr<KnownStore> m_writer;
  bool m_openTried = false;
  std::unique_ptr<KnownStore> m_reader;
  bool m_readerTried = false;
  std::atomic<bool> m_ready = false;

  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_jobs;
  bool m_stopping = false;
  std::optional<ImportProgress> m_progress;
  std::vector<std::string> m_notices;
  std::thread m_thread;
};

}  // namespace vantor
