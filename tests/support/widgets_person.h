// The person at the screen answering the program's own message box on the simulated desktop
// (clicks and typing on other controls: uitest::Person of ui_person.h).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/sim/desktop.h"
#include "widgets/message_box.h"

namespace widgets_person {

// Answers the next message box the program waits on: types `input` into its input box when
// given (and the box is enabled), then clicks the visible button with the caption ("OK",
// "Yes", "No" or "Cancel"). A box without such a button is closed and the test fails.
// `first`, when given, sees the box before the answer (to note what it says, or to act
// meanwhile).
void AnswerNextMessageBox(platform::sim::Desktop& desktop, const std::string& button,
                          std::optional<std::string> input = std::nullopt,
                          std::function<void(widgets::MessageBoxForm&)> first = {});
// Closes the next message box another way than by its buttons (the platform's close).
void CloseNextMessageBox(platform::sim::Desktop& desktop);

}  // namespace widgets_person
