#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "log/log_form.h"
#include "map/log_follower.h"

namespace vantor {

// One hour of the contest: the contacts of each band in it (in the order of ContestRate::bands)
// and the points of every band up to its end.
struct RateHour {
  std::int64_t hour = 0;  // minuteOf / 60
  std::vector<std::size_t> contacts;
  double runningPoints = 0;
};

// The 60 minutes with the most contacts of all bands: the first minute and how many.
struct BestHour {
  std::int64_t firstMinute = 0;
  std::size_t contacts = 0;
};

// The contest's rate as a picture of its band logs: contacts by hour and band, the best 60
// minutes, the points as they grew. Counted from the records' dates and times (a record without a
// real one is not counted); each log is read again only where it changed (see LogFollower).
class ContestRate {
 public:
  explicit ContestRate(LogForm& log) : m_log(log) {}

  // Reads what changed; true when anything did.
  bool refresh();

  [[nodiscard]] std::vector<std::string> bands() const;
  // Every hour from the first contact's to the last one's, empty hours included (at most the last
  // 96).
  [[nodiscard]] std::vector<RateHour> hours() const;
  [[nodiscard]] std::optional<BestHour> bestHour() const;
  [[nodiscard]] double points() const;

 private:
  struct Band {
    std::string name;
    LogFollower follower;
    // Contacts by minute, points by hour.
    std::map<std::int64_t, std::size_t> minutes;
    std::map<std::int64_t, double> hourPoints;
  };

  void read(Band& band, BandLog& log, std::size_t from);

  LogForm& m_log;
  std::vector<std::unique_ptr<Band>> m_bands;
};

}  // namespace vantor
