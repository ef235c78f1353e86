#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vantor {

// A modal message box with an OK button. A box without a title of its own shows the program's
// name as its title; `Message{text}` is a plain box, without title or icon.
struct Message {
  enum class Icon { None, Information };

  explicit Message(std::string text, std::optional<std::string> title = std::nullopt,
                   Icon icon = Icon::None)
      : text(std::move(text)), title(std::move(title)), icon(icon) {}

  std::string text;
  std::optional<std::string> title;
  Icon icon = Icon::None;

  friend bool operator==(const Message&, const Message&) = default;
};

// The answer of a question's default button, the one Enter presses.
enum class Answer { No, Yes };

// The modal boxes the screens show; each call returns when the operator has closed the box.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void showMessage(const Message& message) = 0;
  // A question with the buttons "Sì" and "No"; true for "Sì". Enter answers `byDefault`: "No",
  // unless that answer would cost the operator the way back to what was typed.
  [[nodiscard]] bool askYesNo(const std::string& question, Answer byDefault = Answer::No) {
    return ask(question, byDefault);
  }

 protected:
  [[nodiscard]] virtual bool ask(const std::string& question, Answer byDefault) = 0;
};

}  // namespace vantor
