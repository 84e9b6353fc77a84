#include "answer/auto_answer.h"

#include <memory>

#include "answer/answer_text.h"
#include "host/text.h"
#include "host/text_files.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace answer {

using platform::HWND;

namespace {

constexpr int kModes[] = {kModeOff,      kModeAllIMs,          kModeAllExceptRoom,
                          kModeOnlyRoom, kModeAllExceptListed, kModeOnlyListed};
// The order in which a tick looks for the checked mode.
constexpr int kTickOrder[] = {kModeAllIMs, kModeAllExceptRoom, kModeAllExceptListed,
                              kModeOnlyListed, kModeOnlyRoom};

bool OnList(const ui::ListBox& list, const std::string& screenName) {
  for (int i = 0; i < list.ListCount(); ++i) {
    if (SameName(list.List(i), screenName)) return true;
  }
  return false;
}

// The whole message file, line ends included; "" when it cannot be read.
std::string ReadMessage(const char* folder, const std::string& name) {
  const auto path = MessageFile(settings::FolderPath(folder), name);
  if (!path) return "";
  return platform::files::ReadAll(*path).value_or("");
}

}  // namespace

void mnuIManswerClick(container::MainWindow& main, int index) {
  for (int mode : kModes) main.mnuIManswer[mode]->SetChecked(false);
  if (index == kModeOff) {
    main.mnuIManswer[kModeOff]->SetChecked(true);
    main.TimerIMAnswer.SetEnabled(false);
    main.AOButtonIMAnswer.SetBackColor(kButtonOff);
  } else if (index >= kModeAllIMs && index <= kModeOnlyListed) {
    main.mnuIManswer[index]->SetChecked(true);
    main.TimerIMAnswer.SetEnabled(true);
    main.AOButtonIMAnswer.SetBackColor(kButtonOn);
  }
}

int AnswerMode(const container::MainWindow& main) {
  for (int mode : kModes) {
    if (main.mnuIManswer[mode]->Checked()) return mode;
  }
  return -1;
}

AutoAnswer::AutoAnswer(container::MainWindow& main) : main_(main) {}

void AutoAnswer::TimerIMAnswerTick() {
  if (host::GetUserSN().empty()) return;
  for (int mode : kTickOrder) {
    if (!main_.mnuIManswer[mode]->Checked()) continue;
    switch (mode) {
      case kModeAllIMs:
        AnswerAllIMs();
        break;
      case kModeAllExceptRoom:
        AnswerAllExceptRoom();
        break;
      case kModeAllExceptListed:
        AnswerAllExceptListed();
        break;
      case kModeOnlyListed:
        AnswerOnlyListed();
        break;
      case kModeOnlyRoom:
        AnswerOnlyRoom();
        break;
      default:
        break;
    }
    if (main_.Exited()) return;
  }
}

void AutoAnswer::AnswerAllIMs() {
  Answer(Filter::None, true, false);
}
void AutoAnswer::AnswerAllExceptRoom() {
  Answer(Filter::ExceptRoom, false, false);
}
void AutoAnswer::AnswerOnlyRoom() {
  Answer(Filter::OnlyRoom, false, false);
}
void AutoAnswer::AnswerAllExceptListed() {
  Answer(Filter::ExceptListed, false, true);
}
void AutoAnswer::AnswerOnlyListed() {
  Answer(Filter::OnlyListed, false, false);
}

bool AutoAnswer::Wait(double seconds) {
  host::Pause(seconds);
  return !main_.Exited();
}

void AutoAnswer::Answer(Filter filter, bool pauseBeforeTest, bool retestInput) {
  // Ticks go on while a routine pauses; one that came in then would answer the same IMs again.
  if (answering_) return;
  answering_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{answering_};

  if (filter == Filter::ExceptRoom || filter == Filter::OnlyRoom) {
    main_.lstRoom.Clear();
    host::GetRoomList([this](const std::string& name) { main_.lstRoom.AddItem(name); }, false);
    if (!Wait(1.5)) return;
  }
  const int count = main_.List1.ListCount();
  for (int i = 0; i < count; ++i) {
    const HWND im = main_.ListIM(i);
    const std::string caption = host::GetCaption(im);
    if (!Wait(0.5)) return;
    if (!host::HasUnreadMark(caption)) continue;
    const std::string screenName = host::GetIMScreenName(im);
    if (!Passes(filter, screenName)) continue;
    if (!AnswerIM(im, screenName, pauseBeforeTest, retestInput)) return;
  }
}

