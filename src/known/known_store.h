#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "known/known_station.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vantor {

// A locator a call was heard from, and the day it was last heard there (YYYYMMDD, empty when no
// file said).
struct KnownLocator {
  std::string locator;
  std::string lastSeen;

  friend bool operator==(const KnownLocator&, const KnownLocator&) = default;
};

class KnownStore;

// What opening the store gave: the store, or why not. A damaged file is told apart, since it can
// be set aside and the store made anew.
struct StoreOpening {
  std::unique_ptr<KnownStore> store;
  bool damaged = false;
  std::string problem;
};

// The known stations kept in an SQLite file: each call once, the locators it was heard from with
// the day last heard, and a trigram index of the calls for the search by any part of a call. The
// file is kept as SQLite keeps a file through a crash (its write-ahead log, every commit synced),
// and two programs writing it take turns on its lock. One store is one connection: use it from
// one thread at a time.
class KnownStore {
 public:
  enum class Access { Write, Read };

  // Opens the file, made with its tables when writing to a file that does not exist yet. A
  // reader of a file no writer made yet gets a problem, not a store.
  static StoreOpening open(const std::filesystem::path& file, Access access);
  // Moves a damaged file (and its write-ahead log) aside under a name with the moment `stamp`;
  // the name it now has, or nothing when it could not be moved.
  static std::filesystem::path setAside(const std::filesystem::path& file, std::string_view stamp);

  KnownStore(const KnownStore&) = delete;
  KnownStore& operator=(const KnownStore&) = delete;
  ~KnownStore();

  // Adds the stations in one transaction: a call already known keeps its locators, a locator
  // already known keeps the later day. False, with the problem, when the file refused it.
  bool add(std::span<const KnownStation> stations, std::string& problem);
  // Up to `limit` known calls that hold `fragment` (upper case): first those that begin with it,
  // in alphabetical order, then the others that hold it, in alphabetical order among them.
  [[nodiscard]] std::vector<std::string> callsHolding(std::string_view fragment, std::size_t limit);
  // The locators a call was heard from, the latest first.
  [[nodiscard]] std::vector<KnownLocator> locatorsOf(std::string_view call);
  [[nodiscard]] std::size_t callCount();

 private:
  struct Statements;

  explicit KnownStore(sqlite3* db);
  [[nodiscard]] bool prepare(Access access, StoreOpening& opening);
  bool addOne(const KnownStation& station);
  void appendMatching(std::string_view fragment, std::size_t limit,
                      std::vector<std::string>& calls);

  sqlite3* m_db;
  std::unique_ptr<Statements> m_statements;
};

}  // namespace vantor
