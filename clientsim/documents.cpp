// The client's conversation windows: IM windows, the Send-IM window and the chat room.
#include <algorithm>
#include <vector>

#include "clientsim/engine.h"

namespace clientsim {

using namespace platform;

namespace {

constexpr const char* kImIcons[] = {"Warn", "Block", "Add Buddy", "Talk", "A",   "B",   "I",   "U",
                                    ":-)",  "Send",  "Respond",   "Link", "Pic", "Snd", "Info"};
constexpr size_t kAcceptIcon = 0;
constexpr size_t kBlockIcon = 1;
constexpr size_t kSmileyIcon = 8;
constexpr size_t kSendIcon = 9;
constexpr size_t kRespondIcon = 10;
constexpr int kAol7StatusStrip = 19;

// The client size of a document window, with a sensible floor.
void ClientSize(HWND hwnd, int& w, int& h) {
  RECT r;
  GetClientRect(hwnd, r);
  w = std::max(200, r.Width());
  h = std::max(160, r.Height());
}

bool Blank(const std::string& html) {
  return Trim(StripTags(html)).empty();
}

}  // namespace

// ---- ImWindow ----

void ImWindow::Build() {
  const bool aol7 = engine_->Aol7();
  // Statics first: the warning level, then ones the client fills in as it goes; the status
  // static is the fifth (AOL 6) or eighth (AOL 7).
  const int statusIndex = aol7 ? 7 : 4;
  for (int i = 0; i <= statusIndex; ++i) {
    std::string text;
    DWORD style = 0;
    if (i == 0) {
      text = name_ + "'s Warning Level: 0%";
      style = WS_VISIBLE;
    } else if (i == statusIndex) {
      text = "AOL Member";
      style = options_.statusVisible ? WS_VISIBLE : 0;
    } else if (aol7 && i == 5) {
      text = "AOL 7.0";  // the AOL 7 status strip's name of the service
      style = WS_VISIBLE;
    }
    statics_.push_back(engine_->Child<Label>(hwnd_, "_AOL_Static", text, style, 0, 0, 4, 4));
  }

  view_ = engine_->Child<RichText>(hwnd_, aol7 ? "RICHCNTLREADONLY" : "RICHCNTL", "", WS_VISIBLE, 0,
                                   0, 8, 8, true);
  if (view_ && aol7) view_->paper = RGB(0xF4, 0xF8, 0xFF);
  input_ = engine_->Child<RichText>(hwnd_, "RICHCNTL", "", WS_VISIBLE, 0, 0, 8, 8, false);
  if (input_) {
    input_->onActivate = [this] { MarkRead(); };
    input_->onEnter = [this] { PressSend(); };
  }

  for (size_t i = 0; i < std::size(kImIcons); ++i) {
    std::string label = kImIcons[i];
    DWORD style = WS_VISIBLE;
    if (i == kAcceptIcon && options_.internet) {
      label = "OK";
      waitingAccept_ = true;
    }
    if (i == kRespondIcon) {
      waitingRespond_ = options_.needsRespond;
      if (!waitingRespond_) style = 0;
    }
    auto icon = engine_->Child<Icon>(hwnd_, "_AOL_Icon", label, style, 0, 0, 8, 8);
    icons_.push_back(icon);
    if (!icon) continue;
    switch (i) {
      case kAcceptIcon:
        icon->onClick = [this] {
          if (waitingAccept_) Accept();
        };
        break;
      case kBlockIcon:
        icon->onClick = [this] {
          std::string from, text;
          engine_->BlockCommand("$IM_OFF " + name_, from, text);
        };
        break;
      case kSmileyIcon:
        icon->onClick = [this] {
          if (input_)
            SendMessage(input_->hwnd(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(":-)"));
        };
        break;
      case kSendIcon:
        icon->onClick = [this] { PressSend(); };
        break;
      case kRespondIcon:
        icon->onClick = [this] {
          if (waitingRespond_) Respond();
        };
        break;
      default:
        break;
    }
  }

  imagePane_ = engine_->Child<Panel>(hwnd_, "_AOL_EditImage", "", 0, 0, 0, 8, 8,
                                     gfx::Color{0xFFFFFF}, true, true);
  // The statics lie beneath the other controls, so a view laid over the top strip hides them.
  // Moving each to the bottom in turn keeps their order among themselves.
  for (const auto& s : statics_) {
    if (s)
      SetWindowPos(s->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Arrange();
  UpdateCaption();
}

void ImWindow::Arrange() {
  int w = 0, h = 0;
  ClientSize(hwnd_, w, h);
  const bool aol7 = engine_->Aol7();
  // AOL 7 has a status strip under its buttons, which makes its window taller for the same
  // view and input box.
  const int strip = aol7 ? kAol7StatusStrip : 0;
  auto place = [](const auto& control, int x, int y, int cw, int ch) {
    if (control && control->hwnd() != 0) MoveWindow(control->hwnd(), x, y, cw, ch, true);
  };
  const size_t statusIndex = statics_.size() - 1;
  for (size_t i = 0; i < statics_.size(); ++i) {
    if (i == 0) {
      place(statics_[i], 4, 2, std::max(10, w - 100), 16);
    } else if (i == statusIndex) {
      place(statics_[i], w - 90, aol7 ? h - strip + 2 : 2, 86, 16);
    } else if (aol7 && i == 5) {
      place(statics_[i], 4, h - strip + 2, 80, 16);
    } else {
      place(statics_[i], 4, 2, 4, 4);
    }
  }
  const int viewHeight = std::max(40, h - 130 - strip);
  place(view_, 4, 20, w - 8, viewHeight);
  place(imagePane_, 4, 20, w - 8, viewHeight);
  const int toolsY = 20 + viewHeight + 2;
  place(input_, 4, toolsY + 22, w - 8, 50);
  const int bottomY = h - 30 - strip;
  int toolX = 4;
  int buttonX = 4;
  for (size_t i = 0; i < icons_.size(); ++i) {
    const bool toolIcon = (i >= 4 && i <= 8) || (i >= 11 && i <= 13);
    if (toolIcon) {
      place(icons_[i], toolX, toolsY, 26, 20);
      toolX += 28;
    } else if (i == kSendIcon || i == kRespondIcon) {
      place(icons_[i], w - (i == kSendIcon ? 128 : 64), bottomY, 60, 26);
    } else {
      place(icons_[i], buttonX, bottomY, 48, 26);
      buttonX += 52;
    }
  }
}

LRESULT ImWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    const LRESULT r = DocWindow::Handle(msg, wParam, lParam);
    Arrange();
    return r;
  }
  return DocWindow::Handle(msg, wParam, lParam);
}

void ImWindow::UpdateCaption() {
  const CaptionShape shape = options_.caption.value_or(engine_->options.captions);
  const std::string who = name_ + (options_.away ? " [Away]" : "");
  std::string caption;
  switch (shape) {
    case CaptionShape::ImFromTo:
      caption =
          everIncoming_ ? std::string(unread_ ? ">" : " ") + "IM From: " + who : " IM To: " + who;
      break;
    case CaptionShape::InstantMessage:
      caption = everIncoming_ ? std::string(unread_ ? ">" : "") + "Instant Message From: " + who
                              : "Instant Message To: " + who;
      break;
    case CaptionShape::InternetMessage:
      caption = std::string("Internet Message ") + (everIncoming_ ? "From: " : "To: ") + who;
      break;
  }
  SetWindowText(hwnd_, caption);
}

void ImWindow::SetAway(bool away) {
  options_.away = away;
  UpdateCaption();
}

void ImWindow::Incoming(const std::string& text) {
  everIncoming_ = true;
  unread_ = true;
  if (waitingAccept_) {
    withheld_.push_back(text);
  } else if (view_) {
    view_->AppendLine(ConversationLine(name_, text, false));
  }
  UpdateCaption();
}

void ImWindow::Outgoing(const std::string& text) {
  if (view_) view_->AppendLine(ConversationLine(engine_->screenName, text, true));
}

void ImWindow::MarkRead() {
  if (!unread_ || waitingAccept_) return;
  unread_ = false;
  UpdateCaption();
}

void ImWindow::Accept() {
  waitingAccept_ = false;
  if (icons_[kAcceptIcon]) SetWindowText(icons_[kAcceptIcon]->hwnd(), "Warn");
  for (const std::string& text : withheld_) {
    if (view_) view_->AppendLine(ConversationLine(name_, text, false));
  }
  withheld_.clear();
  UpdateCaption();
}

void ImWindow::Respond() {
  waitingRespond_ = false;
  if (icons_[kRespondIcon]) ShowWindow(icons_[kRespondIcon]->hwnd(), SW_HIDE);
}

void ImWindow::ShowImagePane() {
  if (imagePane_ && imagePane_->hwnd() != 0) ShowWindow(imagePane_->hwnd(), SW_SHOW);
}

void ImWindow::PressSend() {
  if (!input_) return;
  const std::string raw = input_->Raw();
  if (Blank(raw)) return;
  if (engine_->screenName.empty()) {
    engine_->ShowError("You must be signed on to send Instant Messages.");
    return;
  }
  if (!engine_->Reachable(name_)) {
    engine_->ShowError(name_ + " is not currently signed on.");
    return;
  }
  engine_->RecordSent(name_, raw);
  Outgoing(raw);
  input_->SetContent("");
  MarkRead();
}

// ---- SendImWindow ----

void SendImWindow::Build() {
  int w = 0, h = 0;
  ClientSize(hwnd_, w, h);
  engine_->Child<Label>(hwnd_, "_AOL_Static", "To:", WS_VISIBLE, 8, 8, 30, 18);
  auto edit = engine_->Child<LineEdit>(hwnd_, "_AOL_Edit", to_, WS_VISIBLE, 40, 6, w - 50, 20);
  if (edit) addressee_ = edit->hwnd();
  message_ =
      engine_->Child<RichText>(hwnd_, "RICHCNTL", "", WS_VISIBLE, 8, 58, w - 16, h - 100, false);
  if (message_) message_->onEnter = [this] { PressSend(); };
  const char* labels[] = {"A", "B", "I", "U", "Color", "Font", "Link", "Pic", ":-)", "Send"};
  int x = 8;
  for (size_t i = 0; i < std::size(labels); ++i) {
    const bool send = i + 1 == std::size(labels);
    const int iw = send ? 60 : 26;
    const int y = send ? h - 32 : 32;
    auto icon = engine_->Child<Icon>(hwnd_, "_AOL_Icon", labels[i], WS_VISIBLE, send ? w - 68 : x,
                                     y, iw, send ? 26 : 22);
    x += 28;
    if (icon && send) icon->onClick = [this] { PressSend(); };
  }
}

void SendImWindow::PressSend() {
  if (sending_ || !message_) return;
  const std::string address = Trim(GetWindowText(addressee_));
  const std::string message = message_->Raw();
  std::string answerFrom, answerText;
  if (engine_->BlockCommand(address, answerFrom, answerText)) {
    sending_ = true;
    After(300, [this, answerFrom, answerText] {
      engine_->Receive(answerFrom, answerText, {});
      DestroyWindow(hwnd_);
    });
    return;
  }
  if (engine_->screenName.empty()) {
    engine_->ShowError("You must be signed on to send Instant Messages.");
    return;
  }
  if (address.empty()) {
    engine_->ShowError("Please enter the screen name of the member you wish to send to.");
    return;
  }
  if (Blank(message)) {
    engine_->ShowError("You cannot send an empty Instant Message.");
    return;
  }
  sending_ = true;
  if (!engine_->Reachable(address)) {
    After(200, [this, address] {
      sending_ = false;
      engine_->ShowError(address + " is not currently signed on.");
    });
    return;
  }
  engine_->RecordSent(address, message);
  After(300, [this, address, message] {
    if (auto im = engine_->Conversation(address, true)) {
      im->Outgoing(message);
      im->MarkRead();
    }
    DestroyWindow(hwnd_);
  });
}

// ---- ChatRoomWindow ----

void ChatRoomWindow::Build(const std::vector<std::string>& members) {
  int w = 0, h = 0;
  ClientSize(hwnd_, w, h);
  const bool aol7 = engine_->options.layout == Layout::Aol7;
  const int listW = 130;
  view_ = engine_->Child<RichText>(hwnd_, aol7 ? "RICHCNTLREADONLY" : "RICHCNTL", "", WS_VISIBLE, 4,
                                   4, w - listW - 12, h - 70, true);
  input_ = engine_->Child<RichText>(hwnd_, "RICHCNTL", "", WS_VISIBLE, 4, h - 60, w - listW - 80,
                                    26, false);
  if (input_) input_->onEnter = [this] { SayTyped(); };
  list_ = engine_->Child<MemberList>(hwnd_, "_AOL_Listbox", "", WS_VISIBLE, w - listW - 4, 24,
                                     listW, h - 100);
  engine_->Child<Label>(hwnd_, "_AOL_Static", "People Here", WS_VISIBLE, w - listW - 4, 4, listW,
                        18);
  auto send =
      engine_->Child<Icon>(hwnd_, "_AOL_Icon", "Send", WS_VISIBLE, w - listW - 70, h - 60, 60, 26);
  if (send) send->onClick = [this] { SayTyped(); };
  engine_->Child<Icon>(hwnd_, "_AOL_Icon", "Notify AOL", WS_VISIBLE, 4, h - 30, 80, 24);
  engine_->Child<Icon>(hwnd_, "_AOL_Icon", "Chat Prefs", WS_VISIBLE, 88, h - 30, 80, 24);
  if (list_) {
    for (const std::string& m : members) list_->Add(m);
  }
}

void ChatRoomWindow::SayTyped() {
  if (!input_) return;
  const std::string raw = input_->Raw();
  if (Blank(raw)) return;
  engine_->RecordChat(room_, raw);
  if (view_) view_->AppendLine(ConversationLine(engine_->screenName, raw, true));
  input_->SetContent("");
}

void ChatRoomWindow::Enter(const std::string& name) {
  if (!list_ || !list_->Add(name)) return;
  if (view_) view_->AppendLine(PlainStyled("OnlineHost: " + name + " has entered the room."));
}

void ChatRoomWindow::Leave(const std::string& name) {
  if (!list_ || !list_->Remove(name)) return;
  if (view_) view_->AppendLine(PlainStyled("OnlineHost: " + name + " has left the room."));
}

void ChatRoomWindow::Said(const std::string& name, const std::string& text) {
  if (view_) view_->AppendLine(ConversationLine(name, text, false));
}

}  // namespace clientsim