bool AutoAnswer::Passes(Filter filter, const std::string& screenName) const {
  switch (filter) {
    case Filter::None:
      return true;
    case Filter::ExceptRoom:
      return !OnList(main_.lstRoom, screenName);
    case Filter::OnlyRoom:
      return OnList(main_.lstRoom, screenName);
    case Filter::ExceptListed:
      return !OnList(main_.lstListedMembers, screenName);
    case Filter::OnlyListed:
      return OnList(main_.lstListedMembers, screenName);
  }
  return false;
}

bool AutoAnswer::AnswerIM(HWND im, const std::string& screenName, bool pauseBeforeTest,
                          bool retestInput) {
  if (!platform::IsWindow(im)) return true;
  // The newest message is an answer of this program on the other side: answering it would
  // make the two answer each other for ever.
  if (EndsWithAutoAnswer(host::GetEditText(imlog::ConversationView(im)))) return true;
  const HWND input = host::NthChild(im, "RICHCNTL", host::IsAOL7 ? 1 : 2);
  if (pauseBeforeTest && !Wait(1)) return false;
  if (!host::GetText(input).empty()) return true;
  if (settings::ReadSetting(settings::keys::kPersonalized) == "1") {
    for (int p = 0; p < main_.lstPersonalized.ListCount(); ++p) {
      const std::string name = main_.lstPersonalized.List(p);
      if (SameName(name, screenName)) {
        SendPersonalAnswer(im, input, name);
        return false;
      }
    }
  }
  SendGeneralAnswer(im, input, screenName, retestInput);
  return !main_.Exited();
}

void AutoAnswer::SendGeneralAnswer(HWND im, HWND input, const std::string& screenName,
                                   bool retestInput) {
  const std::string message =
      ReadMessage(settings::kMessagesFolder, settings::ReadSetting(settings::keys::kLastMessage));
  if (!HasMessageText(message)) return;
  const std::string text = GeneralAnswer(message, screenName);
  if (retestInput && !host::GetText(input).empty()) return;
  Send(im, input, text);
}

void AutoAnswer::SendPersonalAnswer(HWND im, HWND input, const std::string& name) {
  const std::string message = ReadMessage(settings::kPersonalMessagesFolder, name);
  if (HasMessageText(message)) Send(im, input, PersonalAnswer(message));
}

void AutoAnswer::Send(HWND im, HWND input, const std::string& text) {
  host::SetText(input, text);
  if (!Wait(1)) return;
  host::ClickSendIconOf(im);
  Wait(3);
}

void AutoAnswer::AOButtonIMAnswerClick() {
  host::PlaySoundFile(settings::FolderPath(std::string(settings::kSoundsFolder) + "Menu.icp"));
  platform::RECT bar{};
  platform::GetWindowRect(main_.Picture2.hwnd(), bar);
  const int x = bar.left + (main_.UseTabs() ? 75 : 150);
  main_.Move(x, bar.bottom - 192, 5000, 5000);
  main_.PopupMenu(main_.mnuIManswerMain, 0, 0);
}

void AutoAnswer::LoadPersonalized() {
  ui::ListBox& list = main_.lstPersonalized;
  list.Clear();
  const auto names =
      platform::files::List(settings::FolderPath(settings::kPersonalMessagesFolder), "*.Mes");
  for (const std::string& name : names) list.AddItem(name.substr(0, name.size() - 4));
  if (list.ListCount() > 0) list.SetListIndex(0);
}

void AutoAnswer::LoadListedMembers() {
  ui::ListBox& list = main_.lstListedMembers;
  list.Clear();
  const std::string path = settings::FolderPath(settings::kListedMembersFile);
  if (!platform::files::Exists(path)) return;
  host::LoadList(path, [&list](const std::string& name) { list.AddItem(name); });
}

AutoAnswer& Attach(container::MainWindow& main) {
  auto engine = std::make_shared<AutoAnswer>(main);
  for (int i = 0; i < static_cast<int>(main.mnuIManswer.size()); ++i) {
    main.mnuIManswer[i]->OnClick = [&main, i] { mnuIManswerClick(main, i); };
  }
  main.TimerIMAnswer.OnTick = [engine] {
    const std::shared_ptr<AutoAnswer> keep = engine;
    keep->TimerIMAnswerTick();
  };
  main.AOButtonIMAnswer.OnClick = [engine] { engine->AOButtonIMAnswerClick(); };
  main.settingsReaders.push_back([engine] {
    engine->LoadPersonalized();
    engine->LoadListedMembers();
  });
  if (main.Loaded()) {
    engine->LoadPersonalized();
    engine->LoadListedMembers();
  }
  return *engine;
}

}  // namespace answer
