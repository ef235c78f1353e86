#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "geo/map_projection.h"
#include "log/log_form.h"
#include "map/log_follower.h"

namespace vantor {

// A place of the map where contacts of the band logged are: one locator, drawn as one point
// whatever the number of contacts made there.
struct MapSpot {
  MapPoint at;
  std::array<char, 6> locator{};
  std::uint16_t square = 0;
  std::uint32_t contacts = 0;
};

// A contact as the map tells it: in the tooltip, as the ODX, as the last one.
struct MapStation {
  std::string call;
  std::string locator;
  std::string date;
  std::string time;
  int qrb = 0;
  int qtf = 0;
  MapPoint at;
};

// A locator being typed, once valid, with its course from home.
struct MapTarget {
  std::string locator;
  int qrb = 0;
  int qtf = 0;
  MapPoint at;
};

// The map of the band being logged as a picture of its log: where its contacts are, the squares
// they are in, the ODX and the last one, the locator typed and the antenna. It reads the band log
// (its lines and score) and keeps no record of it: only the places drawn, which it follows by
// reading what each change added, or the whole log again when a change was anything else.
class MapModel {
 public:
  explicit MapModel(LogForm& log);

  // Reads what changed in the log since the last call: None, the spots of lines Added at the end,
  // or the Whole map anew (another band or home too).
  LogStep refresh();
  // The next refresh reads the log whole, as a map opened anew does.
  void readAgain() { m_follower.forget(); }

  // Whether the home locator is valid: without it the map has no centre and shows no contact.
  [[nodiscard]] bool hasHome() const { return m_hasHome; }
  [[nodiscard]] const AzimuthalProjection& projection() const { return m_projection; }
  [[nodiscard]] const std::string& band() const { return m_band; }

  [[nodiscard]] std::span<const MapSpot> spots() const { return m_spots; }
  // After an Added step: the spots that came or took a contact more, and the squares first worked.
  [[nodiscard]] std::span<const std::uint32_t> changedSpots() const { return m_changedSpots; }
  [[nodiscard]] std::span<const std::uint16_t> newSquares() const { return m_newSquares; }
  [[nodiscard]] bool worked(std::uint16_t square) const { return m_worked[square]; }
  [[nodiscard]] std::size_t workedSquares() const { return m_workedCount; }

  // The spot nearest `place` within `reach` km.
  [[nodiscard]] std::optional<std::size_t> spotNear(MapPoint place, double reach) const;
  // The latest `limit` contacts of a spot, the latest first.
  [[nodiscard]] std::vector<MapStation> stationsAt(std::size_t spot, std::size_t limit);
  [[nodiscard]] std::optional<MapStation> odx();
  [[nodiscard]] std::optional<MapStation> lastContact();

  [[nodiscard]] std::optional<MapTarget> typedLocator();
  [[nodiscard]] std::optional<double> antennaHeading() const { return m_log.antennaHeading(); }
  // A click at `place` turns the antenna to its bearing; what to tell the operator when it cannot.
  [[nodiscard]] std::string turnAntenna(MapPoint place);

 private:
  void readWhole();
  void readLines(std::size_t from);
  void addContact(std::string_view locator);
  [[nodiscard]] std::optional<MapStation> stationOn(std::size_t line);

  LogForm& m_log;
  LogFollower m_follower;
  std::string m_band;
  std::string m_home;
  bool m_hasHome = false;
  AzimuthalProjection m_projection{GeoPoint{}};
  std::vector<MapSpot> m_spots;
  // The spot of each locator, by its six bytes as one number.
  std::unordered_map<std::uint64_t, std::uint32_t> m_spotOf;
  std::vector<bool> m_worked;
  std::size_t m_workedCount = 0;
  std::vector<std::uint32_t> m_changedSpots;
  std::vector<std::uint16_t> m_newSquares;
  std::optional<std::size_t> m_lastLine;
};

}  // namespace vantor
