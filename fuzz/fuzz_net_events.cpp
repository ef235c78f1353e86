// Any bytes as a message from the network (an event, a presence, a hub's answer) and as the
// file of events a station keeps: whatever decodes is encoded back to the same message, and the
// file's whole events are read back from their own writing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "check.h"
#include "net/event_store.h"
#include "net/net_event.h"

namespace {

using namespace vantor;

void checkEvent(std::string_view bytes) {
  const auto decoded = decodeEvent(bytes);
  if (const auto* event = std::get_if<NetEvent>(&decoded)) {
    FUZZ_CHECK(encodeEvent(*event) == bytes);
  }
}

void checkPresence(std::string_view bytes) {
  const auto decoded = decodePresence(bytes);
  if (const auto* presence = std::get_if<Presence>(&decoded)) {
    FUZZ_CHECK(encodePresence(*presence) == bytes);
  }
}

void checkClaim(std::string_view bytes) {
  const auto decoded = decodeClaim(bytes);
  if (const auto* claim = std::get_if<ContestClaim>(&decoded)) {
    FUZZ_CHECK(encodeClaim(*claim) == bytes);
  }
}

void checkStore(std::string_view bytes) {
  const StoredEvents stored = readStoredEvents(bytes);
  FUZZ_CHECK(stored.wholeBytes <= bytes.size());
  std::string written;
  for (const std::string& payload : stored.payloads) {
    written += storedEvent(payload);
  }
  FUZZ_CHECK(written == bytes.substr(0, stored.wholeBytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkEvent(bytes);
  checkPresence(bytes);
  checkClaim(bytes);
  checkStore(bytes);
  return 0;
}
