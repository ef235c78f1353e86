#include "map/coastlines.h"

#include <netcdf.h>

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace vantor {

namespace {

constexpr int kMinutesAround = 360 * 60;
constexpr int kMinutesFromPoleToPole = 180 * 60;
// An offset of 65535 is the bin's far side.
constexpr double kOffsetSteps = 65535.0;
// The shoreline word: the point count from bit 9 up, the level in bits 6 to 8.
constexpr unsigned kPointCountShift = 9;
constexpr unsigned kLevelShift = 6;
constexpr unsigned kLevelMask = 7;
// More values than any resolution's file holds: a larger array is not read.
constexpr std::size_t kLargestArray = std::size_t{1} << 26;

bool coversTheWorld(const BinnedShores& shores) {
  return shores.binSizeMinutes > 0 && shores.binsAcross > 0 && shores.binsDown > 0 &&
         std::int64_t{shores.binSizeMinutes} * shores.binsAcross == kMinutesAround &&
         std::int64_t{shores.binSizeMinutes} * shores.binsDown == kMinutesFromPoleToPole;
}

// Whether `first` and `count` name a run of an array of `size` values.
bool isRunInside(int first, int count, std::size_t size) {
  return first >= 0 && count >= 0 &&
         static_cast<std::size_t>(first) + static_cast<std::size_t>(count) <= size;
}

// A bin's south-west corner and the degrees of one step of offset.
struct Bin {
  double west = 0.0;
  double south = 0.0;
  double step = 0.0;
};

Bin binAt(const BinnedShores& shores, std::size_t index) {
  const double side = shores.binSizeMinutes / 60.0;
  const auto across = static_cast<std::size_t>(shores.binsAcross);
  Bin bin;
  bin.west = static_cast<double>(index % across) * side;
  bin.south = 90.0 - static_cast<double>(index / across + 1) * side;
  bin.step = side / kOffsetSteps;
  return bin;
}

GeoPoint pointAt(const BinnedShores& shores, const Bin& bin, std::size_t index) {
  GeoPoint point;
  point.longitude = bin.west + shores.east[index] * bin.step;
  if (point.longitude > 180.0) {
    point.longitude -= 360.0;
  }
  point.latitude = bin.south + shores.north[index] * bin.step;
  return point;
}

// One decoding under way: the arrays, the counts of segments and points all their arrays
// describe, the points taken so far and the lines made.
struct Decoding {
  const BinnedShores& shores;
  int maxLevel = 0;
  std::size_t segments = 0;
  std::size_t points = 0;
  std::vector<bool> taken;
  std::vector<Polyline> lines;
};

void decodeSegment(Decoding& decoding, const Bin& bin, std::size_t segment) {
  const BinnedShores& shores = decoding.shores;
  const int level = shores.level[segment];
  const int first = shores.firstPoint[segment];
  const int count = shores.pointCount[segment];
  if (level < 1 || level > decoding.maxLevel || count < 2 ||
      !isRunInside(first, count, decoding.points)) {
    return;
  }
  const auto begin = decoding.taken.begin() + first;
  const auto end = begin + count;
  if (std::find(begin, end, true) != end) {
    return;
  }
  std::fill(begin, end, true);
  Polyline line;
  line.reserve(static_cast<std::size_t>(count));
  for (int index = first; index < first + count; ++index) {
    line.push_back(pointAt(shores, bin, static_cast<std::size_t>(index)));
  }
  decoding.lines.push_back(std::move(line));
}

void decodeBin(Decoding& decoding, std::size_t index) {
  const int first = decoding.shores.firstSegment[index];
  const int count = decoding.shores.segmentCount[index];
  if (!isRunInside(first, count, decoding.segments)) {
    return;
  }
  const Bin bin = binAt(decoding.shores, index);
  for (int segment = first; segment < first + count; ++segment) {
    decodeSegment(decoding, bin, static_cast<std::size_t>(segment));
  }
}

// A netCDF file open for reading, closed with the object.
class NetcdfFile {
 public:
  explicit NetcdfFile(const std::filesystem::path& path)
      : m_open(nc_open(path.c_str(), NC_NOWRITE, &m_id) == NC_NOERR) {}
  NetcdfFile(const NetcdfFile&) = delete;
  NetcdfFile& operator=(const NetcdfFile&) = delete;
  ~NetcdfFile() {
    if (m_open) {
      nc_close(m_id);
    }
  }

  // A variable of one dimension as integers; nothing when it is missing, of another shape, too
  // large, or of values that are no integers.
  [[nodiscard]] std::optional<std::vector<int>> ints(const char* name) const {
    int variable = 0;
    int dimensions = 0;
    int dimension = 0;
    std::size_t length = 0;
    if (!m_open || nc_inq_varid(m_id, name, &variable) != NC_NOERR ||
        nc_inq_varndims(m_id, variable, &dimensions) != NC_NOERR || dimensions != 1 ||
        nc_inq_vardimid(m_id, variable, &dimension) != NC_NOERR ||
        nc_inq_dimlen(m_id, dimension, &length) != NC_NOERR || length > kLargestArray) {
      return std::nullopt;
    }
    std::vector<int> values(length);
    if (length > 0 && nc_get_var_int(m_id, variable, values.data()) != NC_NOERR) {
      return std::nullopt;
    }
    return values;
  }

  // A variable of one value.
  [[nodiscard]] std::optional<int> scalar(const char* name) const {
    const std::optional<std::vector<int>> values = ints(name);
    if (!values || values->size() != 1) {
      return std::nullopt;
    }
    return values->front();
  }

 private:
  int m_id = 0;
  bool m_open = false;
};

// The offsets, stored as signed 16-bit numbers, as the unsigned ones they are.
std::vector<std::uint16_t> offsetsOf(const std::vector<int>& stored) {
  std::vector<std::uint16_t> offsets(stored.size());
  std::transform(stored.begin(), stored.end(), offsets.begin(),
                 [](int value) { return static_cast<std::uint16_t>(value); });
  return offsets;
}

// What the shoreline and the border files share: the grid, the bins, the segments' first points
// and the points.
std::optional<BinnedShores> readGrid(const NetcdfFile& file) {
  const auto size = file.scalar("Bin_size_in_minutes");
  const auto across = file.scalar("N_bins_in_360_longitude_range");
  const auto down = file.scalar("N_bins_in_180_degree_latitude_range");
  auto firstSegment = file.ints("Id_of_first_segment_in_a_bin");
  auto segmentCount = file.ints("N_segments_in_a_bin");
  auto firstPoint = file.ints("Id_of_first_point_in_a_segment");
  const auto east = file.ints("Relative_longitude_from_SW_corner_of_bin");
  const auto north = file.ints("Relative_latitude_from_SW_corner_of_bin");
  if (!size || !across || !down || !firstSegment || !segmentCount || !firstPoint || !east ||
      !north) {
    return std::nullopt;
  }
  BinnedShores shores;
  shores.binSizeMinutes = *size;
  shores.binsAcross = *across;
  shores.binsDown = *down;
  shores.firstSegment = std::move(*firstSegment);
  shores.segmentCount = std::move(*segmentCount);
  shores.firstPoint = std::move(*firstPoint);
  shores.east = offsetsOf(*east);
  shores.north = offsetsOf(*north);
  return shores;
}

std::optional<std::vector<Polyline>> readShoreFile(const std::filesystem::path& path) {
  const NetcdfFile file(path);
  std::optional<BinnedShores> shores = readGrid(file);
  const auto words = file.ints("Embedded_npts_levels_exit_entry_for_a_segment");
  if (!shores || !words) {
    return std::nullopt;
  }
  unpackSegmentWords(*words, *shores);
  return decodeBinned(*shores, kLakeLevel);
}

std::optional<std::vector<Polyline>> readBorderFile(const std::filesystem::path& path) {
  const NetcdfFile file(path);
  std::optional<BinnedShores> borders = readGrid(file);
  auto pointCount = file.ints("N_points_for_a_segment");
  // The files spell the name so.
  auto level = file.ints("Hierarchial_level_of_a_segment");
  if (!borders || !pointCount || !level) {
    return std::nullopt;
  }
  borders->pointCount = std::move(*pointCount);
  borders->level = std::move(*level);
  return decodeBinned(*borders, kNationalBorderLevel);
}

}  // namespace

void unpackSegmentWords(const std::vector<int>& words, BinnedShores& shores) {
  shores.pointCount.resize(words.size());
  shores.level.resize(words.size());
  for (std::size_t index = 0; index < words.size(); ++index) {
    const auto word = static_cast<unsigned>(words[index]);
    shores.pointCount[index] = static_cast<int>(word >> kPointCountShift);
    shores.level[index] = static_cast<int>((word >> kLevelShift) & kLevelMask);
  }
}

std::vector<Polyline> decodeBinned(const BinnedShores& shores, int maxLevel) {
  if (!coversTheWorld(shores)) {
    return {};
  }
  Decoding decoding{shores, maxLevel, 0, 0, {}, {}};
  decoding.segments =
      std::min({shores.firstPoint.size(), shores.pointCount.size(), shores.level.size()});
  decoding.points = std::min(shores.east.size(), shores.north.size());
  decoding.taken.assign(decoding.points, false);
  const std::size_t bins = std::min(
      {shores.firstSegment.size(), shores.segmentCount.size(),
       static_cast<std::size_t>(shores.binsAcross) * static_cast<std::size_t>(shores.binsDown)});
  for (std::size_t index = 0; index < bins; ++index) {
    decodeBin(decoding, index);
  }
  return std::move(decoding.lines);
}

std::optional<Coastlines> readCoastlines(const std::filesystem::path& folder, char resolution) {
  if (std::string_view("clihf").find(resolution) == std::string_view::npos) {
    return std::nullopt;
  }
  static std::mutex netcdfTurn;
  const std::lock_guard<std::mutex> turn(netcdfTurn);
  const std::string suffix = std::string(1, resolution) + ".nc";
  std::optional<std::vector<Polyline>> shores = readShoreFile(folder / ("binned_GSHHS_" + suffix));
  std::optional<std::vector<Polyline>> borders =
      readBorderFile(folder / ("binned_border_" + suffix));
  if (!shores || !borders) {
    return std::nullopt;
  }
  Coastlines coastlines;
  coastlines.shores = std::move(*shores);
  coastlines.borders = std::move(*borders);
  return coastlines;
}

}  // namespace vantor
