#include "app/edi_export.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/edi_folder.h"
#include "app/session.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"
#include "edi/record_tally.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

namespace {

// The broken record lines of one band log: the logged band's have no band named.
struct BrokenLines {
  std::string band;
  const std::vector<BrokenRecord>* lines;
};

void askAboutBroken(std::string& question, const BrokenLines& broken) {
  constexpr std::size_t kNamedLines = 10;
  const std::vector<BrokenRecord>& lines = *broken.lines;
  if (lines.empty()) {
    return;
  }
  question += broken.band.empty()
                  ? "Righe del LOG che non sono contatti validi:"
                  : "Righe del LOG " + broken.band + " che non sono contatti validi:";
  for (std::size_t index = 0; index < std::min(lines.size(), kNamedLines); ++index) {
    question += "\nriga " + std::to_string(lines[index].line) + ": " + lines[index].start;
  }
  if (lines.size() > kNamedLines) {
    question += "\ne altre " + std::to_string(lines.size() - kNamedLines);
  }
  question += "\n\n";
}

// The question before writing logs with broken record lines or 8-bit header fields; nothing
// for clean logs.
std::optional<std::string> exportQuestion(const std::vector<BrokenLines>& broken,
                                          const std::vector<std::string_view>& nonAscii) {
  std::string question;
  for (const BrokenLines& lines : broken) {
    askAboutBroken(question, lines);
  }
  if (!nonAscii.empty()) {
    question += "Campi con caratteri non ASCII, che molti robot dei contest rifiutano:";
    for (std::size_t index = 0; index < nonAscii.size(); ++index) {
      question += (index == 0 ? " " : ", ") + std::string(nonAscii[index]);
    }
    question += "\n\n";
  }
  if (question.empty()) {
    return std::nullopt;
  }
  return question + "Scrivere comunque il file EDI?";
}

// An export that wrote nothing: the label no longer names a file as holding the log, and the
// operator is told why.
void tellNotSaved(Session& session, const std::string& why) {
  session.log().showSaved(kNotSavedLabel);
  session.dialogs().showMessage(Message{why});
}

// One file of an export: a band log, the header as it writes that band, and where it goes.
struct BandFile {
  BandLog* log;
  StationHeader station;
  std::string section;
  std::filesystem::path path;
  const RecordReport* records;
};

// The files an export writes: the logged band's, as it stands, and that of every other band log
// that holds records; the logged band's last, so the screens end on it.
std::vector<BandFile> bandFiles(Session& session, const StationHeader& station) {
  LogForm& log = session.log();
  std::vector<BandFile> files;
  for (std::size_t index = 0; index < log.bandCount(); ++index) {
    BandLog& band = log.bandAt(index);
    if (&band != &log.band() && band.holdsRecords()) {
      files.push_back({&band, station, {}, {}, nullptr});
      files.back().station.band = band.band();
    }
  }
  files.push_back({&log.band(), station, {}, {}, nullptr});
  for (BandFile& file : files) {
    file.section = sectionCode(file.station.band, file.station.category);
    file.path = ediFilePath(session.ediFolder().path, file.section, station.callsign);
    file.records = &session.recordTally(file.log->band())
                        .reportOf(file.log->buffer.text(), file.log->buffer.rewrites());
  }
  return files;
}

// Two bands whose files would have the same name (a category without a section code in both):
// the second would replace the first.
std::optional<std::string> clashOf(const std::vector<BandFile>& files) {
  for (std::size_t later = 1; later < files.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (files[earlier].path == files[later].path) {
        return "Le bande " + files[earlier].station.band + " e " + files[later].station.band +
               " darebbero lo stesso file EDI " + quotedPath(files[later].path.filename()) +
               ": nessun file è stato scritto.";
      }
    }
  }
  return std::nullopt;
}

