#include "known/known_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <system_error>

namespace vantor {

namespace {

// The tables: each call once, its locators with the day last heard and the bands, and the calls'
// trigram index, which the calls table feeds.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS calls(id INTEGER PRIMARY KEY, call TEXT NOT NULL UNIQUE);"
    "CREATE TABLE IF NOT EXISTS locators(call_id INTEGER NOT NULL, locator TEXT NOT NULL,"
    " last_seen TEXT NOT NULL, bands TEXT NOT NULL, PRIMARY KEY(call_id, locator)) WITHOUT ROWID;"
    "CREATE VIRTUAL TABLE IF NOT EXISTS call_text USING fts5(call, content='calls',"
    " content_rowid='id', tokenize='trigram');";

// A locator heard again keeps the later day and gains the band, once.
constexpr const char* kAddLocator =
    "INSERT INTO locators(call_id, locator, last_seen, bands) VALUES(?1, ?2, ?3, ?4)"
    " ON CONFLICT(call_id, locator) DO UPDATE SET last_seen = max(last_seen, excluded.last_seen),"
    " bands = CASE WHEN excluded.bands = '' OR instr(', ' || bands || ', ',"
    " ', ' || excluded.bands || ', ') > 0 THEN bands WHEN bands = '' THEN excluded.bands"
    " ELSE bands || ', ' || excluded.bands END";

// The trigram index finds only what has three characters or more.
constexpr std::size_t kShortestTrigram = 3;

bool isDamage(int code) {
  const int primary = code & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string problemOf(sqlite3* db, std::string_view doing) {
  return std::string(doing) + ": " + sqlite3_errmsg(db);
}

struct Statement {
  sqlite3_stmt* handle = nullptr;

  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(handle); }

  bool prepare(sqlite3* db, const char* sql) {
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &handle, nullptr) ==
           SQLITE_OK;
  }
  // Ready for another run, its bindings cleared.
  sqlite3_stmt* fresh() {
    sqlite3_reset(handle);
    sqlite3_clear_bindings(handle);
    return handle;
  }
};

void bindText(sqlite3_stmt* statement, int index, std::string_view text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// Whether the trigram index can be asked for the fragment as one phrase: only the characters a
// call is made of, so nothing in it is the index's syntax.
bool isSearchable(std::string_view fragment) {
  return fragment.size() >= kShortestTrigram &&
         std::all_of(fragment.begin(), fragment.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
         });
}

}  // namespace

struct KnownStore::Statements {
  Statement findCall;
  Statement addCall;
  Statement indexCall;
  Statement addLocator;
  Statement beginning;
  Statement holding;
  Statement locators;
  Statement count;
};

KnownStore::KnownStore(sqlite3* db) : m_db(db), m_statements(std::make_unique<Statements>()) {}

KnownStore::~KnownStore() {
  m_statements.reset();
  sqlite3_close(m_db);
}

StoreOpening KnownStore::open(const std::filesystem::path& file, Access access) {
  StoreOpening opening;
  sqlite3* db = nullptr;
  const int flags =
      access == Access::Write ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  const int opened = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<KnownStore> store(new KnownStore(db));
  if (opened != SQLITE_OK) {
    opening.problem = problemOf(db, "Impossibile aprire l'archivio");
    return opening;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, 10000);
  if (!store->prepare(access, opening)) {
    opening.damaged = opening.damaged || isDamage(sqlite3_extended_errcode(db));
    return opening;
  }
  opening.store = std::move(store);
  return opening;
}

bool KnownStore::prepare(Access access, StoreOpening& opening) {
  if (access == Access::Write) {
    // A write-ahead log with every commit synced: a crash loses nothing committed.
    for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", kSchema}) {
      if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        opening.problem = problemOf(m_db, "Archivio illeggibile");
        return false;
      }
    }
    Statement check;
    if (check.prepare(m_db, "PRAGMA quick_check(1)") && sqlite3_step(check.handle) == SQLITE_ROW &&
        columnText(check.handle, 0) != "ok") {
      opening.problem = "Archivio danneggiato: " + columnText(check.handle, 0);
      opening.damaged = true;
      return false;
    }
  }
  Statements& s = *m_statements;
  const bool prepared =
      s.beginning.prepare(m_db,
                          "SELECT call FROM calls WHERE call >= ?1 AND call < ?2 ORDER BY call "
                          "LIMIT ?3") &&
      s.holding.prepare(m_db, "SELECT call FROM call_text WHERE call_text MATCH ?1 LIMIT ?2") &&
      s.locators.prepare(m_db,
                         "SELECT locator, last_seen FROM locators WHERE call_id = (SELECT id FROM "
                         "calls WHERE call = ?1) ORDER BY last_seen DESC, locator") &&
      s.count.prepare(m_db, "SELECT count(*) FROM calls") &&
      (access == Access::Read ||
       (s.findCall.prepare(m_db, "SELECT id FROM calls WHERE call = ?1") &&
        s.addCall.prepare(m_db, "INSERT INTO calls(call) VALUES(?1)") &&
        s.indexCall.prepare(m_db, "INSERT INTO call_text(rowid, call) VALUES(?1, ?2)") &&
        s.addLocator.prepare(m_db, kAddLocator)));
  if (!prepared) {
    opening.problem = problemOf(m_db, "Archivio illeggibile");
  }
  return prepared;
}

