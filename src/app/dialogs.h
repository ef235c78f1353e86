#pragma once

#include <optional>
#include <string>

namespace vantor {

// A modal message box with an OK button. A box without a title of its own shows the program's
// name as its title.
struct Message {
  enum class Icon { None, Information };

  std::string text;
  std::optional<std::string> title;
  Icon icon = Icon::None;

  friend bool operator==(const Message&, const Message&) = default;
};

// The modal boxes the screens show; each call returns when the operator has closed the box.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void showMessage(const Message& message) = 0;
  // A question with the buttons "Sì" and "No"; true for "Sì".
  [[nodiscard]] virtual bool askYesNo(const std::string& question) = 0;
};

// The header screen's boxes carry this title and an information icon.
inline Message headerMessage(std::string text) {
  return Message{std::move(text), "Vantor by Karsel", Message::Icon::Information};
}

// The log and bearing screens' boxes carry no title of their own and no icon.
inline Message plainMessage(std::string text) {
  return Message{std::move(text), std::nullopt, Message::Icon::None};
}

}  // namespace vantor
