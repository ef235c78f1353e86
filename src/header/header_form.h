#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/button.h"
#include "form/field.h"
#include "form/form.h"
#include "form/list_field.h"
#include "form/text.h"
#include "header/station_header.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

namespace vantor {

// The header screen's boxes carry the program's full name as their title and an information icon.
[[nodiscard]] Message headerMessage(std::string text);

// The required header fields, in the order the required-field test checks them.
enum class RequiredField { Callsign, Locator, Contest, Category, Band };

// The required fields a header lacks: an exactly empty callsign or locator, a list still
// showing "...". Empty when all five are present.
[[nodiscard]] std::vector<RequiredField> missingRequiredFields(const StationHeader& header);

// The log screen's date (YYMMDD) from the header's start date (DD/MM/YYYY): the last two
// characters of the third "/"-part, then the second and the first part, unpadded. Nothing when
// the text does not split into three parts.
[[nodiscard]] std::optional<std::string> logDateFromStartDate(std::string_view startDate);

// What the header screen's choices ask of the rest of the program.
struct HeaderLinks {
  // The contest pick: the log screen offers the Sicily box, and asks the received serial.
  std::function<void(bool offered)> offerSicilyDoubling;
  std::function<void(bool asked)> askReceivedSerial;
  // The band pick: the band item and its short code for the log screen.
  std::function<void(const std::string& band, std::string_view code)> applyBand;
  // A contest pick that changes the contest: whether it may, asked when logs hold contacts. On
  // true the logs of the earlier contest have been set aside.
  std::function<bool()> changeContest;
  // "Avanti -->" found the header complete: the home locator and the log date (YYMMDD).
  std::function<void(const std::string& homeLocator, const std::string& logDate)> proceed;
  std::function<void()> close;
};

// The header screen: station and contest data, the three dependent lists, "Avanti -->" and
// "Chiudi". The hidden EDI header buffer is where the export assembles its header text.
class HeaderForm : public Form {
 public:
  HeaderForm(const Clock& clock, Dialogs& dialogs, HeaderLinks links);

  // Start-up: lists filled, today's date in both date fields, focus in the callsign field.
  void start();

  [[nodiscard]] StationHeader stationHeader() const;
  // Shows a station header read back from a file: contest, band and category picked, in this
  // order, as the operator picks them, so each pick's rules run (a text that is no item of its
  // list is typed in instead); then every other field written.
  void resume(const StationHeader& station);

  // The export assembles its header text here: the header section's three pieces, then the
  // score lines. Returns the assembled text.
  const std::string& writeEdiHeader(const std::array<std::string, 3>& section,
                                    std::string_view scoreLines);

  Field callsignField{"Text1"};
  Field locatorField{"Text2"};
  ListField contestList{"Combo1", kPlaceholder};
  ListField categoryList{"Combo2", kPlaceholder};
  ListField bandList{"Combo3", kPlaceholder};
  Field startDateField{"Text19"};
  Field endDateField{"Text20"};
  Field commentsField{"Text17"};
  Field nameField{"Text3"};
  Field addressField{"Text4"};
  Field postcodeField{"Text5"};
  Field cityField{"Text6"};
  Field countryField{"Text7"};
  Field phoneField{"Text8"};
  Field emailField{"Text9"};
  Field operatorsField{"Text10"};
  Field clubField{"Text18"};
  Field receiverField{"Text11"};
  Field transmitterField{"Text12"};
  Field antennasField{"Text13"};
  Field powerField{"Text14"};
  Field antennaHeightField{"Text15"};
  Field altitudeField{"Text16"};
  Field ediHeaderBuffer{"Text21", {}, Field::Lines::Multi};
  Button proceedButton{"Command1", "Avanti -->"};
  Button closeButton{"Command2", "Chiudi"};

  [[nodiscard]] std::vector<Control*> controls() override;

 private:
  [[nodiscard]] std::vector<std::pair<Field*, const std::string*>> textFields(
      const StationHeader& station);
  void upperCaseOnEdit(Field& field, bool clearsHighlight);
  void contestPicked();
  void bandPicked();
  void proceed();
  bool markMissing();

  const Clock& m_clock;
  Dialogs& m_dialogs;
  HeaderLinks m_links;
};

}  // namespace vantor
