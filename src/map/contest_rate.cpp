#include "map/contest_rate.h"

#include <algorithm>

#include "contest/contact.h"
#include "contest/contact_time.h"

namespace vantor {

namespace {

constexpr std::int64_t kMinutesPerHour = 60;
// The most hours shown, up to the last contact's: a contest lasts a day or two, and a record
// dated years off does not make a chart of years.
constexpr std::int64_t kMostHours = 96;

}  // namespace

bool ContestRate::refresh() {
  bool changed = m_bands.size() > m_log.bandCount();
  m_bands.resize(std::min(m_bands.size(), m_log.bandCount()));
  for (std::size_t i = 0; i < m_log.bandCount(); ++i) {
    if (i == m_bands.size()) {
      m_bands.push_back(std::make_unique<Band>());
    }
    Band& band = *m_bands[i];
    BandLog& log = m_log.bandAt(i);
    changed = changed || band.name != log.band();
    band.name = log.band();
    const LogStep step = band.follower.follow(log, {});
    if (step == LogStep::Whole) {
      band.minutes.clear();
      band.hourPoints.clear();
    }
    if (step != LogStep::None) {
      read(band, log, band.follower.firstNewLine());
      changed = true;
    }
  }
  return changed;
}

void ContestRate::read(Band& band, BandLog& log, std::size_t from) {
  LogDocument& document = log.document();
  const std::span<const LogLine> lines = document.lines();
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (!lines[i].isContact()) {
      continue;
    }
    const auto fields = splitQsoRecord(document.lineText(i));
    const auto minute =
        fields ? recordMinute((*fields)[qso::date], (*fields)[qso::time]) : std::nullopt;
    if (minute) {
      ++band.minutes[*minute];
      band.hourPoints[*minute / kMinutesPerHour] += lines[i].points;
    }
  }
}

std::vector<std::string> ContestRate::bands() const {
  std::vector<std::string> names;
  for (const auto& band : m_bands) {
    names.push_back(band->name);
  }
  return names;
}

std::vector<RateHour> ContestRate::hours() const {
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  for (const auto& band : m_bands) {
    if (!band->minutes.empty()) {
      const std::int64_t low = band->minutes.begin()->first / kMinutesPerHour;
      const std::int64_t high = band->minutes.rbegin()->first / kMinutesPerHour;
      first = std::min(first.value_or(low), low);
      last = std::max(last.value_or(high), high);
    }
  }
  std::vector<RateHour> hours;
  if (!first) {
    return hours;
  }
  for (std::int64_t hour = std::max(*first, *last - kMostHours + 1); hour <= *last; ++hour) {
    RateHour& rate = hours.emplace_back();
    rate.hour = hour;
    rate.runningPoints = hours.size() > 1 ? hours[hours.size() - 2].runningPoints : 0;
    for (const auto& band : m_bands) {
      const auto from = band->minutes.lower_bound(hour * kMinutesPerHour);
      const auto to = band->minutes.lower_bound((hour + 1) * kMinutesPerHour);
      std::size_t count = 0;
      for (auto it = from; it != to; ++it) {
        count += it->second;
      }
      rate.contacts.push_back(count);
      const auto points = band->hourPoints.find(hour);
      rate.runningPoints += points == band->hourPoints.end() ? 0 : points->second;
    }
  }
  return hours;
}

std::optional<BestHour> ContestRate::bestHour() const {
  std::map<std::int64_t, std::size_t> all;
  for (const auto& band : m_bands) {
    for (const auto& [minute, count] : band->minutes) {
      all[minute] += count;
    }
  }
  std::optional<BestHour> best;
  std::size_t inWindow = 0;
  auto start = all.begin();
  for (auto end = all.begin(); end != all.end(); ++end) {
    inWindow += end->second;
    while (start->first <= end->first - kMinutesPerHour) {
      inWindow -= start->second;
      ++start;
    }
    if (!best || inWindow > best->contacts) {
      best = BestHour{end->first - kMinutesPerHour + 1, inWindow};
    }
  }
  return best;
}

double ContestRate::points() const {
  double total = 0;
  for (const auto& band : m_bands) {
    for (const auto& [hour, points] : band->hourPoints) {
      total += points;
    }
  }
  return total;
}

}  // namespace vantor
