#pragma once

namespace vantor {

// What the windows do when the session asks: the core decides when, the view decides how.
class Screens {
 public:
  virtual ~Screens() = default;
  // Shows the log screen without making it modal and brings it to the front.
  virtual void showLog() = 0;
  // Brings the header screen to the front.
  virtual void showHeader() = 0;
  // Shows the correction screen over the log screen, the only window the operator can then use.
  virtual void showContact() = 0;
  // Closes the correction screen.
  virtual void closeContact() = 0;
  // Every window shows what its screen now holds: something other than the operator's own event
  // changed the screens.
  virtual void syncViews() = 0;
  // Closes every window; the program ends.
  virtual void closeAll() = 0;
};

}  // namespace vantor
