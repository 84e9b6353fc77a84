// The main window frmPallion: never shown as a window of its own, it owns the panels that live
// inside the container window (the tab strip or IM list, the IM area with the adopted IM
// windows, the button bar and the fade bar), the hidden lists, the menus, the timers and the
// interception components. Its routines gather IM windows, switch between them, lay them out,
// react to the watched windows and shut the program down.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/interception.h"
#include "platform/types.h"
#include "ui/ct_list.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "ui/image_list.h"
#include "ui/list_box.h"
#include "ui/menu.h"
#include "ui/picture_box.h"
#include "ui/tab_strip.h"
#include "ui/timer.h"
#include "widgets/ao_button.h"
#include "widgets/aolf_button.h"

namespace container {

using platform::HWND;

// "Pallion ²·º :" and "Pallion ²·º : " + screen name.
inline constexpr const char* kContainerCaption = "Pallion \xB2\xB7\xBA :";
inline constexpr const char* kCaptionPrefix = "Pallion \xB2\xB7\xBA : ";
// The captions the program's pop-up on the client's menu bar may carry: the item start-up
// appends, and the built pop-up.
inline constexpr const char* kHostMenuCaption = "Palli&on \xB2\xB7\xBA";
inline constexpr const char* kHostMenuCaptionAppended = "&Pallion\xB2\xB7\xBA";

// The container is never smaller than this.
inline constexpr int kMinContainerWidth = 250;
inline constexpr int kMinContainerHeight = 275;

// Tab images (0: new, no picture) and IM-list pictures.
inline constexpr int kTabNew = 0;
inline constexpr int kTabRead = 1;
inline constexpr int kTabUnread = 2;
inline constexpr int kPicStatusHidden = 1;
inline constexpr int kPicStatusShown = 2;
inline constexpr int kPicUnread = 3;
inline constexpr int kPicRead = 4;

// The captions the program's pop-up on the client's menu bar may carry.
std::vector<std::string> HostMenuCaptions();

class MainWindow : public ui::Form {
 public:
  MainWindow();
  ~MainWindow() override;

  // The loaded main window (nullptr when there is none).
  static MainWindow* Instance();

  // ---- Panels that move into the container ----
  ui::PictureBox& Picture1;
  ui::TabStrip& TabStrip1;
  ui::ImageList ImageList1;  // the tab pictures: 1 read, 2 unread
  ui::PictureBox& picIM;     // the IM area; the adopted IMs sit in IMHolder() laid over it
  ui::ctList& ctList1;       // columns: name, status picture, unread picture
  ui::Frame& Frame1;
  ui::PictureBox& picButtonsHold;
  ui::PictureBox& Picture2;  // inside picButtonsHold, holds the button bar
  widgets::AOLFButton& AOButtonSend;
  widgets::AOLFButton& AOButtonCloseIM;
  widgets::AOLFButton& AOButtonGetProfile;
  widgets::AOLFButton& AOButtonLocate;
  widgets::AOLFButton& AOButtonIMAnswer;
  widgets::AOLFButton& AOButtonNotifyAOL;
  widgets::AOLFButton& AOButtonOptions;
  widgets::AOLFButton& AOButtonMail;
  ui::PictureBox& picMiddleBar;
  std::array<widgets::AOButton*, 9> AOButtonMiddle{};  // (0) to (8), on picMiddleBar
  std::array<widgets::AOButton*, 5> cmdColor{};        // (1) to (4); [0] is unused
  ui::PictureBox& picIMSide;
  ui::PictureBox& picMenuIM;  // the program's button on the client's toolbar
  ui::PictureBox& picIMtile;  // hidden: the tiled background being composed
  ui::PictureBox& picIMLoad;  // hidden: the loaded background picture

  // ---- Hidden lists ----
  ui::ListBox& List1;  // adopted IM window handles as decimal text
  ui::ListBox& lstIgnoreTem;
  ui::ListBox& lstIgnorePer;
  ui::ListBox& lstPersonalized;
  ui::ListBox& lstListedMembers;
  ui::ListBox& lstRoom;

  // ---- Timers ----
  ui::Timer& Timer1;            // 100 ms, discovery; enabled by the start
  ui::Timer& TimerScanIM;       // 500 ms, unread marks; enabled from the start
  ui::Timer& TimerIMAnswer;     // 500 ms
  ui::Timer& TimerUrgentNews;   // 12000 ms; enabled by the start
  ui::Timer& TimerTellaFriend;  // 5 ms
  ui::Timer& TimerAdvertise;    // 5 ms

