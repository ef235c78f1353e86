#include "known/known_stations.h"

#include <algorithm>
#include <span>
#include <system_error>
#include <utility>

#include "known/known_import.h"
#include "platform/durable_file.h"
#include "platform/file_system.h"

namespace vantor {

namespace {

// Stations written in one transaction: the progress moves and a reader sees them between parts.
constexpr std::size_t kStationsPerPart = 5000;
// No file of calls is larger; a larger one is refused rather than read into memory.
constexpr std::size_t kLargestImportedFile = 256U * 1024U * 1024U;
// The files an import names whose report is given one by one; the others are only counted.
constexpr std::size_t kFilesReported = 10;

bool isEdiName(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".edi";
}

std::vector<std::filesystem::path> ediFilesIn(const std::filesystem::path& folder, bool recursive) {
  std::vector<std::filesystem::path> files;
  std::error_code failed;
  const auto take = [&files](const std::filesystem::directory_entry& entry) {
    std::error_code ignored;
    if (entry.is_regular_file(ignored) && isEdiName(entry.path())) {
      files.push_back(entry.path());
    }
  };
  if (recursive) {
    for (std::filesystem::recursive_directory_iterator
             it(folder, std::filesystem::directory_options::skip_permission_denied, failed),
         end;
         !failed && it != end; it.increment(failed)) {
      take(*it);
    }
  } else {
    for (std::filesystem::directory_iterator it(folder, failed), end; !failed && it != end;
         it.increment(failed)) {
      take(*it);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::size_t sizeOf(const std::filesystem::path& file) {
  std::error_code failed;
  const auto size = std::filesystem::file_size(file, failed);
  return failed ? 0 : static_cast<std::size_t>(size);
}

// The stations of one file added in parts; its report.
std::string importFile(KnownStore& store, const std::filesystem::path& file, std::size_t size,
                       ImportProgress& progress,
                       const std::function<bool(const ImportProgress&)>& tell) {
  const std::string name = file.filename().string();
  std::string bytes;
  if (const std::error_code failed =
          platform::readWholeFile(platform::systemFiles(), file, bytes, kLargestImportedFile)) {
    return name + ": impossibile leggerlo (" + failed.message() + ")";
  }
  const auto format = detectFormat(name, bytes);
  if (!format) {
    return name + ": formato non riconosciuto";
  }
  const ImportBatch batch = parseKnownStations(*format, bytes);
  const std::span<const KnownStation> stations(batch.stations);
  const std::size_t start = progress.done;
  for (std::size_t first = 0; first < stations.size(); first += kStationsPerPart) {
    std::string problem;
    if (!store.add(stations.subspan(first, std::min(kStationsPerPart, stations.size() - first)),
                   problem)) {
      return name + ": " + problem;
    }
    progress.done =
        start + size * std::min(first + kStationsPerPart, stations.size()) / stations.size();
    if (!tell(progress)) {
      return name + ": importazione interrotta";
    }
  }
  progress.done = start + size;
  return importReport(name, batch);
}

}  // namespace

std::vector<std::filesystem::path> importedFiles(const std::vector<std::filesystem::path>& named) {
  std::vector<std::filesystem::path> files;
  for (const std::filesystem::path& path : named) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
      const auto inside = ediFilesIn(path, true);
      files.insert(files.end(), inside.begin(), inside.end());
    } else {
      files.push_back(path);
    }
  }
  return files;
}

std::vector<std::string> importInto(KnownStore& store,
                                    const std::vector<std::filesystem::path>& files,
                                    const std::function<bool(const ImportProgress&)>& progress) {
  ImportProgress done;
  std::vector<std::size_t> sizes;
  for (const auto& file : files) {
    sizes.push_back(sizeOf(file));
    done.total += sizes.back();
  }
  std::vector<std::string> reports;
  for (std::size_t index = 0; index < files.size(); ++index) {
    std::string report = importFile(store, files[index], sizes[index], done, progress);
    if (index < kFilesReported) {
      reports.push_back(std::move(report));
    }
  }
  if (files.size() > kFilesReported) {
    reports.push_back("… e altri " + grouped(files.size() - kFilesReported) + " file");
  }
  reports.push_back("Stazioni conosciute nell'archivio: " + grouped(store.callCount()));
  return reports;
}

std::unique_ptr<KnownStore> openKnownStore(const KnownPlaces& places, std::string_view stamp,
                                           std::vector<std::string>& notices) {
  StoreOpening opening = KnownStore::open(places.store, KnownStore::Access::Write);
  if (opening.store || !opening.damaged) {
    if (!opening.store) {
      notices.push_back("Archivio delle stazioni conosciute non disponibile: " + opening.problem);
    }
    return std::move(opening.store);
  }
  const std::filesystem::path aside = KnownStore::setAside(places.store, stamp);
  if (aside.empty()) {
    notices.push_back("L'archivio delle stazioni conosciute " + places.store.string() +
                      " è danneggiato e non si può spostare: " + opening.problem);
    return nullptr;
  }
  opening = KnownStore::open(places.store, KnownStore::Access::Write);
  if (!opening.store) {
    notices.push_back("Archivio delle stazioni conosciute non disponibile: " + opening.problem);
    return nullptr;
  }
  const auto files = ediFilesIn(places.ediFolder, false);
  static_cast<void>(importInto(*opening.store, files, [](const ImportProgress&) { return true; }));
  notices.push_back(
      "L'archivio delle stazioni conosciute era danneggiato: è stato messo da "
      "parte come " +
      aside.filename().string() + " e ricostruito da " + grouped(files.size()) +
      " file EDI della cartella " + places.ediFolder.string());
  return std::move(opening.store);
}

KnownStations::KnownStations(KnownPlaces places)
    : m_places(std::move(places)), m_thread([this] { run(); }) {}

KnownStations::~KnownStations() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_jobs.clear();
  }
  m_wake.notify_one();
  m_thread.join();
}

