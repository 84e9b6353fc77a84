#include "widgets_person.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/win32.h"
#include "widgets/message_box.h"

namespace widgets_person {

using namespace platform;

void AnswerNextMessageBox(sim::Desktop& desktop, const std::string& button,
                          std::optional<std::string> input,
                          std::function<void(widgets::MessageBoxForm&)> first) {
  auto answered = std::make_shared<bool>(false);
  desktop.AddResponder([&desktop, button, input, first, answered]() {
    // Clicking runs the desktop's loop, which asks this responder again meanwhile.
    if (*answered) return true;
    widgets::MessageBoxForm* box = widgets::WaitingMessageBox();
    if (box == nullptr) return false;
    *answered = true;
    if (first) first(*box);
    if (input && box->txtInput.Enabled()) {
      box->txtInput.SetFocus();
      box->txtInput.SetSelStart(0);
      box->txtInput.SetSelLength(static_cast<int>(box->txtInput.Text().size()));
      desktop.TypeText(*input);
    }
    for (int i = 0; i < 2; ++i) {
      widgets::AOButton& b = box->Button(i);
      if (b.Caption() == button && IsWindowVisible(b.hwnd())) {
        desktop.Click(b.hwnd());
        return true;
      }
    }
    ADD_FAILURE() << "the message box has no button \"" << button << "\"";
    PostMessage(box->hwnd(), WM_CLOSE, 0, 0);
    return true;
  });
}

void CloseNextMessageBox(sim::Desktop& desktop) {
  desktop.AddResponder([]() {
    widgets::MessageBoxForm* box = widgets::WaitingMessageBox();
    if (box == nullptr) return false;
    PostMessage(box->hwnd(), WM_CLOSE, 0, 0);
    return true;
  });
}

}  // namespace widgets_person
