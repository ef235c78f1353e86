#include "app/edi_export.h"

#include "app/edi_folder.h"
#include "app/session.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

namespace {

ScoreTexts scoreTexts(const LogScore& score, const std::string& comments) {
  return ScoreTexts{score.serialSent, score.total,       score.odxCall,
                    score.odxLocator, score.odxDistance, comments};
}

}  // namespace

void exportEdi(Session& session) {
  const StationHeader station = session.header().stationHeader();
  const auto startDate = convertDate(station.startDate);
  const auto endDate = convertDate(station.endDate);
  if (!startDate || !endDate) {
    session.dialogs().showMessage(Message{std::string(invalidDateMessage)});
    return;
  }
  const std::string section = sectionCode(station.band, station.category);
  LogForm& log = session.log();
  const std::string& headerText =
      session.header().writeEdiHeader(buildHeaderSection(station, *startDate, *endDate, section),
                                      buildScoreLines(scoreTexts(log.score(), station.comments)));

  const std::string ediText = buildEdiText(headerText, log.logBuffer.text());
  const EdiFolder& folder = session.ediFolder();
  const auto path = ediFilePath(folder.path, section, station.callsign);
  // The log buffer takes the EDI text only once the file holds it, so a failed save loses nothing.
  if (const std::error_code error = prepareEdiFolder(folder)) {
    session.dialogs().showMessage(Message{saveFailedText(path, error)});
    return;
  }
  if (const auto failure = saveEdiFile(path, ediText)) {
    session.dialogs().showMessage(Message{*failure});
    return;
  }
  log.takeExport(ediText, savedLabelText(path));
}

}  // namespace vantor
