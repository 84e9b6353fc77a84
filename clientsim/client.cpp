#include "clientsim/client.h"

#include "clientsim/engine.h"
#include "platform/ansi.h"

namespace clientsim {

using namespace platform;

Client::Client(ClientOptions options) : engine_(std::make_unique<Engine>(options)) {}

Client::~Client() = default;

bool Client::Start() {
  return engine_->Start();
}

bool Client::Running() const {
  return engine_->main != 0 && IsWindow(engine_->main);
}

const ClientOptions& Client::Options() const {
  return engine_->options;
}

void Client::SignOn(const std::string& screenName) {
  Engine* e = engine_.get();
  e->Post([e, screenName] { e->SignOn(screenName); });
}

void Client::SignOff() {
  Engine* e = engine_.get();
  e->Post([e] { e->SignOff(); });
}

void Client::ReceiveIM(const std::string& from, const std::string& text, IncomingOptions options) {
  Engine* e = engine_.get();
  e->Post([e, from, text, options] { e->Receive(from, text, options); });
}

void Client::SetUnreachable(const std::string& name, bool unreachable) {
  auto& list = engine_->unreachable;
  std::erase_if(list, [&](const std::string& n) { return EqualNoCase(n, name); });
  if (unreachable) list.push_back(name);
}

void Client::OpenChatRoom(const std::string& room, const std::vector<std::string>& members) {
  Engine* e = engine_.get();
  e->Post([e, room, members] { e->OpenChat(room, members); });
}

void Client::EnterRoom(const std::string& name) {
  Engine* e = engine_.get();
  e->Post([e, name] {
    if (auto r = e->room.lock()) r->Enter(name);
  });
}

void Client::LeaveRoom(const std::string& name) {
  Engine* e = engine_.get();
  e->Post([e, name] {
    if (auto r = e->room.lock()) r->Leave(name);
  });
}

void Client::SayInRoom(const std::string& name, const std::string& text) {
  Engine* e = engine_.get();
  e->Post([e, name, text] {
    if (auto r = e->room.lock()) r->Said(name, text);
  });
}

void Client::CloseIM(const std::string& name) {
  Engine* e = engine_.get();
  e->Post([e, name] {
    if (auto im = e->Conversation(name, false)) SendMessage(im->hwnd(), WM_CLOSE, 0, 0);
  });
}

void Client::OpenImageEditor(const std::string& name) {
  Engine* e = engine_.get();
  e->Post([e, name] {
    if (auto im = e->Conversation(name, false)) im->ShowImagePane();
  });
}

void Client::SetAway(const std::string& name, bool away) {
  Engine* e = engine_.get();
  e->Post([e, name, away] {
    if (auto im = e->Conversation(name, false)) im->SetAway(away);
  });
}

void Client::TypeAndSendIM(const std::string& name, const std::string& text) {
  Engine* e = engine_.get();
  e->Post([e, name, text] {
    auto im = e->Conversation(name, false);
    if (!im || !im->Input()) return;
    const HWND input = im->Input()->hwnd();
    SendMessage(input, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessage(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    im->PressSend();
  });
}

void Client::TypeKeyword(const std::string& keyword) {
  Engine* e = engine_.get();
  e->Post([e, keyword] {
    if (e->keywordEdit == 0) return;
    SendMessage(e->keywordEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(keyword.c_str()));
    SendMessage(e->keywordEdit, WM_CHAR, '\r', 0);
  });
}

void Client::Quit() {
  Engine* e = engine_.get();
  e->Post([e] {
    if (e->main != 0) SendMessage(e->main, WM_CLOSE, 0, 0);
  });
}

std::string Client::ScreenName() const {
  return engine_->screenName;
}
const std::vector<SentIM>& Client::SentIMs() const {
  return engine_->sent;
}
const std::vector<ReceivedIM>& Client::ReceivedIMs() const {
  return engine_->received;
}

std::vector<ReceivedIM> Client::BlockedIMs() const {
  std::vector<ReceivedIM> out;
  for (const ReceivedIM& r : engine_->received) {
    if (r.fate == ReceivedIM::Fate::Blocked) out.push_back(r);
  }
  return out;
}

const std::vector<ChatLine>& Client::ChatLines() const {
  return engine_->chat;
}
const std::vector<std::string>& Client::KeywordsRun() const {
  return engine_->keywords;
}
bool Client::AllIMsBlocked() const {
  return engine_->blockAll;
}
std::vector<std::string> Client::BlockedNames() const {
  return engine_->blockedNames;
}

std::string Client::ConversationText(const std::string& name) const {
  auto im = engine_->Conversation(name, false);
  return im ? im->ViewText() : std::string();
}

std::vector<std::string> Client::RoomMembers() const {
  auto r = engine_->room.lock();
  return r ? r->Members() : std::vector<std::string>{};
}

const std::vector<std::string>& Client::DocumentsAtClose() const {
  return engine_->documentsAtClose;
}

HWND Client::MainWindow() const {
  return engine_->main;
}
HWND Client::MdiClient() const {
  return engine_->mdi;
}
HWND Client::KeywordBox() const {
  return engine_->keywordEdit;
}

HWND Client::IMWindow(const std::string& name) const {
  auto im = engine_->Conversation(name, false);
  return im ? im->hwnd() : 0;
}

HWND Client::SendIMWindow() const {
  for (auto it = engine_->sendIms.rbegin(); it != engine_->sendIms.rend(); ++it) {
    if (auto s = it->lock(); s && s->hwnd() != 0) return s->hwnd();
  }
  return 0;
}

HWND Client::ErrorBox() const {
  for (auto it = engine_->errorBoxes.rbegin(); it != engine_->errorBoxes.rend(); ++it) {
    if (IsWindow(*it)) return *it;
  }
  return 0;
}

HWND Client::ChatRoom() const {
  auto r = engine_->room.lock();
  return r ? r->hwnd() : 0;
}

HWND Client::WelcomeWindow() const {
  return engine_->welcome != 0 && IsWindow(engine_->welcome) ? engine_->welcome : 0;
}

HWND Client::ChannelsWindow() const {
  return engine_->channels != 0 && IsWindow(engine_->channels) ? engine_->channels : 0;
}

}  // namespace clientsim