  // ---- Interception components ----
  platform::SubClass SubClass2;
  platform::SubClass SubClassPallion;
  platform::SubClass SubClassMDI;
  platform::SubClass SubClassMenu;
  platform::SubClass SubClassIMs;  // the adopted IM windows, to log each as it closes
  platform::WinHook WinHook1;      // keyboard
  platform::WinHook WinHook3;      // mouse, on picMenuIM

  // ---- Menus (names and captions as designed; arrays by index) ----
  ui::Menu& mnuFadeOptions;
  std::array<ui::Menu*, 4> mnuSubRandomFade{};
  ui::Menu& mnuOptions;
  std::array<ui::Menu*, 2> mnuControlPanel{};
  ui::Menu& mnuStyle;
  std::array<ui::Menu*, 2> mnuStyleSub{};  // 0 "Tabs", 1 "List Box"
  ui::Menu& mnuGraphical;
  std::array<ui::Menu*, 2> mnuGraphicalSub{};  // 0 "True", 1 "False"
  ui::Menu& mnuStyleSep;
  std::array<ui::Menu*, 4> mnuEntertoSend{};  // 0 Enter, 1 Tab, 2 Float Mode, 3 "-"
  std::array<ui::Menu*, 3> mnuIgnore{};
  ui::Menu& mnuNotifyAOL;
  ui::Menu& mnuIMS;
  std::array<ui::Menu*, 6> mnuIMSub{};
  ui::Menu& mnuIManswerMain;
  std::array<ui::Menu*, 7> mnuIManswer{};
  ui::Menu& mnuAOLmenu;
  ui::Menu* mnuAOLControlPanel = nullptr;
  ui::Menu* mnuSepAOL = nullptr;
  ui::Menu* mnuHelpAOL = nullptr;
  ui::Menu* mnuCheckForUpdates = nullptr;
  ui::Menu* mnuSep7 = nullptr;
  ui::Menu* mnuResetIMs = nullptr;
  ui::Menu* mnuSaveIM = nullptr;
  ui::Menu* mnuSepAOL3 = nullptr;
  ui::Menu* mnuAOLtellaFriend = nullptr;
  ui::Menu* mnuAOLAdvertise = nullptr;
  ui::Menu* mnuAOlAbout = nullptr;
  ui::Menu* mnusepAOL2 = nullptr;
  ui::Menu* mnuExitaolMenu = nullptr;
  ui::Menu& mnuGetInfo;
  ui::Menu* mnuShowInfoWindow = nullptr;
  ui::Menu* mnuSep9 = nullptr;
  ui::Menu* mnuSendMail = nullptr;
  ui::Menu* mnuAddtoAddressBook = nullptr;
  ui::Menu* mnuAddtoBuddyList = nullptr;
  ui::Menu* mnuSep8 = nullptr;
  ui::Menu* mnuViewProfile = nullptr;
  ui::Menu* mnuSignOnaFriend = nullptr;
  ui::Menu* mnuViewWebPage = nullptr;

  // ---- State ----
  int NumOfColors = 4;
  platform::RECT ContainerRect{};
  platform::RECT IMAreaRect{};

  // Further start steps: run in order by SettingsFromINI after the layout keys.
  std::vector<std::function<void()>> settingsReaders;
  // The ignore lists' check of each IM window discovery finds, before it is adopted.
  std::function<void(HWND)> ignoreCheck;
  // Told of each IM window once it is adopted (its begin line in place).
  std::vector<std::function<void(HWND)>> adoptionListeners;
  // Windows of other parts to unload at the end of ExitProgram.
  std::vector<std::function<void()>> unloaders;

  // ---- Start (runs on Load) and settings ----
  void SettingsFromINI();

  // ---- Discovery and adoption ----
  void Timer1Tick();
  void AddIMs(HWND& daIM);
  void TimerScanIMTick();

  // ---- Switching ----
  void TabStrip1Click();  // the tab selection routine
  void ctList1Click();
  void ctList1CurrentRowChanged();
  // Closes an adopted IM and removes its tab, row and List1 item; an IM that has gone only
  // loses its entry, and a window that is not adopted is left alone.
  void CloseIM(HWND im);
  // The entry (List1 index) of the selected tab, or -1.
  int SelectedEntry() const;
  // The adopted IM window of an entry, or 0 when it has gone or is no longer adopted.
  HWND EntryIM(int entry) const;
  // The window of the selected entry, the IM every command acts on; 0 without one. An entry
  // whose IM has gone is dropped (its neighbour is chosen and shown) and 0 returned.
  HWND ChosenIM();
  // A click on the program's panels: the container to the top, focus to the shown IM.
  void PanelClicked();
  // The window the adopted IMs are children of: a window the client's own thread made inside
  // the container and that lies over picIM (a killed process takes every window inside its own
  // windows with it, so the IMs are never put into one of Pallion's), or picIM itself when the
  // client could not make it.
  HWND IMHolder() const;
  // Lays the IM holder over picIM's inside, above the program's panels.
  void PlaceIMHolder();
  // The keyboard back to the shown IM after the client repainted or activated the container:
  // by a click, which the client takes as the person reading the IM. None where the keyboard
  // is already, nor over a message nobody has read: that would take its unread mark, and the
  // away answer owed to it, without the person.
  void GiveKeysBackToShownIM();
  // The keyboard back to the shown IM when it sits in an adopted IM hidden behind it (the
  // client gives each IM window it opens the keyboard), so keys typed for the IM the person
  // sees never land in another.
  void KeepKeysOnShownIM();
  // Removes every tab, row and List1 item.
  void ClearIMs();

