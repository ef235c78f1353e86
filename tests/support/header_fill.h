#pragma once

#include <string_view>

#include "header/header_form.h"

namespace vantor::testing {

// Fills the header screen's required fields: the callsign and locator, and the picks of the IARU
// VHF contest, single operator, on 144 MHz.
inline void fillRequiredHeader(HeaderForm& header, std::string_view callsign = "qq9xyz",
                               std::string_view locator = "jn70aa") {
  header.callsignField.setText(callsign);
  header.locatorField.setText(locator);
  header.contestList.pickText("Contest IARU Reg. I VHF");
  header.categoryList.pickText("Singolo Operatore");
  header.bandList.pickText("144 Mhz");
}

}  // namespace vantor::testing
