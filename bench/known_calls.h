#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "known/known_store.h"

namespace vantor::bench {

// How many calls the known stations hold in their benchmarks: about as many as the largest call
// lists operators import.
inline constexpr std::size_t kKnownCalls = 200'000;

// `count` different calls as a call list holds them: a quarter begin with "QQ", the others with
// one of 39 other prefixes, then a digit, one to three letters and now and then "/P"; every third
// one has one or two locators. Made the same in every run.
inline std::vector<KnownStation> knownStations(std::size_t count) {
  std::vector<KnownStation> stations;
  stations.reserve(count);
  std::uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1664525U + 1013904223U;
    return state >> 8;
  };
  for (std::size_t index = 0; stations.size() < count; ++index) {
    const std::uint32_t pick = next();
    std::string call = pick % 4 == 0 ? std::string("QQ")
                                     : std::string{static_cast<char>('Q' + pick / 4 % 3),
                                                   static_cast<char>('A' + pick / 12 % 13)};
    call += std::to_string(index % 10);
    for (std::size_t n = index / 10; call.size() < 4 || n > 0; n /= 26) {
      call += static_cast<char>('A' + n % 26);
    }
    if (pick % 17 == 0) {
      call += "/P";
    }
    KnownStation station;
    station.call = std::move(call);
    if (index % 3 == 0) {
      station.locator = "JN" + std::to_string(10 + index % 90) + "AA";
      station.lastSeen = "2025" + std::to_string(1001 + index % 28);
    }
    stations.push_back(std::move(station));
  }
  return stations;
}

// A store at `file` holding knownStations(count); false when it could not be written.
inline bool makeKnownStore(const std::filesystem::path& file, std::size_t count) {
  const StoreOpening opening = KnownStore::open(file, KnownStore::Access::Write);
  std::string problem;
  return opening.store && opening.store->add(knownStations(count), problem);
}

}  // namespace vantor::bench
