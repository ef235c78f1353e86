#pragma once

#include <functional>
#include <vector>

#include "form/button.h"
#include "form/field.h"
#include "form/form.h"
#include "platform/dialogs.h"

namespace vantor {

// The hidden calculator: the bearing screen as a form that is never shown. The header screen
// writes the home locator into it; the log screen writes the other station's locator, presses
// "Calculate" and reads the distance back.
class BearingForm : public Form {
 public:
  BearingForm(Dialogs& dialogs, std::function<void()> exit);

  Field homeLocatorField{"Text3", "JN81GD"};
  Field otherLocatorField{"Text5", "..."};
  Field distanceField{"Text6", "..."};
  Field bearingField{"Text1", "..."};
  Field homeLatitudeField{"Text7", "Text7"};
  Field homeLongitudeField{"Text2", "Text2"};
  Field otherLatitudeField{"Text4", "Text4"};
  Field otherLongitudeField{"Text8", "Text8"};
  Button calculateButton{"Command1", "Calculate"};
  Button exitButton{"Command2", "Exit"};

  [[nodiscard]] std::vector<Control*> controls() override;

 private:
  void calculate();

  Dialogs& m_dialogs;
  // The box about a too long home locator is shown once for each home locator written, not once
  // for each of the calculations that one write of the other locator starts.
  bool m_homeTooLongShown = false;
};

}  // namespace vantor
