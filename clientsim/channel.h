// The stand-in client's control channel: the driver API carried between processes, so that a
// driver in one process acts on a client running in another ("sign on as Alice", "Bob sends
// 'hi'", "close the client") and asks what it has received.
//
// The client's process keeps a hidden control window of class kControlClass. A driver sends it
// a request as WM_COPYDATA (dwData kRequest, wParam the driver's reply window); the client sends
// the reply to that window as WM_COPYDATA (dwData kReply) before the request's send returns.
// Requests and replies are lists of text fields (bytes as the client has them), written by
// Encode and read by Decode at both ends. A reply starts with "ok" or with "error" and a reason.
// Every send is bounded: a client that hangs or has gone gives no reply, never a hang.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clientsim/client.h"
#include "platform/types.h"

namespace clientsim::channel {

inline constexpr const char* kControlClass = "StandInClientControl";
inline constexpr const char* kReplyClass = "StandInClientDriver";
inline constexpr uintptr_t kRequest = 0x53430001;
inline constexpr uintptr_t kReply = 0x53430002;
// How long one request may take, the client's answer included.
inline constexpr uint32_t kCallTimeoutMs = 5000;
// The largest encoded message either end accepts.
inline constexpr size_t kMaxMessageBytes = 1 << 20;

using Fields = std::vector<std::string>;

// Each field as its length in decimal, ':' and its bytes.
std::string Encode(const Fields& fields);
// The fields of a whole, well-formed encoding; nullopt for anything else or anything too large.
std::optional<Fields> Decode(std::string_view bytes);

// The client's end: answers the requests for the client it serves, in the client's process.
class Server {
 public:
  explicit Server(Client& client);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Creates the control window in the current process; false when it cannot be made.
  bool Open();
  platform::HWND Window() const { return window_; }
  // A driver has asked the client's process to end ("exit").
  bool ExitAsked() const { return exitAsked_; }

  // One request's reply (what the control window sends back).
  Fields Answer(const Fields& request);

 private:
  platform::LRESULT OnCopyData(platform::WPARAM from, const platform::COPYDATASTRUCT* data);

  Client& client_;
  platform::HWND window_ = 0;
  bool exitAsked_ = false;
};

// The driver's end, in any process: finds the control window and calls through it.
class Remote {
 public:
  Remote();
  ~Remote();
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;

  // Finds a running client's control window (and makes the reply window); false when none.
  bool Connect();
  bool Connected() const;
  // One request: the reply's fields after "ok", or nullopt when the client refused the request,
  // did not answer in time or is gone (LastError says which).
  std::optional<Fields> Call(const Fields& request);
  const std::string& LastError() const { return lastError_; }

  // ---- What people do (false when the client did not take it) ----
  bool SignOn(const std::string& screenName);
  bool ReceiveIM(const std::string& from, const std::string& text);
  bool CloseIM(const std::string& name);
  // The person chooses an item of the client's menu bar by the captions from the bar down
  // ("&" ignored, case ignored).
  bool ChooseMenu(const std::vector<std::string>& path);
  bool Quit();  // the person closes the client's main window
  bool Exit();  // the client's process ends (after its main window has gone)

  // ---- What the client got and shows (nullopt when it did not answer) ----
  std::optional<bool> Running();
  std::optional<std::string> ScreenName();
  std::optional<std::vector<SentIM>> SentIMs();
  std::optional<std::vector<ReceivedIM>> ReceivedIMs();
  std::optional<std::string> ConversationText(const std::string& name);
  // The captions of the menu bar's items, or of the items of the pop-up at `path`.
  std::optional<std::vector<std::string>> MenuItems(const std::vector<std::string>& path = {});
  std::optional<std::vector<std::string>> DocumentsAtClose();

 private:
  bool Do(const Fields& request) { return Call(request).has_value(); }

  platform::HWND server_ = 0;
  platform::HWND reply_ = 0;
  std::optional<Fields> answer_;
  std::string lastError_;
};

}  // namespace clientsim::channel
