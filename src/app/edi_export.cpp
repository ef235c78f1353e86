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

// The question before writing a log with broken record lines or 8-bit header fields; nothing
// for a clean log.
std::optional<std::string> exportQuestion(const std::vector<BrokenRecord>& broken,
                                          const std::vector<std::string_view>& nonAscii) {
  constexpr std::size_t kNamedLines = 10;
  std::string question;
  if (!broken.empty()) {
    question += "Righe del LOG che non sono contatti validi:";
    for (std::size_t index = 0; index < std::min(broken.size(), kNamedLines); ++index) {
      question += "\nriga " + std::to_string(broken[index].line) + ": " + broken[index].start;
    }
    if (broken.size() > kNamedLines) {
      question += "\ne altre " + std::to_string(broken.size() - kNamedLines);
    }
    question += "\n\n";
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
  session.log().saveMessageLabel.setText(kNotSavedLabel);
  session.dialogs().showMessage(Message{why});
}

// The file claims the log's own score, measured from the locator it names, as the screen then
// shows it.
Claims claimsFor(Session& session, const StationHeader& station, const RecordReport& records) {
  session.bearing().setHomeLocator(station.locator);
  LogForm& log = session.log();
  log.showStatistics();
  return claimsOf(records, log.logBuffer.text(), log.document(), station.locator);
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
  LogForm& log = session.log();
  const std::string& logText = log.logBuffer.text();
  const RecordReport& records = session.recordTally().reportOf(logText, log.logBuffer.rewrites());
  if (const auto question = exportQuestion(records.broken, nonAsciiFields(station));
      question && !session.dialogs().askYesNo(*question)) {
    return;
  }
  const std::string section = sectionCode(station.band, station.category);
  const std::string& headerText = session.header().writeEdiHeader(
      buildHeaderSection(station, *startDate, *endDate, section),
      buildScoreLines(claimsFor(session, station, records), station.comments));

  const std::vector<TextEdit> edits = ediTextEdits(headerText, logText);
  const std::string ediText = editedText(logText, edits);
  const EdiFolder& folder = session.ediFolder();
  const auto path = ediFilePath(folder.path, section, station.callsign);
  // The log buffer takes the EDI text only once the file holds it, so a failed save loses nothing.
  if (const std::error_code error = prepareEdiFolder(folder)) {
    tellNotSaved(session, saveFailedText(path, error));
    return;
  }
  if (const auto failure = saveEdiFile(path, ediText)) {
    tellNotSaved(session, *failure);
    return;
  }
  // A log exported again unchanged is already the EDI text: it stays as it is, unchanged for the
  // views too.
  const bool unchanged = ediText == logText;
  log.takeExport(unchanged ? std::span<const TextEdit>() : edits, savedLabelText(path));
  session.recordTally().exported(ediText, log.logBuffer.rewrites());
}

}  // namespace vantor
