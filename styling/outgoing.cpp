#include "styling/outgoing.h"

#include <memory>
#include <optional>

#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "styling/fade_engine.h"
#include "styling/preset_saving.h"
#include "widgets/message_box.h"
#include "widgets/properties.h"

namespace styling {

using namespace platform;

namespace {

constexpr COLORREF kMaxColour = 0xFFFFFF;
constexpr int kEnter = 13;
constexpr int kCtrlHeld = 2;

std::string SoundPath(const std::string& file) {
  return settings::FolderPath(std::string(settings::kSoundsFolder) + file);
}

void PlayClick() {
  host::PlaySoundFile(SoundPath("Click.icp"));
}

std::string ColorKey(int index) {
  return "Color" + std::to_string(index);
}

// One question of the hyperlink command: the answer, or none when it was not confirmed.
std::optional<std::string> Ask(HWND owner, const std::string& text, const std::string& caption,
                               const std::string& defaultText) {
  const std::optional<widgets::Answer> answer =
      widgets::AskMessageBox(owner, text, 1, caption, true, defaultText);
  if (!answer || answer->result == "Cancel") return std::nullopt;
  return answer->input;
}

// Presses the Send icon of the IM the text was put into, once pending events have run; an IM
// that has gone meanwhile gets nothing, and no other IM is pressed instead.
void SendFrom(HWND im) {
  DoEvents();
  if (IsWindow(im)) host::ClickSendIconOf(im);
}

}  // namespace

Outgoing::Outgoing(container::MainWindow& main) : main_(main), draw_(ClockSeededDraw()) {}

Outgoing::~Outgoing() {
  SetFadeYield(nullptr);
}

// ---- Start ----

void Outgoing::SettingsFromINI() {
  SetNumOfColors(settings::ReadNumOfColors());
  for (int i = 1; i <= 4; ++i) {
    const std::optional<int32_t> value = settings::ReadColor(ColorKey(i));
    if (value && *value >= 0 && static_cast<COLORREF>(*value) <= kMaxColour) {
      SetColor(i, static_cast<COLORREF>(*value));
    }
  }
}

// ---- The current fade ----

bool Outgoing::FadingOn() const {
  return main_.AOButtonMiddle[4]->BackColor() == kFadeOnColor;
}

RandomMode Outgoing::Mode() const {
  if (main_.mnuSubRandomFade[2]->Checked()) return RandomMode::RandomFade;
  if (main_.mnuSubRandomFade[3]->Checked()) return RandomMode::FromSaved;
  return RandomMode::Off;
}

void Outgoing::SetNumOfColors(int count) {
  main_.NumOfColors = count;
  main_.cmdColor[3]->SetVisible(count >= 3);
  main_.cmdColor[4]->SetVisible(count >= 4);
}

COLORREF Outgoing::Color(int index) const {
  return widgets::ResolveColor(main_.cmdColor[index]->BackColor());
}

void Outgoing::SetColor(int index, COLORREF color) {
  main_.cmdColor[index]->SetBackColor(color);
}

std::string Outgoing::Fade(const std::string& text) const {
  switch (main_.NumOfColors) {
    case 2: {
      std::string copy = text;
      return FadeText2(Color(1), Color(2), copy, false);
    }
    case 3:
      return FadeText3(Color(1), Color(2), Color(3), text, false);
    default:
      return FadeText4(Color(1), Color(2), Color(3), Color(4), text, false);
  }
}

void Outgoing::RandomFade() {
  const std::array<COLORREF, 4> colours = styling::RandomFade(draw_);
  for (int i = 1; i <= 4; ++i) SetColor(i, colours[i - 1]);
}

void Outgoing::RandomFade2() {
  if (const std::optional<Preset> preset = NextSavedPreset(cursor_, FadesFolder())) {
    ApplyPreset(*preset, true);
  }
}

void Outgoing::ApplyPreset(const Preset& preset, bool fiveMeansFour) {
  const std::optional<int> count = LoadedColourCount(preset, fiveMeansFour);
  if (!count) return;
  SetNumOfColors(*count);
  for (int k = 1; k <= *count; ++k) {
    if (preset.colours[k - 1]) SetColor(k, *preset.colours[k - 1]);
  }
}

std::string Outgoing::FadesFolder() const {
  return settings::FolderPath("\\Fades");
}

// ---- Keys ----

bool Outgoing::HookMayAct() const {
  const bool floatShown = main_.FloatMode() && IsWindowVisible(main_.frmIMFloat().hwnd());
  const HWND aol = host::FindAOL();
  if (!floatShown && (aol == 0 || GetForegroundWindow() != aol)) return false;
  if (floatShown) return true;
  const HWND top = host::FirstChild(host::FindMDI(), "AOL Child");
  return top != 0 && host::GetCaption(top).starts_with(container::kContainerCaption);
}

void Outgoing::KeyReported(int& keyCode, int shift, int& noPass) {
  if (!HookMayAct()) return;
  if (keyCode == kEnter) {
    EnterKey(shift, noPass);
  } else if (main_.mnuEntertoSend[1]->Checked()) {
    NextTab(noPass);
  }
}

void Outgoing::EnterKey(int shift, int& noPass) {
  if (!main_.mnuEntertoSend[0]->Checked()) return;
  // The IM whose text is read is the one it is written back to and sent to, whatever the
  // fade and the send let happen meanwhile.
  const HWND im = host::FindCurrentIM();
  const HWND input = host::FindIMInputOf(im);
  const std::string text = host::GetEditText(input);
  if (shift == kCtrlHeld) {
    host::SetText(input, "");
    host::SetText(input, text + "\r");
    return;
  }
  if (text.empty()) return;
  if (!FadingOn() || text.size() > kMaxFadedLength) {
    SendFrom(im);
    noPass = kEnter;
    return;
  }
  switch (Mode()) {
    case RandomMode::RandomFade:
      RandomFade();
      break;
    case RandomMode::FromSaved:
      RandomFade2();
      break;
    case RandomMode::Off:
      break;
  }
  const std::string html = Fade(text);
  noPass = kEnter;
  if (!IsWindow(im)) return;
  host::SetText(input, "");
  host::SetText(input, html);
  SendFrom(im);
}

void Outgoing::NextTab(int& noPass) {
  ui::TabStrip& tabs = main_.TabStrip1;
  int next = (tabs.SelectedItem() + 1) % (tabs.Count() + 1);
  if (next == 0) next = 1;
  tabs.SetSelectedItem(next);
  noPass = 8;
}

// ---- Buttons and menu items ----

void Outgoing::ColorClicked(int index) {
  if (index < 1 || index > 4) return;
  PlayClick();
  const std::optional<COLORREF> chosen = ChooseColor(main_.hwnd(), Color(index));
  if (!chosen || *chosen > kMaxColour) return;
  SetColor(index, *chosen);
  for (int i = 1; i <= 4; ++i) settings::WriteSetting(ColorKey(i), std::to_string(Color(i)));
}

void Outgoing::RandomFadeClicked(int index) {
  if (index != 0 && index != 2 && index != 3) return;
  for (int i : {0, 2, 3}) main_.mnuSubRandomFade[i]->SetChecked(i == index);
}

void Outgoing::SendClicked() {
  if (host::GetUserSN().empty()) return;
  const HWND im = host::FindCurrentIM();
  if (im != 0) SendFrom(im);
  PlayClick();
}

void Outgoing::MiddleClicked(int index) {
  PlayClick();
  BringWindowToTop(main_.picMiddleBar.hwnd());
  RECT area;
  GetWindowRect(main_.picIM.hwnd(), area);
  const int w = area.Width();
  const int h = area.Height();
  widgets::AOButton& first = *main_.AOButtonMiddle[0];
  switch (index) {
    case 0:
      if (first.Caption() == "<") {
        first.SetCaption("S");
        main_.AOButtonMiddle[1]->SetVisible(true);
        main_.picMiddleBar.Move(5, h - 98, w - 15, 24);
        first.SetToolTipMessage("Save Color Scheme");
        first.SetToolTipText("Save Color Scheme");
      } else {
        SavePresetCommand();
      }
      break;
    case 1:
      LoadPresetCommand();
      break;
    case 2:
      if (main_.NumOfColors == 4 || main_.NumOfColors == 3) {
        SetNumOfColors(main_.NumOfColors - 1);
        settings::WriteSetting(settings::keys::kNumOfColors, std::to_string(main_.NumOfColors));
      }
      break;
    case 3:
      if (main_.NumOfColors == 2 || main_.NumOfColors == 3) {
        SetNumOfColors(main_.NumOfColors + 1);
        settings::WriteSetting(settings::keys::kNumOfColors, std::to_string(main_.NumOfColors));
      }
      break;
    case 4: {
      widgets::AOButton& sw = *main_.AOButtonMiddle[4];
      const widgets::OleColor off = main_.AOButtonMiddle[3]->BackColor();
      const bool turnOn = sw.BackColor() == off;
      sw.SetBackColor(turnOn ? kFadeOnColor : off);
      const char* tip = turnOn ? "UnFade IM" : "Fade IM";
      sw.SetToolTipMessage(tip);
      sw.SetToolTipText(tip);
      break;
    }
    case 5: {
      POINT at;
      GetCursorPos(at);
      ScreenToClient(main_.hwnd(), at);
      main_.PopupMenu(main_.mnuFadeOptions, at.x, at.y);
      break;
    }
    case 6: {
      const HWND icon = host::NthChild(host::FindCurrentIM(), "_AOL_Icon", 9);
      if (icon == 0) break;
      host::ClickIntoInput(host::FindCurrentIM());
      SendMessage(icon, WM_LBUTTONDOWN, 0, 0);
      SendMessage(icon, WM_LBUTTONUP, 0, 0);
      break;
    }
    case 7:
      if (main_.AOButtonMiddle[7]->Caption() == ">") {
        first.SetCaption("<");
        main_.AOButtonMiddle[1]->SetVisible(false);
        main_.picMiddleBar.Move(w - 33, h - 98, 23, 24);
        first.SetToolTipMessage("More Features");
        first.SetToolTipText("More Features");
      }
      break;
    case 8:
      SendLink();
      break;
    default:
      break;
  }
}

void Outgoing::SavePresetCommand() {
  SavePresetAs(main_.hwnd(), main_.NumOfColors, {Color(1), Color(2), Color(3), Color(4)});
}

void Outgoing::LoadPresetCommand() {
  FileDialogOptions options;
  options.initialDir = FadesFolder();
  options.filter = kFadeFileFilter;
  const std::optional<std::string> chosen = GetOpenFileName(main_.hwnd(), options);
  if (!chosen || chosen->empty()) return;
  ApplyPreset(ReadPreset(*chosen), false);
}

void Outgoing::SendLink() {
  host::PlaySoundFile(SoundPath("Click.wav"));
  const HWND im = host::FindCurrentIM();
  if (im == 0) return;
  const std::optional<std::string> address =
      Ask(main_.hwnd(), "Enter URL target for link:", "URL", kLinkDefaultAddress);
  if (!address) return;
  const std::optional<std::string> display =
      Ask(main_.hwnd(), "Enter text to be displayed in document:", "Display Text", "Click Here");
  if (!display) return;
  if (address->empty() || display->empty()) return;
  std::string text = *display;
  const std::string faded = FadeText2(Color(1), Color(2), text, false);
  // The input box of the IM taken above, in the client's layout; the IM may have left the top
  // while the questions were open.
  if (!IsWindow(im)) return;
  const HWND input = host::FindIMInputOf(im);
  if (input == 0) return;
  host::SetText(input, "<A HREF=" + *address + ">" + faded + "</A>");
  SendFrom(im);
}

// ---- Wiring ----

Outgoing& AttachOutgoing(container::MainWindow& main) {
  auto outgoing = std::make_shared<Outgoing>(main);
  Outgoing& ref = *outgoing;
  main.settingsReaders.push_back([outgoing] { outgoing->SettingsFromINI(); });
  for (int i = 1; i <= 4; ++i) {
    main.cmdColor[i]->OnClick = [outgoing, i] { outgoing->ColorClicked(i); };
  }
  for (int i = 0; i < 9; ++i) {
    main.AOButtonMiddle[i]->OnClick = [outgoing, i] { outgoing->MiddleClicked(i); };
  }
  for (int i = 0; i < 4; ++i) {
    main.mnuSubRandomFade[i]->OnClick = [outgoing, i] { outgoing->RandomFadeClicked(i); };
  }
  main.AOButtonSend.OnClick = [outgoing] { outgoing->SendClicked(); };
  main.WinHook1.onKey = [outgoing](int& keyCode, int shift, int& noPass) {
    outgoing->KeyReported(keyCode, shift, noPass);
  };
  main.WinHook1.StartKeyboard();
  SetFadeYield([] { DoEvents(); });
  if (main.Loaded()) ref.SettingsFromINI();
  return ref;
}

}  // namespace styling
