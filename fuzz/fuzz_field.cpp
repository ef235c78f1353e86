// The header and log screens driven by the operator: typing, pasting, deleting and moving the
// caret in any field the operator can reach, picking list items, ticking boxes and pressing the
// buttons. After every step the fields hold what the field model promises, and "Inserisci" only
// ever appends one whole QSO line to the log buffer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "check.h"
#include "contest/contact.h"
#include "contest/log_document.h"
#include "contest/serial_number.h"
#include "form/text.h"
#include "form/utf8.h"
#include "geo/bearing_form.h"
#include "header/header_form.h"
#include "log/log_form.h"
#include "support/fakes.h"

namespace {

using namespace vantor;

constexpr std::string_view kLineEnd = "\r\n";

// Steps beyond this many add run time, not paths.
constexpr std::size_t kMostSteps = 64;

// What one step of the input does; its first byte chooses (as a digit in the seeds).
enum class Action { Type, Paste, Replace, Delete, MoveCaret, Pick, Click, Press };
constexpr std::size_t kActions = 8;

// The operator at the two screens. The log screen is there from the start, as the first contest
// pick or "Avanti -->" would create it.
class Operator {
 public:
  Operator() : m_header(m_session.header()), m_log(m_session.log()) {}

  // One step: the action byte, the byte that chooses the control, then the step's text.
  void step(std::string_view command) {
    if (command.size() < 2) {
      return;
    }
    const auto action = static_cast<Action>(static_cast<unsigned char>(command[0]) % kActions);
    const auto choice = static_cast<unsigned char>(command[1] - 'A');
    const std::string_view text = command.substr(2);
    switch (action) {
      case Action::Type:
        type(field(choice), text);
        break;
      case Action::Paste:
        paste(field(choice), text);
        break;
      case Action::Replace:
        field(choice).edit(text, text.size());
        break;
      case Action::Delete:
        erase(field(choice), text);
        break;
      case Action::MoveCaret:
        field(choice).setCaret(text.empty() ? 0 : static_cast<unsigned char>(text[0]));
        break;
      case Action::Pick:
        pick(choice, text);
        break;
      case Action::Click:
        click(choice);
        break;
      case Action::Press:
        press(choice);
        break;
    }
    checkFields();
  }

 private:
  // A field the operator can type into: visible and not locked.
  Field& field(unsigned char choice) {
    std::vector<Field*> reachable;
    std::copy_if(m_fields.begin(), m_fields.end(), std::back_inserter(reachable),
                 [](const Field* field) { return field->visible() && !field->locked(); });
    return *reachable[choice % reachable.size()];
  }

  // Keystroke by keystroke at the caret: each character, or stray byte, is one edit.
  static void type(Field& field, std::string_view keys) {
    forEachCharacter(
        keys, [&field](std::optional<char32_t>, std::string_view key) { paste(field, key); });
  }

  static void paste(Field& field, std::string_view text) {
    std::string edited = field.text();
    const std::size_t caret = field.caret();
    edited.insert(caret, text);
    field.edit(edited, caret + text.size());
  }

  // Deletes the bytes between two positions the text's first two bytes give.
  static void erase(Field& field, std::string_view positions) {
    std::string edited = field.text();
    const auto at = [&](std::size_t index) {
      return index < positions.size()
                 ? static_cast<unsigned char>(positions[index]) % (edited.size() + 1)
                 : edited.size();
    };
    const std::size_t first = std::min(at(0), at(1));
    const std::size_t last = std::max(at(0), at(1));
    edited.erase(first, last - first);
    field.edit(edited, first);
  }

  void pick(unsigned char choice, std::string_view item) {
    ListField* lists[] = {&m_header.contestList, &m_header.categoryList, &m_header.bandList,
                          &m_log.modeList};
    ListField& list = *lists[choice % std::size(lists)];
    list.pick(item.empty() ? 0 : static_cast<unsigned char>(item[0] - '0'));
  }

  void click(unsigned char choice) {
    Toggle* toggles[] = {&m_log.autoTimeBox, &m_log.plusOneOption, &m_log.plusTwoOption,
                         &m_log.sicilyDoublingBox, &m_log.inContestBox};
    Toggle& toggle = *toggles[choice % std::size(toggles)];
    if (toggle.visible()) {
      toggle.click();
    }
  }

  // "Avanti -->" or "Inserisci".
  void press(unsigned char choice) {
    if (choice % 2 == 0) {
      m_header.proceedButton.press();
    } else {
      insert();
    }
  }

