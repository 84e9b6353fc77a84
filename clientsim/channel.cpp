#include "clientsim/channel.h"

#include <charconv>

#include "platform/ansi.h"
#include "platform/win32.h"

namespace clientsim::channel {

using namespace platform;

namespace {

constexpr size_t kMaxLengthDigits = 7;

// A menu caption as the person reads it: without the "&" that marks the access key.
std::string Readable(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

// The position of the item with that caption in `menu`, or -1.
int FindItem(HMENU menu, const std::string& caption) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (EqualNoCase(Readable(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION)),
                    Readable(caption))) {
      return i;
    }
  }
  return -1;
}

// The pop-up reached by `path` from the menu bar (the bar itself for an empty path); 0 when
// there is none.
HMENU MenuAt(HWND owner, const std::vector<std::string>& path) {
  HMENU menu = GetMenu(owner);
  for (const std::string& caption : path) {
    if (menu == 0) return 0;
    const int at = FindItem(menu, caption);
    menu = at < 0 ? 0 : GetSubMenu(menu, at);
  }
  return menu;
}

const char* FateName(ReceivedIM::Fate fate) {
  switch (fate) {
    case ReceivedIM::Fate::Blocked:
      return "blocked";
    case ReceivedIM::Fate::SignedOff:
      return "signed-off";
    case ReceivedIM::Fate::Shown:
      break;
  }
  return "shown";
}

std::optional<ReceivedIM::Fate> FateNamed(const std::string& name) {
  for (auto fate :
       {ReceivedIM::Fate::Shown, ReceivedIM::Fate::Blocked, ReceivedIM::Fate::SignedOff}) {
    if (name == FateName(fate)) return fate;
  }
  return std::nullopt;
}

Fields Error(const std::string& why) {
  return {"error", why};
}

Fields Ok(Fields values = {}) {
  values.insert(values.begin(), "ok");
  return values;
}

// Sends `fields` as WM_COPYDATA tagged `tag` from `from`; false when `to` did not take it.
bool SendFields(HWND to, HWND from, uintptr_t tag, const Fields& fields) {
  const std::string bytes = Encode(fields);
  COPYDATASTRUCT data;
  data.dwData = tag;
  data.cbData = static_cast<uint32_t>(bytes.size());
  data.lpData = bytes.data();
  LRESULT taken = 0;
  return SendMessageTimeout(to, WM_COPYDATA, from, reinterpret_cast<LPARAM>(&data), kCallTimeoutMs,
                            &taken) &&
         taken != 0;
}

// The fields a WM_COPYDATA tagged `tag` carries, or nullopt.
std::optional<Fields> Received(const COPYDATASTRUCT* data, uintptr_t tag) {
  if (data == nullptr || data->dwData != tag || data->cbData > kMaxMessageBytes ||
      (data->cbData > 0 && data->lpData == nullptr)) {
    return std::nullopt;
  }
  return Decode(std::string_view(static_cast<const char*>(data->lpData), data->cbData));
}

}  // namespace

std::string Encode(const Fields& fields) {
  std::string out;
  for (const std::string& field : fields) {
    out += std::to_string(field.size());
    out += ':';
    out += field;
  }
  return out;
}

std::optional<Fields> Decode(std::string_view bytes) {
  if (bytes.size() > kMaxMessageBytes) return std::nullopt;
  Fields fields;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t colon = bytes.find(':', at);
    if (colon == std::string_view::npos || colon == at || colon - at > kMaxLengthDigits)
      return std::nullopt;
    size_t length = 0;
    const char* first = bytes.data() + at;
    const char* last = bytes.data() + colon;
    // from_chars takes digits only: no sign, no space.
    if (std::from_chars(first, last, length).ptr != last || length > bytes.size() - colon - 1) {
      return std::nullopt;
    }
    fields.emplace_back(bytes.substr(colon + 1, length));
    at = colon + 1 + length;
  }
  return fields;
}

// ---- Server ----

Server::Server(Client& client) : client_(client) {}

Server::~Server() {
  if (window_ != 0 && IsWindow(window_)) DestroyWindow(window_);
}

