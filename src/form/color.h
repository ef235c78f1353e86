#pragma once

#include <cstdint>

namespace vantor {

// A colour as a screen shows it: either a fixed RGB value or one of the system's own colours,
// which the view resolves from its palette.
struct Color {
  enum class Kind : std::uint8_t { Rgb, WindowText, ButtonText };

  Kind kind = Kind::Rgb;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{Kind::Rgb, r, g, b};
  }
  static constexpr Color windowText() { return Color{Kind::WindowText, 0, 0, 0}; }
  static constexpr Color buttonText() { return Color{Kind::ButtonText, 0, 0, 0}; }

  friend constexpr bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color white = Color::rgb(255, 255, 255);
inline constexpr Color yellow = Color::rgb(255, 255, 0);
inline constexpr Color red = Color::rgb(255, 0, 0);
}  // namespace colors

}  // namespace vantor
