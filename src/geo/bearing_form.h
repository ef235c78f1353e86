#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/button.h"
#include "form/field.h"
#include "form/form.h"
#include "form/text.h"
#include "geo/scratch_number.h"
#include "platform/dialogs.h"

namespace vantor {

// The hidden calculator: the bearing screen as a form that is never shown. It keeps the home
// locator of "Avanti -->", and each contact's distance is calculated in it by writing the other
// station's locator and pressing "Calculate".
class BearingForm : public Form {
 public:
  BearingForm(Dialogs& dialogs, std::function<void()> exit);

  Field homeLocatorField{"Text3", "JN81GD"};
  Field otherLocatorField{"Text5", kPlaceholder};
  Field distanceField{"Text6", kPlaceholder};
  Field bearingField{"Text1", kPlaceholder};
  Field homeLatitudeField{"Text7", "Text7"};
  Field homeLongitudeField{"Text2", "Text2"};
  Field otherLatitudeField{"Text4", "Text4"};
  Field otherLongitudeField{"Text8", "Text8"};
  Button calculateButton{"Command1", "Calculate"};
  Button exitButton{"Command2", "Exit"};

  [[nodiscard]] std::vector<Control*> controls() override;

  void saveFormState(ControlState& state) const override { writeFlag(state, m_homeTooLongShown); }
  void restoreFormState(StateReader& state) override { m_homeTooLongShown = state.flag(); }

  void setHomeLocator(std::string_view locator) { homeLocatorField.setText(locator); }
  // The distance field's number after calculating towards `locator`; nothing when the field then
  // holds no digit.
  [[nodiscard]] std::optional<double> distanceTo(std::string_view locator);

 private:
  // A number a scratch field took, with its text.
  struct ScratchWrite {
    ScratchNumber number;
    std::string text;
  };

  void calculate();
  // Writes the number's text unless the field still holds the text of the same number, which
  // would change nothing: each contact's distance calculates several times over.
  static void writeScratch(Field& field, std::optional<ScratchWrite>& last, ScratchNumber number);

  Dialogs& m_dialogs;
  // The box about a too long home locator is shown once for each home locator written, not once
  // for each of the calculations that one write of the other locator starts.
  bool m_homeTooLongShown = false;
  std::optional<ScratchWrite> m_homeLatitudeWrite;
  std::optional<ScratchWrite> m_homeLongitudeWrite;
  std::optional<ScratchWrite> m_otherLatitudeWrite;
  std::optional<ScratchWrite> m_otherLongitudeWrite;
};

}  // namespace vantor
