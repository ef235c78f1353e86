#include "app/edi_reopen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/session.h"
#include "contest/serial_number.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_reader.h"
#include "form/text.h"
#include "form/utf8.h"
#include "geo/bearing_form.h"
#include "header/contest_catalogue.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "platform/durable_file.h"

namespace vantor {

namespace {

// The lines an export writes from the callsign again, from its counts or as fixed texts: there is
// nothing in them to take.
// The claimed total and ODX are the records' own, worked out again from them.
constexpr std::array<std::string_view, 11> kRewrittenLines{"RCall", "CQSOs", "CQSOP", "CWWLs",
                                                           "CWWLB", "CExcs", "CExcB", "CDXCs",
                                                           "CDXCB", "CToSc", "CODXC"};

// The header lines that need more than a copy, when the file has them.
struct SpecialLines {
  const EdiHeaderLine* contest = nullptr;
  const EdiHeaderLine* dates = nullptr;
  const EdiHeaderLine* band = nullptr;
  const EdiHeaderLine* section = nullptr;
  const EdiHeaderLine* antennaHeight = nullptr;

  [[nodiscard]] const EdiHeaderLine** slot(std::string_view key) {
    const std::array<std::pair<std::string_view, const EdiHeaderLine**>, 5> slots{{
        {"TName", &contest},
        {"TDate", &dates},
        {"PBand", &band},
        {"PSect", &section},
        {"SAntH", &antennaHeight},
    }};
    for (const auto& [name, line] : slots) {
      if (name == key) {
        return line;
      }
    }
    return nullptr;
  }
};

// What a file puts on the two screens, and the lines of it that no screen takes.
struct Reopening {
  StationHeader station;
  ResumedLog log;
  std::vector<std::size_t> unreadLines;

