#include "form/control_state.h"

#include <charconv>

namespace vantor {

void writeFlag(ControlState& state, bool flag) {
  state.emplace_back(flag ? "1" : "0");
}

void writeNumber(ControlState& state, std::size_t number) {
  state.push_back(std::to_string(number));
}

// "W" and "B" for the system's window-text and button-text colours, else "r,g,b".
void writeColor(ControlState& state, Color color) {
  switch (color.kind) {
    case Color::Kind::WindowText:
      state.emplace_back("W");
      return;
    case Color::Kind::ButtonText:
      state.emplace_back("B");
      return;
    case Color::Kind::Rgb:
      break;
  }
  state.push_back(std::to_string(color.red) + "," + std::to_string(color.green) + "," +
                  std::to_string(color.blue));
}

const std::string& StateReader::text() {
  if (m_next >= m_state.size()) {
    throw StateError("the state ends too early");
  }
  return m_state[m_next++];
}

bool StateReader::flag() {
  const std::string& item = text();
  if (item != "0" && item != "1") {
    throw StateError("not a flag: " + item);
  }
  return item == "1";
}

std::size_t StateReader::number() {
  const std::string& item = text();
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
  if (error != std::errc() || end != item.data() + item.size() || item.empty()) {
    throw StateError("not a number: " + item);
  }
  return value;
}

Color StateReader::color() {
  const std::string& item = text();
  if (item == "W") {
    return Color::windowText();
  }
  if (item == "B") {
    return Color::buttonText();
  }
  unsigned parts[3] = {256, 256, 256};
  const char* at = item.data();
  const char* end = item.data() + item.size();
  for (int i = 0; i < 3; ++i) {
    const auto read = std::from_chars(at, end, parts[i]);
    if (read.ec != std::errc() || parts[i] > 255 ||
        (i < 2 && (read.ptr == end || *read.ptr != ','))) {
      throw StateError("not a colour: " + item);
    }
    at = read.ptr + (i < 2 ? 1 : 0);
  }
  if (at != end) {
    throw StateError("not a colour: " + item);
  }
  return Color::rgb(static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                    static_cast<std::uint8_t>(parts[2]));
}

}  // namespace vantor
