// The host routines: finding, reading and driving the client's windows through its window tree
// (classes, captions, sibling order, messages), and small shared utilities (pause, sounds).
// Every routine accepts window 0 and then does nothing and returns 0 or "".
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace host {

using platform::HWND;

// True when the client is AOL 7; set at each IM adoption. Chooses the AOL 6 or AOL 7 sibling
// position of controls found by their order.
extern bool IsAOL7;

// The main window's IM area `picIM`, which holds the adopted IM windows (0: none registered).
void SetIMArea(HWND picIM);
HWND IMArea();

// ---- Sibling order ----
// The n-th (from 1) child of the class, reached as the client's routines reach it: asking n
// times for the next child after the previous answer, where the answer after the last child
// is 0 and asking after 0 starts over. So on a window with fewer children the count wraps.
HWND NthChild(HWND parent, const std::string& className, int n);
// The n-th child of the class without wrapping: 0 when there are fewer than n.
HWND NthChildExact(HWND parent, const std::string& className, int n);

// ---- Finding windows ----
// The first child of the class; 0 when `parent` is 0. A lookup whose parent was not found stops
// there: asking the system with parent 0 would search the desktop's top-level windows, that is,
// other programs' windows.
HWND FirstChild(HWND parent, const char* className);
HWND FindAOL();
// The client's toolbar ("_AOL_Toolbar" inside "AOL Toolbar" of the main window).
HWND FindToolbar();
HWND FindMDI();
HWND FindChildByCaption(const std::string& caption);
HWND FindPallionChild();
HWND FindIMWindow();
HWND FindCurrentIM();
HWND FindIMInput();
// The input box of a given IM window.
HWND FindIMInputOf(HWND im);
HWND FindChatRoom();
HWND GetIMIcon11(HWND im);
bool IsIMStaticVisible(HWND im);

// ---- Reading text ----
// Text read from another program's window is never longer than this (4 MiB of characters;
// a conversation view of a long day is a few hundred KB): a window claiming more is read up to
// the bound, so a broken or hostile control cannot make the program allocate what it claims.
inline constexpr size_t kMaxForeignText = size_t{4} << 20;
std::string GetCaption(HWND hwnd);
std::string GetText(HWND hwnd);
// The whole text of a rich-text control; read line by line (joined by CR) when WM_GETTEXT
// gives nothing. Bounded by kMaxForeignText, as every read of another program's text.
std::string GetEditText(HWND richText);
std::string GetFirstIconText(HWND im);
std::string GetIMScreenName(HWND im);
std::string GetUserSN();
// Hands each member of the open chat room's list to `add` (read out of the client's memory);
// the signed-on user only when `includeSelf`.
void GetRoomList(const std::function<void(const std::string&)>& add, bool includeSelf);
void GetRoomList(std::vector<std::string>& names, bool includeSelf);
// The control's whole content as the client's HTML, through its clipboard formats. The
// clipboard is opened for the control itself; `owner` is accepted for symmetry with
// PutRichHTML.
std::string GetRichHTML(HWND richText, HWND owner);

// ---- Acting on windows ----
void SetText(HWND hwnd, const std::string& text);
void HideWin(HWND hwnd);
void ShowWin(HWND hwnd);
void CloseWin(HWND hwnd);
void ClickIcon(HWND icon);
void ClickSendIcon();
void ClickSendIconOf(HWND im);
// A click into the IM's input box, which takes the keyboard there (the box is the client's:
// focus cannot be set on it from outside).
void ClickIntoInput(HWND im);
void ClickOKIcon(HWND im);
void ClickRespondIcon(HWND im);
void CloseEditImage(HWND im);
void RunAOLMenu(int menuPosition, int itemPosition);
void RunKeyword(const std::string& keyword);
// Pastes HTML into the control through the clipboard, offering it in both of the client's
// formats ("AOLMAIL" and "AOLMAIL2") at once and pasting once. Empty text does nothing.
void PutRichHTML(HWND richText, HWND owner, const std::string& html);

// How an IM sent through the client's Send-IM window ended.
enum class SendIMResult {
  Sent,           // the Send-IM window went away
  Refused,        // the client's error box came up; it was dismissed and the window closed
  WindowMissing,  // no complete Send-IM window within the time-out
  TimedOut,       // no outcome within the time-out after pressing Send; the window was closed
};
// Each wait of SendIM gives up after this much time without an outcome.
inline constexpr uint32_t kSendIMTimeoutMs = 30000;
SendIMResult SendIM(const std::string& screenName, const std::string& message);
SendIMResult IMOffFor(const std::string& screenName);
SendIMResult IMOnFor(const std::string& screenName);
void SendChatText(const std::string& text);

// ---- The program's own windows ----
void StayOnTop(HWND hwnd);
void DragForm(HWND hwnd);

// ---- Utilities ----
// Waits, dispatching events, for the seconds rounded half to even (0.5 returns at once, 1.5
// waits about two seconds), measured on the clock's seconds since midnight; a wait across
// midnight counts on past it.
void Pause(double seconds);
// Runs the message loop until `done` holds; false when the time ran out or the program ended
// first.
bool WaitFor(const std::function<bool()>& done, uint32_t timeoutMs);
// Plays the sound file asynchronously when it exists; never the system's default sound.
void PlaySoundFile(const std::string& path);

}  // namespace host
