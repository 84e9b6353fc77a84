// The person at the screen, acting on the program's own controls through the simulated
// desktop's input: clicks, typing, menu choices and answers to modal forms.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/desktop.h"
#include "ui/control.h"
#include "ui/ct_list.h"
#include "ui/form.h"
#include "ui/tab_strip.h"

namespace uitest {

class Person {
 public:
  explicit Person(platform::sim::Desktop& desktop) : desktop_(desktop) {}

  // A left click at a point of the control's client area (-1: its centre).
  void Click(const ui::Control& control, int x = -1, int y = -1);
  // Clicks the middle of a tab of the strip (1-based) or of a visible row of the list (from 0);
  // false when it is not on screen.
  bool ClickTab(const ui::TabStrip& tabs, int index);
  bool ClickRow(const ui::ctList& list, int row);
  // Clicks the control to give it the focus, then types the text.
  void TypeInto(const ui::Control& control, const std::string& text);
  void Type(const std::string& text);
  void Press(int virtualKey, int shift = 0);
  // Chooses an item of the form's menu bar by captions from the bar down.
  bool ChooseMenu(const ui::Form& form, const std::vector<std::string>& path);
  // Answers the next pop-up menu with the item of that caption ("" dismisses it).
  void AnswerNextPopup(const std::string& caption);
  // Runs `answer` once the form is shown (when the program is about to wait on it).
  void WhenShown(const ui::Form& form, std::function<void()> answer);

 private:
  platform::sim::Desktop& desktop_;
};

}  // namespace uitest