void KnownStations::start(std::string stamp) {
  post([this, stamp = std::move(stamp)] {
    m_stamp = stamp;
    static_cast<void>(writer());
  });
}

KnownStore* KnownStations::writer() {
  if (!m_openTried) {
    m_openTried = true;
    std::vector<std::string> notices;
    m_writer = openKnownStore(m_places, m_stamp, notices);
    for (std::string& text : notices) {
      notice(std::move(text));
    }
    m_ready = m_writer != nullptr;
  }
  return m_writer.get();
}

std::vector<std::string> KnownStations::callsHolding(std::string_view fragment, std::size_t limit) {
  KnownStore* store = reader();
  return store != nullptr ? store->callsHolding(fragment, limit) : std::vector<std::string>();
}

std::vector<KnownLocator> KnownStations::locatorsOf(std::string_view call) {
  KnownStore* store = reader();
  return store != nullptr ? store->locatorsOf(call) : std::vector<KnownLocator>();
}

KnownStore* KnownStations::reader() {
  if (m_ready && !m_readerTried) {
    m_readerTried = true;
    m_reader = KnownStore::open(m_places.store, KnownStore::Access::Read).store;
  }
  return m_reader.get();
}

void KnownStations::learnEdiFile(std::filesystem::path file) {
  post([this, file = std::move(file)] {
    if (KnownStore* store = writer()) {
      static_cast<void>(importInto(*store, {file}, [](const ImportProgress&) { return true; }));
    }
  });
}

void KnownStations::import(std::vector<std::filesystem::path> named) {
  {
    const std::lock_guard lock(m_mutex);
    m_progress = ImportProgress{};
  }
  post([this, named = std::move(named)] {
    KnownStore* store = writer();
    std::vector<std::string> reports;
    if (store != nullptr) {
      reports = importInto(*store, importedFiles(named), [this](const ImportProgress& progress) {
        const std::lock_guard lock(m_mutex);
        m_progress = progress;
        return !m_stopping;
      });
    }
    std::string text = "Importazione delle stazioni conosciute terminata.";
    for (const std::string& report : reports) {
      text += "\n" + report;
    }
    const std::lock_guard lock(m_mutex);
    m_progress.reset();
    m_notices.push_back(store != nullptr ? text
                                         : "Importazione non eseguita: archivio non disponibile");
  });
}

std::optional<ImportProgress> KnownStations::importing() const {
  const std::lock_guard lock(m_mutex);
  return m_progress;
}

std::vector<std::string> KnownStations::takeNotices() {
  const std::lock_guard lock(m_mutex);
  return std::exchange(m_notices, {});
}

void KnownStations::notice(std::string text) {
  const std::lock_guard lock(m_mutex);
  m_notices.push_back(std::move(text));
}

void KnownStations::post(std::function<void()> job) {
  {
    const std::lock_guard lock(m_mutex);
    m_jobs.push_back(std::move(job));
  }
  m_wake.notify_one();
}

void KnownStations::run() {
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
      if (m_stopping) {
        return;
      }
      job = std::move(m_jobs.front());
      m_jobs.pop_front();
    }
    job();
  }
}

}  // namespace vantor
