#include "support/ui_person.h"

#include "platform/win32.h"

namespace uitest {

void Person::Click(const ui::Control& control, int x, int y) {
  desktop_.Click(control.hwnd(), x, y);
  desktop_.RunPending();
}

bool Person::ClickTab(const ui::TabStrip& tabs, int index) {
  const gfx::Rect r = tabs.TabRect(index);
  if (!platform::IsWindowVisible(tabs.hwnd()) || r.width <= 0 || r.height <= 0) return false;
  Click(tabs, r.x + r.width / 2, r.y + r.height / 2);
  return true;
}

bool Person::ClickRow(const ui::ctList& list, int row) {
  if (!platform::IsWindowVisible(list.hwnd())) return false;
  const int x = list.ClientWidth() / 2;
  int first = -1, last = -1;
  for (int y = 0; y < list.ClientHeight(); ++y) {
    if (list.RowAt(x, y) != row) continue;
    if (first < 0) first = y;
    last = y;
  }
  if (first < 0) return false;
  Click(list, x, (first + last) / 2);
  return true;
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
