#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantor {

// One station as a file of earlier contests knows it.
struct KnownStation {
  // Upper case.
  std::string call;
  // Six characters, upper case; empty when the file gives none.
  std::string locator;
  // The day it was last heard, YYYYMMDD; empty when the file does not say.
  std::string lastSeen;
  // The bands it was heard on, as the file names them; empty when the file does not say.
  std::string bands;
};

// A line of an imported file that gives no station, and why, in Italian.
struct BadLine {
  std::size_t number = 0;
  std::string reason;
};

// What an imported file gives: its stations, in the file's order, and its bad lines.
struct ImportBatch {
  std::vector<KnownStation> stations;
  std::vector<BadLine> bad;
};

}  // namespace vantor
