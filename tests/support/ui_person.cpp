#include "support/ui_person.h"

#include "platform/win32.h"

namespace uitest {

void Person::Click(const ui::Control& control, int x, int y) {
  desktop_.Click(control.hwnd(), x, y);
  desktop_.RunPending();
}

void Person::TypeInto(const ui::Control& control, const std::string& text) {
  Click(control);
  Type(text);
}

void Person::Type(const std::string& text) {
  desktop_.TypeText(text);
  desktop_.RunPending();
}

void Person::Press(int virtualKey, int shift) {
  desktop_.PressKey(virtualKey, shift);
  desktop_.RunPending();
}

bool Person::ChooseMenu(const ui::Form& form, const std::vector<std::string>& path) {
  const bool chosen = desktop_.ChooseMenuItem(form.hwnd(), path);
  desktop_.RunPending();
  return chosen;
}

void Person::AnswerNextPopup(const std::string& caption) {
  desktop_.AnswerNextPopupMenu(caption);
}

void Person::WhenShown(const ui::Form& form, std::function<void()> answer) {
  const platform::HWND hwnd = form.hwnd();
  desktop_.AddResponder([hwnd, answer = std::move(answer)]() {
    if (!platform::IsWindowVisible(hwnd)) return false;
    answer();
    return true;
  });
}

}  // namespace uitest
