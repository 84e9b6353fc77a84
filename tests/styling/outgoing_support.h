// A container world with outgoing styling attached, and the person typing into the shown IM.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/window_access.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "styling/outgoing.h"
#include "support/container_fixture.h"
#include "widgets/message_box.h"

namespace outgoingtest {

using platform::COLORREF;
using platform::HWND;

inline constexpr COLORREF kRed = 255;
inline constexpr COLORREF kGreen = 65280;
inline constexpr COLORREF kBlue = 16711680;
inline constexpr COLORREF kWhite = 16777215;

// A world whose Pallion.ini holds the given styling keys, with styling attached and one IM
// from Bob adopted and shown.
struct StyledWorld {
  explicit StyledWorld(std::vector<std::pair<std::string, std::string>> settings,
                       clientsim::Layout layout = clientsim::Layout::Aol6, bool receive = true)
      : world(Options(std::move(settings), layout)),
        outgoing(styling::AttachOutgoing(*world.main)) {
    if (receive) im = world.ReceiveAndAdopt("Bob", "hi there");
  }

  // Message boxes live until the next one is made; they go before the desktop does.
  ~StyledWorld() { widgets::DestroyMessageBoxes(); }
  StyledWorld(const StyledWorld&) = delete;
  StyledWorld& operator=(const StyledWorld&) = delete;

  static containerfix::WorldOptions Options(
      std::vector<std::pair<std::string, std::string>> settings, clientsim::Layout layout) {
    containerfix::WorldOptions options = containerfix::OptionsFor(layout);
    options.settings = std::move(settings);
    return options;
  }

  container::MainWindow& main() { return *world.main; }

  // The person clicks into the shown IM's input box, types the text and presses Enter (with
  // the shift state given).
  void TypeAndEnter(const std::string& text, int shift = 0) {
    FocusInput();
    world.desktop.TypeText(text);
    world.desktop.PressKey(platform::VK_RETURN, shift);
    world.desktop.RunFor(500);
  }

  // The client's main window in front, the keyboard focus in the shown IM's input box (as a
  // click there leaves them).
  void FocusInput() {
    platform::sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    platform::SetForegroundWindow(host::FindAOL());
    platform::SetFocus(host::FindIMInput());
  }

  // Turns fading on with the fade switch of the fade bar.
  void FadeOn() {
    world.desktop.Click(main().AOButtonMiddle[4]->hwnd());
    world.desktop.RunFor(50);
  }

  std::vector<std::string> SentTexts() const {
    std::vector<std::string> texts;
    for (const auto& sent : world.client->SentIMs()) texts.push_back(sent.text);
    return texts;
  }

  containerfix::World world;
  styling::Outgoing& outgoing;
  HWND im = 0;
};

// One answer to a message box of the program: the question it must ask, the button to click
// ("" closes the box without its buttons) and the text to type into its input line first.
struct BoxAnswer {
  std::string prompt;
  std::string button;
  std::optional<std::string> input;
};

// Answers the program's next message boxes in order, each once it waits. One responder serves
// the whole list, so answers given while another runs are not lost.
inline void AnswerBoxes(platform::sim::Desktop& desktop, std::vector<BoxAnswer> answers) {
  struct State {
    std::vector<BoxAnswer> answers;
    size_t next = 0;
    bool busy = false;
  };
  auto state = std::make_shared<State>();
  state->answers = std::move(answers);
  desktop.AddResponder([&desktop, state] {
    if (state->busy) return false;
    if (state->next >= state->answers.size()) return true;
    widgets::MessageBoxForm* box = widgets::WaitingMessageBox();
    if (box == nullptr) return false;
    const BoxAnswer answer = state->answers[state->next];
    EXPECT_EQ(box->lblText.Caption(), answer.prompt);
    ++state->next;
    state->busy = true;
    if (answer.button.empty()) {
      platform::PostMessage(box->hwnd(), platform::WM_CLOSE, 0, 0);
    } else {
      if (answer.input) {
        box->txtInput.SetFocus();
        box->txtInput.SetSelStart(0);
        box->txtInput.SetSelLength(static_cast<int>(box->txtInput.Text().size()));
        if (answer.input->empty()) {
          desktop.PressKey(platform::VK_DELETE);
        } else {
          desktop.TypeText(*answer.input);
        }
      }
      bool clicked = false;
      for (int i = 0; i < 2 && !clicked; ++i) {
        widgets::AOButton& b = box->Button(i);
        if (b.Caption() == answer.button && platform::IsWindowVisible(b.hwnd())) {
          desktop.Click(b.hwnd());
          clicked = true;
        }
      }
      if (!clicked) {
        ADD_FAILURE() << "the message box has no button \"" << answer.button << "\"";
        platform::PostMessage(box->hwnd(), platform::WM_CLOSE, 0, 0);
      }
    }
    state->busy = false;
    return state->next >= state->answers.size();
  });
}

inline std::string Tag(const std::string& hex) {
  return "<Font Color=#" + hex + ">";
}

// Settings of a fade of `count` colours: red, green, blue, and white as the fourth, unless
// others are given.
inline std::vector<std::pair<std::string, std::string>> Colours(int count, COLORREF c1 = kRed,
                                                                COLORREF c2 = kGreen,
                                                                COLORREF c3 = kBlue,
                                                                COLORREF c4 = kWhite) {
  return {{"NumOfColors", std::to_string(count)},
          {"Color1", std::to_string(c1)},
          {"Color2", std::to_string(c2)},
          {"Color3", std::to_string(c3)},
          {"Color4", std::to_string(c4)}};
}

}  // namespace outgoingtest
