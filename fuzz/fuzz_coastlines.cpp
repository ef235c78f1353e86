// The coastline decoder on any arrays: it gives lines of two points or more on the Earth, takes
// each point at most once, and nothing below the first level.
//
// The input: one byte of choices (bits 0 and 1 a grid, 3 being one read from the input; bit 2 the
// shoreline's packed words in place of point counts and levels; bits 3 to 5 the highest level),
// the grid's three numbers when read, then the arrays, each a count byte and as many signed 16-bit
// little-endian numbers: first segments and segment counts by bin, first points, point counts
// (or words) and levels by segment, offsets east and north by point.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "check.h"
#include "map/coastlines.h"

namespace {

using namespace vantor;

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

  int number() {
    const auto low = byte();
    const auto high = byte();
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
  }

  std::vector<int> numbers() {
    std::vector<int> values(byte());
    std::generate(values.begin(), values.end(), [this] { return number(); });
    return values;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

std::vector<std::uint16_t> offsets(const std::vector<int>& values) {
  std::vector<std::uint16_t> result(values.size());
  std::transform(values.begin(), values.end(), result.begin(),
                 [](int value) { return static_cast<std::uint16_t>(value); });
  return result;
}

void setGrid(BinnedShores& shores, unsigned choice, Bytes& bytes) {
  const int grids[][3] = {{1200, 18, 9}, {10800, 2, 1}, {600, 36, 18}};
  if (choice < 3) {
    shores.binSizeMinutes = grids[choice][0];
    shores.binsAcross = grids[choice][1];
    shores.binsDown = grids[choice][2];
    return;
  }
  shores.binSizeMinutes = bytes.number();
  shores.binsAcross = bytes.number();
  shores.binsDown = bytes.number();
}

void checkLines(const std::vector<Polyline>& lines, const BinnedShores& shores) {
  std::size_t points = 0;
  for (const Polyline& line : lines) {
    FUZZ_CHECK(line.size() >= 2);
    points += line.size();
    for (const GeoPoint& point : line) {
      FUZZ_CHECK(std::abs(point.longitude) <= 180.0 && std::abs(point.latitude) <= 90.0);
    }
  }
  FUZZ_CHECK(points <= std::min(shores.east.size(), shores.north.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  const unsigned choices = bytes.byte();
  BinnedShores shores;
  setGrid(shores, choices & 3U, bytes);
  shores.firstSegment = bytes.numbers();
  shores.segmentCount = bytes.numbers();
  shores.firstPoint = bytes.numbers();
  if ((choices & 4U) != 0) {
    unpackSegmentWords(bytes.numbers(), shores);
  } else {
    shores.pointCount = bytes.numbers();
    shores.level = bytes.numbers();
  }
  shores.east = offsets(bytes.numbers());
  shores.north = offsets(bytes.numbers());
  const int maxLevel = static_cast<int>((choices >> 3) & 7U);
  const std::vector<Polyline> lines = decodeBinned(shores, maxLevel);
  checkLines(lines, shores);
  FUZZ_CHECK(decodeBinned(shores, 0).empty());
  return 0;
}