  // ---- Layout ----
  void AdjustSize();
  void AdjustSize2();
  void AdjustSize3();
  void AdjustSizeAOL7();
  void BringIMtoTop();
  void ChangeIMImage();
  bool UseTabs() const;    // "Tabs" carries the check mark
  bool Graphical() const;  // "True" carries the check mark
  bool FloatMode() const;  // "Float Mode" carries the check mark
  void SetFloatMode(bool on);
  ui::Form& frmIMFloat();
  void FloatAdjustSize3();

  // ---- Hooks ----
  void SubClassPallionMessage(platform::WatchedMessage& m, bool& noPass);
  void SubClass2Message(platform::WatchedMessage& m, bool& noPass);
  void SubClassMDIMessage(platform::WatchedMessage& m, bool& noPass);
  void WinHook3Mouse(HWND hwnd, platform::UINT& msg, platform::WPARAM wParam,
                     platform::LPARAM lParam);
  // An adopted IM window is going away: with "LogIMs" "1" its conversation is logged first,
  // however it was closed (Close IM, an ignore command, the client's own close box).
  void SubClassIMsMessage(platform::WatchedMessage& m, bool& noPass);

  // ---- Shutdown ----
  // Ends the program; returns only to let the caller unwind, doing nothing more.
  void ExitProgram();
  bool Exited() const { return exited_; }

  // The IM window of a List1 item (0 when the text is not a handle).
  HWND ListIM(int index) const;
  // The IM window named by List1's selection, or by item 0 when nothing is selected.
  HWND SelectedIM() const;

 private:
  // The container window: under the client's MDI client, or inside frmIMFloat in Float Mode.
  HWND ContainerWindow();
  void FormLoad();
  void BuildMenus();
  void BuildButtons();
  void BuildPictures();
  enum class Caller { AdjustSize, AdjustSize2, AdjustSize3 };
  void PlacePanels(Caller caller, bool tabs, bool graphical);
  void PlaceIM(int extraHeight, bool tabs);
  // The shown IM window, its conversation view and its input box in the IM area.
  void PlaceShownIM(int extraHeight);
  void LayOut(int extraHeight);
  void ApplyLookPictures();
  void ArrangeButtons();
  void ReadContainerRect();
  void ReadIMAreaRect();
  // Makes the IM holder inside the container.
  void MakeIMHolder(HWND container);
  // Moves the container to a place given in screen coordinates.
  void MoveContainerTo(int x, int y, int width, int height);
  // Removes an entry's List1 item, row and tab; when it was selected, its neighbour is
  // chosen and shown. Hides the container when no entry is left.
  void DropEntry(int entry);
  // The saved place, kept on the client's MDI area and within sane sizes.
  void RestoreSavedPlace();
  // Float Mode ends for the exit: the container goes back to the place it had in the client
  // before it floated; no IM is closed.
  void LeaveFloatModeForExit();
  // Logs (when "LogIMs" is "1") and closes every IM of List1.
  void CloseAllIMs();
  // Leaves with the client what to undo should the program die: the IMs go back to its MDI
  // client, the program's menu leaves its menu bar, the container closes.
  void GuardLeftovers();
  void StopGuardingLeftovers();

  std::unique_ptr<ui::Form> float_;
  // The container's screen rectangle in the client when Float Mode was turned on.
  std::optional<platform::RECT> dockedPlace_;
  bool exited_ = false;
  platform::HANDLE leftoversGuard_ = 0;
  HWND imHolder_ = 0;
  // A window found by a scan of the window tree, kept while the tree stays the same
  // (platform::WindowTreeVersion): discovery's ticks while nothing changed do not scan again.
  struct TreeScan {
    std::optional<uint64_t> version;
    HWND found = 0;
  };
  static HWND Scanned(TreeScan& memo, HWND (*scan)());
  TreeScan imScan_;
  TreeScan containerScan_;
};

// The loaded main window, for the other parts of the program (nullptr before start).
MainWindow* frmPallion();

}  // namespace container
