#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contest/log_document.h"
#include "form/field.h"
#include "form/form.h"

namespace vantor {

// The log of one band of the contest: its log buffer and the document over it, and what the log
// screen shows of it while another band is logged (the next serial number and the save label).
// A band log is a form of its own for the log kept on disk, so switching bands writes none of
// the logs again.
class BandLog : public Form {
 public:
  // `band` is the header's band item ("144 Mhz"); empty for the log begun before any band was
  // picked, which takes the first band picked.
  explicit BandLog(std::string band);

  [[nodiscard]] const std::string& band() const { return m_band; }
  void name(std::string band) { m_band = std::move(band); }

  Field buffer{"Text15", {}, Field::Lines::Multi};
  [[nodiscard]] LogDocument& document() { return m_document; }
  // Whether the log holds a line with the record's shape.
  [[nodiscard]] bool holdsRecords();

  // While the log is not the one shown: its next serial number and its save label.
  std::string serialSent{"001"};
  std::string savedLabel;
  // Whether the buffer holds text not yet written to an EDI file in this run.
  bool unsaved = false;

  [[nodiscard]] std::vector<Control*> controls() override { return {&buffer}; }

 private:
  std::string m_band;
  LogDocument m_document{buffer};
};

}  // namespace vantor