bool operatorAgrees(Session& session, const std::vector<BandFile>& files,
                    const StationHeader& station) {
  // The logged band's lines first, without its band named, then the other bands' in their order.
  std::vector<BrokenLines> broken{{std::string(), &files.back().records->broken}};
  for (const BandFile& file : std::span(files).first(files.size() - 1)) {
    broken.push_back({file.station.band, &file.records->broken});
  }
  const auto question = exportQuestion(broken, nonAsciiFields(station));
  return !question || session.dialogs().askYesNo(*question);
}

// The file claims the band log's own score, measured from the locator it names, as the screen
// then shows it. The report is asked again: the marks made right may have changed the lines.
Claims claimsFor(Session& session, const BandFile& file) {
  const std::string& home = file.station.locator;
  session.bearing().setHomeLocator(home);
  file.log->document().setHome(home);
  session.log().showStatistics();
  const Field& buffer = file.log->buffer;
  const RecordReport& records =
      session.recordTally(file.log->band()).reportOf(buffer.text(), buffer.rewrites());
  return claimsOf(records, buffer.text(), file.log->document(), home);
}

// Writes one band's file, its new-square marks made right first, whatever the log was read from
// or typed as; false, and the operator told, when it could not be written.
bool writeBandFile(Session& session, const BandFile& file, const std::string& startDate,
                   const std::string& endDate) {
  // Only the lines the file takes as its records: an earlier export's header goes.
  file.log->document().markNewSquares(recordLinesStart(file.log->buffer.text()).offset);
  const std::string& headerText = session.header().writeEdiHeader(
      buildHeaderSection(file.station, startDate, endDate, file.section),
      buildScoreLines(claimsFor(session, file), file.station.comments));
  const std::string& logText = file.log->buffer.text();
  const std::vector<TextEdit> edits = ediTextEdits(headerText, logText);
  const std::string ediText = editedText(logText, edits);
  // The log buffer takes the EDI text only once the file holds it, so a failed save loses nothing.
  if (const std::error_code error = prepareEdiFolder(session.ediFolder())) {
    tellNotSaved(session, saveFailedText(file.path, error));
    return false;
  }
  if (const auto failure = saveEdiFile(file.path, ediText)) {
    tellNotSaved(session, *failure);
    return false;
  }
  // A log exported again unchanged is already the EDI text: it stays as it is, unchanged for the
  // views too.
  const bool unchanged = ediText == logText;
  session.log().takeExport(*file.log, unchanged ? std::span<const TextEdit>() : edits);
  // The label a band log not shown will show names its own file.
  file.log->savedLabel = savedLabelText(file.path);
  session.recordTally(file.log->band()).exported(ediText, file.log->buffer.rewrites());
  session.learnStations(file.path);
  return true;
}

// "***  Il LOG è stato salvato in X  ***", with the other bands' files counted.
std::string savedLabel(const std::vector<BandFile>& files) {
  std::string label = savedLabelText(files.back().path);
  const std::size_t others = files.size() - 1;
  if (others > 0) {
    const std::string_view stars = "  ***";
    label.resize(label.size() - stars.size());
    label +=
        others == 1 ? " e un altro file EDI" : " e altri " + std::to_string(others) + " file EDI";
    label += stars;
  }
  return label;
}

}  // namespace

void exportEdi(Session& session) {
  const StationHeader station = session.header().stationHeader();
  const auto startDate = convertDate(station.startDate);
  const auto endDate = convertDate(station.endDate);
  if (!startDate || !endDate) {
    tellNotSaved(session, std::string(invalidDateMessage));
    return;
  }
  const std::vector<BandFile> files = bandFiles(session, station);
  if (!operatorAgrees(session, files, station)) {
    return;
  }
  if (const auto clash = clashOf(files)) {
    tellNotSaved(session, *clash);
    return;
  }
  for (const BandFile& file : files) {
    if (!writeBandFile(session, file, *startDate, *endDate)) {
      return;
    }
  }
  session.log().showSaved(savedLabel(files));
}

}  // namespace vantor