std::filesystem::path KnownStore::setAside(const std::filesystem::path& file,
                                           std::string_view stamp) {
  std::filesystem::path aside = file;
  aside.replace_filename(file.stem().string() + "-danneggiato-" + std::string(stamp) +
                         file.extension().string());
  std::error_code failed;
  std::filesystem::rename(file, aside, failed);
  if (failed) {
    return {};
  }
  std::error_code ignored;
  std::filesystem::rename(file.string() + "-wal", aside.string() + "-wal", ignored);
  std::filesystem::remove(file.string() + "-shm", ignored);
  return aside;
}

bool KnownStore::add(std::span<const KnownStation> stations, std::string& problem) {
  if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
    problem = problemOf(m_db, "Archivio occupato");
    return false;
  }
  for (const KnownStation& station : stations) {
    if (!addOne(station)) {
      problem = problemOf(m_db, "Impossibile scrivere nell'archivio");
      sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
      return false;
    }
  }
  if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    problem = problemOf(m_db, "Impossibile scrivere nell'archivio");
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }
  return true;
}

bool KnownStore::addOne(const KnownStation& station) {
  Statements& s = *m_statements;
  sqlite3_stmt* find = s.findCall.fresh();
  bindText(find, 1, station.call);
  sqlite3_int64 id = 0;
  if (sqlite3_step(find) == SQLITE_ROW) {
    id = sqlite3_column_int64(find, 0);
  } else {
    sqlite3_stmt* add = s.addCall.fresh();
    bindText(add, 1, station.call);
    if (sqlite3_step(add) != SQLITE_DONE) {
      return false;
    }
    id = sqlite3_last_insert_rowid(m_db);
    sqlite3_stmt* index = s.indexCall.fresh();
    sqlite3_bind_int64(index, 1, id);
    bindText(index, 2, station.call);
    if (sqlite3_step(index) != SQLITE_DONE) {
      return false;
    }
  }
  if (station.locator.empty()) {
    return true;
  }
  sqlite3_stmt* locator = s.addLocator.fresh();
  sqlite3_bind_int64(locator, 1, id);
  bindText(locator, 2, station.locator);
  bindText(locator, 3, station.lastSeen);
  bindText(locator, 4, station.bands);
  return sqlite3_step(locator) == SQLITE_DONE;
}

std::vector<std::string> KnownStore::callsHolding(std::string_view fragment, std::size_t limit) {
  std::vector<std::string> calls;
  if (fragment.empty() || limit == 0) {
    return calls;
  }
  std::string past(fragment);
  past.back() = static_cast<char>(past.back() + 1);
  sqlite3_stmt* beginning = m_statements->beginning.fresh();
  bindText(beginning, 1, fragment);
  bindText(beginning, 2, past);
  sqlite3_bind_int64(beginning, 3, static_cast<sqlite3_int64>(limit));
  while (sqlite3_step(beginning) == SQLITE_ROW) {
    calls.push_back(columnText(beginning, 0));
  }
  sqlite3_reset(beginning);
  if (calls.size() < limit && isSearchable(fragment)) {
    appendMatching(fragment, limit, calls);
  }
  return calls;
}

// The calls that hold the fragment but do not begin with it, after those that do.
void KnownStore::appendMatching(std::string_view fragment, std::size_t limit,
                                std::vector<std::string>& calls) {
  const std::size_t beginners = calls.size();
  sqlite3_stmt* holding = m_statements->holding.fresh();
  bindText(holding, 1, "\"" + std::string(fragment) + "\"");
  sqlite3_bind_int64(holding, 2, static_cast<sqlite3_int64>(limit + beginners));
  while (calls.size() < limit && sqlite3_step(holding) == SQLITE_ROW) {
    std::string call = columnText(holding, 0);
    if (!call.starts_with(fragment)) {
      calls.push_back(std::move(call));
    }
  }
  sqlite3_reset(holding);
  std::sort(calls.begin() + static_cast<std::ptrdiff_t>(beginners), calls.end());
}

std::vector<KnownLocator> KnownStore::locatorsOf(std::string_view call) {
  std::vector<KnownLocator> locators;
  sqlite3_stmt* statement = m_statements->locators.fresh();
  bindText(statement, 1, call);
  while (sqlite3_step(statement) == SQLITE_ROW) {
    locators.push_back(KnownLocator{columnText(statement, 0), columnText(statement, 1)});
  }
  sqlite3_reset(statement);
  return locators;
}

std::size_t KnownStore::callCount() {
  sqlite3_stmt* statement = m_statements->count.fresh();
  const std::size_t count = sqlite3_step(statement) == SQLITE_ROW
                                ? static_cast<std::size_t>(sqlite3_column_int64(statement, 0))
                                : 0;
  sqlite3_reset(statement);
  return count;
}

}  // namespace vantor
