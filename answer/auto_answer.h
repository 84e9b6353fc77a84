// The auto-answer engine of the main window: the answer mode chosen on the "IM Answer" menu
// (mnuIManswer), the half-second TimerIMAnswer that answers incoming IMs while a mode other than
// "Off" is chosen, the "IM Answer" button that pops the menu up, and the start steps that fill
// the hidden lists of personal-message names and listed members.
//
// Attach once per main window, before or after it loads:
//   answer::Attach(main);
// The settings page chooses a mode with mnuIManswerClick (its option i stands for the menu item
// given by kOptionToMenu).
#pragma once

#include <string>

#include "container/main_window.h"
#include "platform/types.h"
#include "widgets/properties.h"

namespace answer {

// Indexes of mnuIManswer.
inline constexpr int kModeOff = 0;
inline constexpr int kModeAllIMs = 2;
inline constexpr int kModeAllExceptRoom = 3;
inline constexpr int kModeOnlyRoom = 4;
inline constexpr int kModeAllExceptListed = 5;
inline constexpr int kModeOnlyListed = 6;
// The menu item of each option button optIMAnswer(1..6) of the settings page; [0] is unused.
inline constexpr int kOptionToMenu[7] = {-1, 0, 2, 3, 5, 6, 4};

// BackColor of AOButtonIMAnswer: mode "Off", and any other mode.
inline constexpr widgets::OleColor kButtonOff = 0xAA6D00;
inline constexpr widgets::OleColor kButtonOn = 0xCC9900;

// A click on item `index` of mnuIManswer: unchecks the modes, then checks the item, runs
// TimerIMAnswer exactly for a mode other than "Off" and colours AOButtonIMAnswer. Any other
// index unchecks all and changes nothing else.
void mnuIManswerClick(container::MainWindow& main, int index);
// The checked item of mnuIManswer among 0, 2, 3, 4, 5, 6; -1 when none is checked.
int AnswerMode(const container::MainWindow& main);

class AutoAnswer {
 public:
  explicit AutoAnswer(container::MainWindow& main);

  // The TimerIMAnswer tick: nothing while nobody is signed on; otherwise the routine of the
  // checked mode.
  void TimerIMAnswerTick();
  // The five routines. Each answers the adopted IMs whose caption shows an unread incoming
  // message (">IM From:") and whose input box is empty, with the personal message of the
  // sender (which ends the routine) or the away message. A routine that starts while another
  // one waits inside a pause returns at once.
  void AnswerAllIMs();
  void AnswerAllExceptRoom();
  void AnswerOnlyRoom();
  void AnswerAllExceptListed();
  void AnswerOnlyListed();
  bool Answering() const { return answering_; }

  // The AOButtonIMAnswer click: the menu sound, the main window moved beside the button bar,
  // and the "IM Answer" menu popped up there.
  void AOButtonIMAnswerClick();

  // Start steps: lstPersonalized from the files "\MessagesPer\*.Mes" (first name selected),
  // lstListedMembers from "\ListedMembers.lst" when it exists.
  void LoadPersonalized();
  void LoadListedMembers();

 private:
  enum class Filter { None, ExceptRoom, OnlyRoom, ExceptListed, OnlyListed };
  void Answer(Filter filter, bool pauseBeforeTest, bool retestInput);
  bool Passes(Filter filter, const std::string& screenName) const;
  // False when the routine must end (a personal answer was sent, or the program is exiting).
  bool AnswerIM(platform::HWND im, const std::string& screenName, bool pauseBeforeTest,
                bool retestInput);
  void SendGeneralAnswer(platform::HWND im, platform::HWND input, const std::string& screenName,
                         bool retestInput);
  void SendPersonalAnswer(platform::HWND im, platform::HWND input, const std::string& name);
  void Send(platform::HWND im, platform::HWND input, const std::string& text);
  // Pauses; false when the program exited meanwhile.
  bool Wait(double seconds);

  container::MainWindow& main_;
  bool answering_ = false;
};

// Wires the menu items, the timer, the button and the start steps to an engine owned by the
// main window's handlers; when the window has already loaded, the start steps run now.
AutoAnswer& Attach(container::MainWindow& main);

}  // namespace answer
