#pragma once

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/session.h"
#include "contest_texts.h"
#include "header/header_form.h"
#include "log/log_form.h"

namespace vantor::bench {

// The band every benchmark logs on, and the other bands of its contest whose logs the figures
// "...WithTwoOtherBands" fill first, each with kOtherBandContacts contacts.
inline constexpr std::string_view kLoggedBand = "144 Mhz";
inline constexpr std::string_view kOtherBands[] = {"432 Mhz", "1296 Mhz"};
inline constexpr int kOtherBandContacts = 10000;

// Picks `band` on the header screen as the operator does; throws when the list has no such band.
inline void pickBand(Session& session, std::string_view band) {
  if (!session.header().bandList.pickText(band)) {
    throw std::logic_error("the header lists no band " + std::string(band));
  }
}

// Logs `lines` on each of `bands`, each picked in turn, then picks kLoggedBand again; `shown` runs
// after each pick and fill, where the windows sync. A log begun before any band was picked is
// kLoggedBand's.
inline void fillBands(
    Session& session, std::span<const std::string_view> bands, const std::string& lines,
    const std::function<void()>& shown = [] {}) {
  pickBand(session, kLoggedBand);
  for (const std::string_view band : bands) {
    pickBand(session, band);
    session.log().logBuffer().setText(lines);
    shown();
  }
  pickBand(session, kLoggedBand);
  shown();
}

// The logs of kOtherBands filled with kOtherBandContacts contacts each.
inline void fillTwoOtherBands(
    Session& session, const std::function<void()>& shown = [] {}) {
  fillBands(session, kOtherBands, qsoLines(kOtherBandContacts), shown);
}

}  // namespace vantor::bench
