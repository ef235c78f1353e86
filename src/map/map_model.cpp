#include "map/map_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "contest/contact.h"
#include "geo/locator.h"

namespace vantor {

namespace {

std::uint64_t keyOf(const Locator& locator) {
  std::uint64_t key = 0;
  std::memcpy(&key, locator.data(), std::min<std::size_t>(locator.size(), 6));
  return key;
}

}  // namespace

MapModel::MapModel(LogForm& log) : m_log(log), m_worked(kSquareCount) {}

LogStep MapModel::refresh() {
  const std::string home = m_log.homeLocator();
  m_log.measuredDocument();
  m_changedSpots.clear();
  m_newSquares.clear();
  const LogStep step = m_follower.follow(m_log.band(), home);
  if (step == LogStep::Whole) {
    m_home = home;
    readWhole();
  } else if (step == LogStep::Added) {
    readLines(m_follower.firstNewLine());
  }
  m_band = m_log.band().band();
  return step;
}

void MapModel::readWhole() {
  m_hasHome = isValidLocator(m_home);
  m_projection =
      AzimuthalProjection(m_hasHome ? locatorToPoint(preparedLocator(m_home)) : GeoPoint{});
  m_spots.clear();
  m_spotOf.clear();
  m_worked.assign(kSquareCount, false);
  m_workedCount = 0;
  m_lastLine.reset();
  m_spotOf.reserve(m_log.document().lines().size());
  readLines(0);
  m_changedSpots.clear();
  m_newSquares.clear();
}

void MapModel::readLines(std::size_t from) {
  LogDocument& document = m_log.document();
  const std::span<const LogLine> lines = document.lines();
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (!lines[i].isContact() || lines[i].square == kNoSquare) {
      continue;
    }
    if (const auto fields = splitQsoRecord(document.lineText(i))) {
      addContact((*fields)[qso::locator]);
      m_lastLine = i;
    }
  }
}

void MapModel::addContact(std::string_view locator) {
  const Locator prepared = preparedLocator(locator);
  const auto square = squareOf(prepared);
  if (!square) {
    return;
  }
  const auto [found, added] =
      m_spotOf.try_emplace(keyOf(prepared), static_cast<std::uint32_t>(m_spots.size()));
  if (added) {
    MapSpot spot;
    spot.at = m_projection.project(locatorToPoint(prepared));
    std::copy_n(prepared.begin(), spot.locator.size(), spot.locator.begin());
    spot.square = *square;
    m_spots.push_back(spot);
    if (!m_worked[*square]) {
      m_worked[*square] = true;
      ++m_workedCount;
      m_newSquares.push_back(*square);
    }
  }
  ++m_spots[found->second].contacts;
  m_changedSpots.push_back(found->second);
}

std::optional<std::size_t> MapModel::spotNear(MapPoint place, double reach) const {
  std::optional<std::size_t> nearest;
  double best = reach;
  for (std::size_t i = 0; i < m_spots.size(); ++i) {
    const double away =
        distanceOf({m_spots[i].at.east - place.east, m_spots[i].at.north - place.north});
    if (away <= best) {
      best = away;
      nearest = i;
    }
  }
  return nearest;
}

std::optional<MapStation> MapModel::stationOn(std::size_t line) {
  LogDocument& document = m_log.measuredDocument();
  const auto contact = document.contactAt(line);
  if (!contact || !isValidLocator(contact->locator)) {
    return std::nullopt;
  }
  MapStation station;
  station.call = contact->call;
  station.locator = preparedLocator(contact->locator);
  station.date = contact->date;
  station.time = contact->time;
  if (const auto course = document.courseTo(station.locator)) {
    station.qrb = course->distance;
    station.qtf = course->bearing % 360;
  }
  station.at = m_projection.project(locatorToPoint(station.locator));
  return station;
}

std::vector<MapStation> MapModel::stationsAt(std::size_t spot, std::size_t limit) {
  std::vector<MapStation> stations;
  if (spot >= m_spots.size()) {
    return stations;
  }
  const MapSpot& place = m_spots[spot];
  const std::string locator(place.locator.begin(), place.locator.end());
  const std::span<const LogLine> lines = m_log.document().lines();
  for (std::size_t i = lines.size(); i-- > 0 && stations.size() < limit;) {
    if (lines[i].isContact() && lines[i].square == place.square) {
      auto station = stationOn(i);
      if (station && station->locator == locator) {
        stations.push_back(std::move(*station));
      }
    }
  }
  return stations;
}

std::optional<MapStation> MapModel::odx() {
  const auto line = m_log.measuredDocument().score().odxLine();
  return line ? stationOn(*line) : std::nullopt;
}

std::optional<MapStation> MapModel::lastContact() {
  return m_lastLine ? stationOn(*m_lastLine) : std::nullopt;
}

std::optional<MapTarget> MapModel::typedLocator() {
  const std::string& typed = m_log.locatorField.text();
  if (!m_hasHome || !isValidLocator(typed)) {
    return std::nullopt;
  }
  MapTarget target;
  target.locator = preparedLocator(typed);
  const auto course = m_log.measuredDocument().courseTo(target.locator);
  if (!course) {
    return std::nullopt;
  }
  target.qrb = course->distance;
  target.qtf = course->bearing % 360;
  target.at = m_projection.project(locatorToPoint(target.locator));
  return target;
}

std::string MapModel::turnAntenna(MapPoint place) {
  const int bearing = static_cast<int>(std::lround(bearingOf(place))) % 360;
  if (!m_log.turnAntennaTo(bearing)) {
    return std::string(LogForm::kRotatorAbsent);
  }
  return "Antenna verso " + std::to_string(bearing) + "°";
}

}  // namespace vantor