bool Server::Open() {
  if (window_ != 0 && IsWindow(window_)) return true;
  RegisterClass({kControlClass, nullptr, 0xFFFFFFFF});
  window_ = CreateWindowEx(0, kControlClass, "", WS_POPUP, 0, 0, 0, 0, 0, 0,
                           [this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                             if (msg == WM_COPYDATA)
                               return OnCopyData(w, reinterpret_cast<const COPYDATASTRUCT*>(l));
                             if (msg == WM_NCDESTROY && h == window_) window_ = 0;
                             return DefWindowProc(h, msg, w, l);
                           });
  return window_ != 0;
}

LRESULT Server::OnCopyData(WPARAM from, const COPYDATASTRUCT* data) {
  const std::optional<Fields> request = Received(data, kRequest);
  const Fields reply = request ? Answer(*request) : Error("malformed request");
  return SendFields(static_cast<HWND>(from), window_, kReply, reply) ? 1 : 0;
}

Fields Server::Answer(const Fields& request) {
  if (request.empty()) return Error("empty request");
  const std::string& verb = request[0];
  const std::vector<std::string> args(request.begin() + 1, request.end());
  const auto needs = [&](size_t count) { return args.size() == count; };

  if (verb == "signon" && needs(1)) {
    client_.SignOn(args[0]);
  } else if (verb == "im" && needs(2)) {
    client_.ReceiveIM(args[0], args[1]);
  } else if (verb == "close-im" && needs(1)) {
    client_.CloseIM(args[0]);
  } else if (verb == "quit" && needs(0)) {
    client_.Quit();
  } else if (verb == "exit" && needs(0)) {
    exitAsked_ = true;
  } else if (verb == "choose-menu" && !args.empty()) {
    const HWND main = client_.MainWindow();
    const std::vector<std::string> above(args.begin(), args.end() - 1);
    const HMENU menu = main != 0 ? MenuAt(main, above) : 0;
    const int at = menu != 0 ? FindItem(menu, args.back()) : -1;
    if (at < 0) return Error("the client's menu bar has no item " + args.back());
    const UINT id = GetMenuItemID(menu, at);
    if (id == 0xFFFFFFFF || (GetMenuState(menu, static_cast<UINT>(at), MF_BYPOSITION) &
                             (MF_GRAYED | MF_DISABLED | MF_SEPARATOR))) {
      return Error("the menu item " + args.back() + " cannot be chosen");
    }
    // As the system's menu does when the person chooses an item.
    PostMessage(main, WM_COMMAND, id, 0);
  } else if (verb == "running" && needs(0)) {
    return Ok({client_.Running() ? "1" : "0"});
  } else if (verb == "screen-name" && needs(0)) {
    return Ok({client_.ScreenName()});
  } else if (verb == "sent" && needs(0)) {
    Fields out;
    for (const SentIM& im : client_.SentIMs()) out.insert(out.end(), {im.to, im.text});
    return Ok(out);
  } else if (verb == "received" && needs(0)) {
    Fields out;
    for (const ReceivedIM& im : client_.ReceivedIMs())
      out.insert(out.end(), {im.from, im.text, FateName(im.fate)});
    return Ok(out);
  } else if (verb == "conversation" && needs(1)) {
    return Ok({client_.ConversationText(args[0])});
  } else if (verb == "menu") {
    const HWND main = client_.MainWindow();
    const HMENU menu = main != 0 ? MenuAt(main, args) : 0;
    if (menu == 0) return Error("the client has no such menu");
    Fields out;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
      out.push_back(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION));
    return Ok(out);
  } else if (verb == "closed-with" && needs(0)) {
    return Ok(client_.DocumentsAtClose());
  } else {
    return Error("unknown request " + verb + " with " + std::to_string(args.size()) + " arguments");
  }
  return Ok();
}

// ---- Remote ----

Remote::Remote() = default;

Remote::~Remote() {
  if (reply_ != 0 && IsWindow(reply_)) DestroyWindow(reply_);
}

