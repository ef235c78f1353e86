#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/button.h"
#include "form/field.h"
#include "form/form.h"
#include "form/list_field.h"
#include "header/station_header.h"

namespace vantor {

class Session;

// The required header fields, in the order the required-field test checks them.
enum class RequiredField { Callsign, Locator, Contest, Category, Band };

// The required fields a header lacks: an exactly empty callsign or locator, a list still
// showing "...". Empty when all five are present.
[[nodiscard]] std::vector<RequiredField> missingRequiredFields(const StationHeader& header);

// The log screen's date (YYMMDD) from the header's start date (DD/MM/YYYY): the last two
// characters of the third "/"-part, then the second and the first part, unpadded. Nothing when
// the text does not split into three parts.
[[nodiscard]] std::optional<std::string> logDateFromStartDate(std::string_view startDate);

// The header screen: station and contest data, the three dependent lists, "Avanti -->" and
// "Chiudi". The hidden EDI header buffer is where the export assembles its header text.
class HeaderForm : public Form {
 public:
  explicit HeaderForm(Session& session);

  // Start-up: lists filled, today's date in both date fields, focus in the callsign field.
  void start();

  [[nodiscard]] StationHeader stationHeader() const;

  Field callsignField{"Text1"};
  Field locatorField{"Text2"};
  ListField contestList{"Combo1", "..."};
  ListField categoryList{"Combo2", "..."};
  ListField bandList{"Combo3", "..."};
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
  void upperCaseOnEdit(Field& field, bool clearsHighlight);
  void contestPicked();
  void bandPicked();
  void proceed();
  bool markMissing();

  Session& m_session;
};

}  // namespace vantor