  // "Inserisci": the log buffer keeps its text and gains nothing, or the CR LF that ends its last
  // line and one QSO line made of the row's texts.
  void insert() {
    const std::string before = m_log.logBuffer().text();
    const std::string sent = m_log.serialSentField.text();
    const std::vector<std::string> row{
        m_log.dateField.text(),
        m_log.timeField.text(),
        m_log.callsignField.text(),
        m_log.rstField.text(),
        sent,
        m_log.rstField.text(),
        m_log.serialReceivedField.text(),
        m_log.locatorField.text(),
    };
    m_log.insertButton.press();
    const std::string& after = m_log.logBuffer().text();
    FUZZ_CHECK(after.starts_with(before));
    if (after.size() == before.size()) {
      return;
    }
    std::string_view line = std::string_view(after).substr(before.size());
    if (!before.empty() && !before.ends_with(kLineEnd)) {
      FUZZ_CHECK(line.starts_with(kLineEnd));
      line.remove_prefix(kLineEnd.size());
    }
    FUZZ_CHECK(line.ends_with(kLineEnd));
    FUZZ_CHECK(!fuzz::holdsLineBreak(line.substr(0, line.size() - kLineEnd.size())));
    std::size_t separators = 14;
    for (const std::string& text : row) {
      separators += static_cast<std::size_t>(std::count(text.begin(), text.end(), ';'));
    }
    FUZZ_CHECK(static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) == separators);
    FUZZ_CHECK(line.starts_with(row[0] + ";" + row[1] + ";" + row[2] + ";"));
    // Only a valid serial number lets a contact in, and the next contact gets the next one.
    const auto serial = readSerialNumber(sent);
    FUZZ_CHECK(serial.has_value());
    FUZZ_CHECK(m_log.serialSentField.text() ==
               (*serial < kLastSerialNumber ? serialNumberText(*serial + 1) : sent));
  }

  static void checkField(const Field& field) {
    FUZZ_CHECK(field.multiLine() || !fuzz::holdsLineBreak(field.text()));
    FUZZ_CHECK(field.caret() <= field.text().size());
  }

  static void checkUpperCase(const Field& field) {
    FUZZ_CHECK(field.text() == toUpper(field.text()));
  }

  void checkFields() {
    for (const Field* field : m_fields) {
      checkField(*field);
    }
    for (const Field* field : {&m_header.callsignField, &m_header.locatorField, &m_header.nameField,
                               &m_header.addressField, &m_header.cityField, &m_header.countryField,
                               &m_log.callsignField, &m_log.locatorField}) {
      checkUpperCase(*field);
    }
    if (m_session.hasBearing()) {
      BearingForm& bearing = m_session.bearing();
      for (const Field* field : {&bearing.homeLocatorField, &bearing.otherLocatorField}) {
        checkField(*field);
        checkUpperCase(*field);
      }
    }
    checkFollowedLog();
  }

  // A log document that follows the log buffer's changes, each step's taken as one, holds what
  // a document reading the text afresh holds: the lines, the score, the calls of the records
  // there now and none of those taken out.
  void checkFollowedLog() {
    m_buffer.edit(m_log.logBuffer().text(), 0);
    Field copy("copy", m_buffer.text(), Field::Lines::Multi);
    LogDocument fresh(copy);
    FUZZ_CHECK(m_followed.lines().size() == fresh.lines().size());
    FUZZ_CHECK(m_followed.score().contacts() == fresh.score().contacts());
    FUZZ_CHECK(m_followed.statistics().total == fresh.statistics().total);
    FUZZ_CHECK(m_followed.score().odxLine() == fresh.score().odxLine());
    forEachLine(m_buffer.text(), [this](std::string_view line) {
      if (const auto fields = readQsoRecord(line); fields && m_seenCalls.size() < kMostSteps) {
        m_seenCalls.emplace_back((*fields)[qso::call]);
      }
    });
    for (const std::string& call : m_seenCalls) {
      FUZZ_CHECK(m_followed.calls().holds(call) == fresh.calls().holds(call));
    }
  }

  testing::PinnedClock m_clock;
  testing::RecordingDialogs m_dialogs;
  testing::RecordingScreens m_screens;
  Session m_session{m_clock, m_dialogs, m_screens};
  HeaderForm& m_header;
  LogForm& m_log;
  Field m_buffer{"buffer", {}, Field::Lines::Multi};
  LogDocument m_followed{m_buffer};
  std::vector<std::string> m_seenCalls;
  // Every field of the two screens; the header's lists count as fields, since their edit boxes
  // take typing.
  const std::vector<Field*> m_fields{
      &m_header.callsignField,
      &m_header.locatorField,
      &m_header.contestList,
      &m_header.categoryList,
      &m_header.bandList,
      &m_header.startDateField,
      &m_header.endDateField,
      &m_header.commentsField,
      &m_header.nameField,
      &m_header.addressField,
      &m_header.postcodeField,
      &m_header.cityField,
      &m_header.countryField,
      &m_header.phoneField,
      &m_header.emailField,
      &m_header.operatorsField,
      &m_header.clubField,
      &m_header.receiverField,
      &m_header.transmitterField,
      &m_header.antennasField,
      &m_header.powerField,
      &m_header.antennaHeightField,
      &m_header.altitudeField,
      &m_header.ediHeaderBuffer,
      &m_log.serialSentField,
      &m_log.bandField,
      &m_log.modeList,
      &m_log.dateField,
      &m_log.timeField,
      &m_log.callsignField,
      &m_log.rstField,
      &m_log.serialReceivedField,
      &m_log.locatorField,
      &m_log.qrbField,
      &m_log.odxCallField,
      &m_log.odxLocatorField,
      &m_log.odxDistanceField,
      &m_log.averageField,
      &m_log.totalField,
      &m_log.logBuffer(),
  };
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto steps = fuzz::splitInput(data, size);
  Operator op;
  for (std::size_t i = 0; i < std::min(steps.size(), kMostSteps); ++i) {
    op.step(steps[i]);
  }
  return 0;
}
