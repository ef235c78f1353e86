#pragma once

#include <string>
#include <string_view>

#include "form/field.h"

namespace vantor {

// A field the operator cannot edit: the program writes it and the window shows it as a label.
class Label : public Field {
 public:
  explicit Label(std::string name, std::string_view initialText = {})
      : Field(std::move(name), initialText) {}
};

}  // namespace vantor
