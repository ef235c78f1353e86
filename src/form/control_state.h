#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "form/color.h"

namespace vantor {

// What a control or a form holds, as a list of texts: written in one order and read back in the
// same order, so the log can be kept on disk and restored without running any behaviour.
using ControlState = std::vector<std::string>;

// The layout of the states written now. 1: the first. 2: a field's state also tells how much of
// the end of its text it kept, so an edit in the middle of a long text writes that edit alone. 3:
// the log screen names its band logs, and each band log is a group of its own.
inline constexpr int kStateFormat = 3;

// A state that cannot be read back: too few items, a number or a flag that is none.
class StateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void writeFlag(ControlState& state, bool flag);
void writeNumber(ControlState& state, std::size_t number);
void writeColor(ControlState& state, Color color);

// Reads a state's items in order, written in layout `format`; every read past the end or of a
// malformed item throws StateError.
class StateReader {
 public:
  StateReader(const ControlState& state, std::size_t from = 0, int format = kStateFormat)
      : m_state(state), m_next(from), m_format(format) {}

  const std::string& text();
  bool flag();
  std::size_t number();
  Color color();
  [[nodiscard]] bool atEnd() const { return m_next == m_state.size(); }
  [[nodiscard]] std::size_t position() const { return m_next; }
  [[nodiscard]] int format() const { return m_format; }

 private:
  const ControlState& m_state;
  std::size_t m_next;
  int m_format;
};

}  // namespace vantor