  void unread(const EdiHeaderLine& line) { unreadLines.push_back(line.line); }
};

template <typename List>
bool holds(const List& list, std::string_view text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

void takeHeaderLine(Reopening& plan, SpecialLines& special, const EdiHeaderLine& line) {
  for (const auto& [key, member] : ediTextLines) {
    if (key == line.key) {
      plan.station.*member = line.value;
      return;
    }
  }
  if (const EdiHeaderLine** slot = special.slot(line.key)) {
    *slot = &line;
  } else if (holds(ediEmptyLines, line.key) ? !line.value.empty()
                                            : !holds(kRewrittenLines, line.key)) {
    plan.unread(line);
  }
}

// The contest, the band it offers and the category of the section code in that band: each is
// picked in the header only when its list will offer it.
void takeContestBandCategory(Reopening& plan, const SpecialLines& special) {
  StationHeader& station = plan.station;
  if (special.contest != nullptr) {
    station.contest = special.contest->value;
    if (!holds(catalogue::contests(), station.contest)) {
      plan.unread(*special.contest);
    }
  }
  if (special.band != nullptr) {
    station.band = special.band->value;
    if (!holds(catalogue::bandsFor(station.contest), station.band)) {
      plan.unread(*special.band);
    }
  }
  if (special.section == nullptr) {
    return;
  }
  const catalogue::Band* band = catalogue::findBand(station.band);
  const auto category =
      band != nullptr ? catalogue::categoryOfSection(*band, special.section->value) : std::nullopt;
  if (category && holds(catalogue::categoriesFor(station.contest, station.band), *category)) {
    station.category = *category;
  } else {
    station.category = kPlaceholder;
    plan.unread(*special.section);
  }
}

// An EDI date (yyyymmdd) as the header shows it (dd/mm/yyyy), taken apart by its characters as
// the export puts it together; nothing for a text that would not come back the same.
std::optional<std::string> headerDate(std::string_view ediDate) {
  if (charCount(ediDate) != 8 || ediDate.find('/') != std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t month = characterStart(ediDate, 4);
  const std::size_t day = characterStart(ediDate, 6);
  return std::string(ediDate.substr(day)) + "/" + std::string(ediDate.substr(month, day - month)) +
         "/" + std::string(ediDate.substr(0, month));
}

void takeDatesAndHeight(Reopening& plan, const SpecialLines& special) {
  if (special.dates != nullptr) {
    const auto dates = splitFields<2>(special.dates->value);
    const auto start = dates ? headerDate((*dates)[0]) : std::nullopt;
    const auto end = dates ? headerDate((*dates)[1]) : std::nullopt;
    if (start && end) {
      plan.station.startDate = *start;
      plan.station.endDate = *end;
    } else {
      plan.unread(*special.dates);
    }
  }
  if (special.antennaHeight != nullptr) {
    const std::string_view value = special.antennaHeight->value;
    const auto separator = value.find(';');
    plan.station.antennaHeight = value.substr(0, separator);
    if (separator == std::string_view::npos) {
      plan.unread(*special.antennaHeight);
    } else {
      plan.station.altitude = value.substr(separator + 1);
    }
  }
}

// The serial number after the last record's and the mode of that record: the statistics rows
// are the records' own, which the log works out.
void takeLastRecord(Reopening& plan, std::string_view records) {
  std::optional<QsoFields> last;
  forEachLine(records, [&last](std::string_view line) {
    if (const auto fields = splitQsoRecord(line)) {
      last = fields;
    }
  });
  const double serial = last ? std::floor(numericValue((*last)[qso::sentNumber])) : 0.0;
  const int next = serial >= kLastSerialNumber ? kLastSerialNumber : static_cast<int>(serial) + 1;
  plan.log.serialSent = serialNumberText(serial >= 1 ? next : 1);
  plan.log.mode = last ? findModeByCode((*last)[qso::mode]) : nullptr;
}

Reopening planReopening(EdiContent content, StationHeader station) {
  Reopening plan{.station = std::move(station), .log = {}, .unreadLines = content.unreadLines};
  SpecialLines special;
  for (const EdiHeaderLine& line : content.header) {
    takeHeaderLine(plan, special, line);
  }
  takeContestBandCategory(plan, special);
  takeDatesAndHeight(plan, special);
  plan.station.comments = content.remarks;
  takeLastRecord(plan, content.records());
  plan.log.text = std::move(content.logText);
  std::sort(plan.unreadLines.begin(), plan.unreadLines.end());
  plan.unreadLines.erase(std::unique(plan.unreadLines.begin(), plan.unreadLines.end()),
                         plan.unreadLines.end());
  return plan;
}

// "Il file X.edi contiene righe non riconosciute (righe 12, 40). Caricarlo comunque?"; a long
// list names its first lines and counts the others.
std::string unreadQuestion(const std::string& name, const std::vector<std::size_t>& lines) {
  constexpr std::size_t kNamedLines = 10;
  const bool one = lines.size() == 1;
  std::string question = "Il file " + name +
                         (one ? " contiene una riga non riconosciuta (riga "
                              : " contiene righe non riconosciute (righe ");
  for (std::size_t index = 0; index < std::min(lines.size(), kNamedLines); ++index) {
    question += (index == 0 ? "" : ", ") + std::to_string(lines[index]);
  }
  if (lines.size() > kNamedLines) {
    question += " e altre " + std::to_string(lines.size() - kNamedLines);
  }
  return question + "). Caricarlo comunque?";
}

// Why a file read whole is not opened; nothing when it is an EDI file within the lengths.
std::optional<std::string> refusalOf(const std::optional<EdiContent>& content) {
  if (!content) {
    return "non è un file EDI";
  }
  if (const auto& refusal = content->refusal) {
    const std::string line = std::to_string(refusal->line);
    return refusal->wholeLine ? "non è stato aperto: la riga " + line +
                                    " è troppo lunga per un file EDI (più di " +
                                    std::to_string(kLongestEdiLine) + " caratteri)"
                              : "non è stato aperto: la riga " + line +
                                    " ha un valore troppo lungo per un file EDI (più di " +
                                    std::to_string(kLongestEdiValue) + " caratteri)";
  }
  return std::nullopt;
}

// The file's content, or nothing when it does not load; the operator has then been told why.
std::optional<EdiContent> readToReopen(Session& session, const std::filesystem::path& path,
                                       const std::string& name) {
  std::optional<EdiContent> content;
  {
    std::string bytes;
    if (const std::error_code error =
            platform::readWholeFile(platform::systemFiles(), path, bytes, kLargestEdiFile)) {
      session.dialogs().showMessage(
          headerMessage("Impossibile aprire il file " + name + ": " + error.message()));
      return std::nullopt;
    }
    content = readEdiText(bytes);
  }
  if (const auto refusal = refusalOf(content)) {
    session.dialogs().showMessage(headerMessage("Il file " + name + " " + *refusal));
    return std::nullopt;
  }
  return content;
}

// A file to reopen: its name as the messages quote it and what it puts on the screens.
struct PlannedFile {
  std::string name;
  Reopening plan;
};

// The files read and planned, in their order; nothing when one does not load, which the operator
// has then been told.
std::optional<std::vector<PlannedFile>> planFiles(Session& session,
                                                  std::span<const std::filesystem::path> paths) {
  std::vector<PlannedFile> files;
  for (const std::filesystem::path& path : paths) {
    std::string name = quotedPath(path.filename());
    std::optional<EdiContent> content = readToReopen(session, path, name);
    if (!content) {
      return std::nullopt;
    }
    files.push_back(PlannedFile{
        std::move(name), planReopening(std::move(*content), session.header().stationHeader())});
  }
  return files;
}

// Why a file is not opened beside the first: another station, another contest, or a band the
// first file's contest does not have, where a band log needs one.
std::optional<std::string> refusalBeside(const PlannedFile& file, const StationHeader& first) {
  const StationHeader& station = file.plan.station;
  const std::string callsign = toUpper(station.callsign);
  if (callsign != toUpper(first.callsign)) {
    return "Il file " + file.name + " è di un'altra stazione (" + messageQuote(callsign) +
           ", non " + messageQuote(toUpper(first.callsign)) + ")";
  }
  if (station.contest != first.contest) {
    return "Il file " + file.name + " è di un altro contest (" + messageQuote(station.contest) +
           ", non " + messageQuote(first.contest) + ")";
  }
  if (!holds(catalogue::bandsFor(first.contest), station.band)) {
    return "La banda del file " + file.name + " (" + messageQuote(station.band) +
           ") non è una banda del contest " + messageQuote(first.contest);
  }
  return std::nullopt;
}

// Why several files are not opened together; nothing when they are one station's logs of one
// contest, each of a band of its own.
std::optional<std::string> refusalOfSet(std::span<const PlannedFile> files) {
  if (files.size() < 2) {
    return std::nullopt;
  }
  const StationHeader& first = files.front().plan.station;
  for (std::size_t index = 0; index < files.size(); ++index) {
    const PlannedFile& file = files[index];
    if (const auto refusal = refusalBeside(file, first)) {
      return *refusal + ": nessun file è stato aperto.";
    }
    for (const PlannedFile& earlier : files.first(index)) {
      if (earlier.plan.station.band == file.plan.station.band) {
        return "I file " + earlier.name + " e " + file.name + " sono della stessa banda " +
               file.plan.station.band + ": nessuno è stato aperto.";
      }
    }
  }
  return std::nullopt;
}

// The first file goes on both screens as a file alone does, each other one into the log of its
// band; the first file's log is put back last, so its band and its mode are the ones shown.
void applyFiles(Session& session, std::span<const PlannedFile> files) {
  const Reopening& first = files.front().plan;
  session.header().resume(first.station);
  // The records are measured once, from the file's locator, as "Avanti -->" then keeps them.
  session.bearing().setHomeLocator(first.station.locator);
  LogForm& log = session.log();
  for (const PlannedFile& file : files.subspan(1)) {
    log.showBand(file.plan.station.band);
    log.resume(file.plan.log);
  }
  if (files.size() > 1) {
    log.showBand(first.station.band);
  }
  log.resume(first.log);
}

// Reads, checks and asks about every file, then puts them on the screens: false, with nothing
// changed, when one is refused or the operator says no.
bool reopenFiles(Session& session, std::span<const std::filesystem::path> paths) {
  // The files' copies of the logs are let go before the log window shows the log buffers'.
  const std::optional<std::vector<PlannedFile>> files = planFiles(session, paths);
  if (!files) {
    return false;
  }
  if (const auto refusal = refusalOfSet(*files)) {
    session.dialogs().showMessage(headerMessage(*refusal));
    return false;
  }
  for (const PlannedFile& file : *files) {
    const std::vector<std::size_t>& unread = file.plan.unreadLines;
    if (!unread.empty() && !session.dialogs().askYesNo(unreadQuestion(file.name, unread))) {
      return false;
    }
  }
  applyFiles(session, *files);
  return true;
}

// "Il file X.edi non è stato aperto…", or "I file X.edi e Y.edi non sono stati aperti…".
std::string notOpened(std::span<const std::filesystem::path> paths) {
  if (paths.size() == 1) {
    return "Il file " + quotedPath(paths.front().filename()) + " non è stato aperto";
  }
  std::string names;
  for (std::size_t index = 0; index < paths.size(); ++index) {
    names += index == 0 ? "" : index + 1 == paths.size() ? " e " : ", ";
    names += quotedPath(paths[index].filename());
  }
  return "I file " + names + " non sono stati aperti";
}

}  // namespace

void reopenEdi(Session& session, std::span<const std::filesystem::path> paths) {
  if (paths.empty()) {
    return;
  }
  // A log resumed after a crash is never mixed with the files'.
  if (session.logShown()) {
    session.dialogs().showMessage(
        headerMessage(notOpened(paths) + ": è stato ripreso il LOG non chiuso."));
    return;
  }
  if (!reopenFiles(session, paths)) {
    return;
  }
  for (const std::filesystem::path& path : paths) {
    session.learnStations(path);
  }
  // The reopened logs reach the journal before their window is built: the copies the journal
  // makes on the way to the disk are then never held beside the window's.
  session.recordChanges();
  session.header().proceedButton.press();
}

}  // namespace vantor