bool Remote::Connect() {
  server_ = FindWindowEx(0, 0, kControlClass, nullptr);
  if (server_ == 0) return false;
  if (reply_ == 0 || !IsWindow(reply_)) {
    RegisterClass({kReplyClass, nullptr, 0xFFFFFFFF});
    reply_ = CreateWindowEx(0, kReplyClass, "", WS_POPUP, 0, 0, 0, 0, 0, 0,
                            [this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                              if (msg != WM_COPYDATA || static_cast<HWND>(w) != server_)
                                return DefWindowProc(h, msg, w, l);
                              answer_ =
                                  Received(reinterpret_cast<const COPYDATASTRUCT*>(l), kReply);
                              return answer_ ? 1 : 0;
                            });
  }
  return reply_ != 0;
}

bool Remote::Connected() const {
  return server_ != 0 && IsWindow(server_) && reply_ != 0;
}

std::optional<Fields> Remote::Call(const Fields& request) {
  if (!Connected() && !Connect()) {
    lastError_ = "no stand-in client is running";
    return std::nullopt;
  }
  answer_.reset();
  if (!SendFields(server_, reply_, kRequest, request) || !answer_ || answer_->empty()) {
    lastError_ = "the client did not answer " + (request.empty() ? "" : request[0]);
    return std::nullopt;
  }
  Fields reply = std::move(*answer_);
  answer_.reset();
  if (reply[0] != "ok") {
    lastError_ = reply.size() > 1 ? reply[1] : "refused";
    return std::nullopt;
  }
  lastError_.clear();
  reply.erase(reply.begin());
  return reply;
}

bool Remote::SignOn(const std::string& screenName) {
  return Do({"signon", screenName});
}
bool Remote::ReceiveIM(const std::string& from, const std::string& text) {
  return Do({"im", from, text});
}
bool Remote::CloseIM(const std::string& name) {
  return Do({"close-im", name});
}
bool Remote::ChooseMenu(const std::vector<std::string>& path) {
  Fields request{"choose-menu"};
  request.insert(request.end(), path.begin(), path.end());
  return Do(request);
}
bool Remote::Quit() {
  return Do({"quit"});
}
bool Remote::Exit() {
  return Do({"exit"});
}

std::optional<bool> Remote::Running() {
  auto reply = Call({"running"});
  if (!reply || reply->size() != 1) return std::nullopt;
  return (*reply)[0] == "1";
}

std::optional<std::string> Remote::ScreenName() {
  auto reply = Call({"screen-name"});
  if (!reply || reply->size() != 1) return std::nullopt;
  return (*reply)[0];
}

std::optional<std::vector<SentIM>> Remote::SentIMs() {
  auto reply = Call({"sent"});
  if (!reply || reply->size() % 2 != 0) return std::nullopt;
  std::vector<SentIM> out;
  for (size_t i = 0; i < reply->size(); i += 2)
    out.push_back(SentIM{(*reply)[i], (*reply)[i + 1], 0});
  return out;
}

std::optional<std::vector<ReceivedIM>> Remote::ReceivedIMs() {
  auto reply = Call({"received"});
  if (!reply || reply->size() % 3 != 0) return std::nullopt;
  std::vector<ReceivedIM> out;
  for (size_t i = 0; i < reply->size(); i += 3) {
    const auto fate = FateNamed((*reply)[i + 2]);
    if (!fate) return std::nullopt;
    out.push_back(ReceivedIM{(*reply)[i], (*reply)[i + 1], *fate, 0});
  }
  return out;
}

std::optional<std::string> Remote::ConversationText(const std::string& name) {
  auto reply = Call({"conversation", name});
  if (!reply || reply->size() != 1) return std::nullopt;
  return (*reply)[0];
}

std::optional<std::vector<std::string>> Remote::MenuItems(const std::vector<std::string>& path) {
  Fields request{"menu"};
  request.insert(request.end(), path.begin(), path.end());
  return Call(request);
}

std::optional<std::vector<std::string>> Remote::DocumentsAtClose() {
  return Call({"closed-with"});
}

}  // namespace clientsim::channel
