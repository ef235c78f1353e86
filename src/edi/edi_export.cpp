#include "edi/edi_export.h"

#include "app/session.h"
#include "edi/edi_file.h"
#include "edi/edi_header.h"
#include "edi/edi_text.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor {

void exportEdi(Session& session) {
  HeaderForm& header = session.header();
  LogForm& log = session.log();

  const auto startDate = convertDate(header.startDateField.text());
  const auto endDate = convertDate(header.endDateField.text());
  if (!startDate || !endDate) {
    session.dialogs().showMessage(Message{std::string(invalidDateMessage)});
    return;
  }
  const std::string section = sectionCode(header.bandList.text(), header.categoryList.text());

  const auto pieces = buildHeaderSection(header.stationHeader(), *startDate, *endDate, section);
  header.ediHeaderBuffer.setText(pieces[0]);
  header.ediHeaderBuffer.append(pieces[1]);
  header.ediHeaderBuffer.append(pieces[2]);
  header.ediHeaderBuffer.append(buildScoreLines({
      log.serialSentField.text(),
      log.totalField.text(),
      log.odxCallField.text(),
      log.odxLocatorField.text(),
      log.odxDistanceField.text(),
      header.commentsField.text(),
  }));

  const std::string ediText = buildEdiText(header.ediHeaderBuffer.text(), log.logBuffer.text());
  const auto path = ediFilePath(session.programFolder(), section, header.callsignField.text());
  // The log buffer takes the EDI text only once the file holds it, so a failed save loses nothing.
  if (const auto failure = saveEdiFile(path, ediText)) {
    session.dialogs().showMessage(Message{*failure});
    return;
  }
  log.logBuffer.setText(ediText);
  log.markSaved();
  log.saveMessageLabel.setText(savedLabelText(path));
}

}  // namespace vantor
