// The stand-in client: an AOL 6 / AOL 7 look-alike built on the platform seam, with its main
// window, toolbar and keyword box, MDI document windows, IM and Send-IM windows, chat room and
// error box, plus a driver for tests and the demo. The driver's actions reach the client in
// its own process, after small delays of virtual time, through a hidden window of the client.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace clientsim {

enum class Layout { Aol6, Aol7 };

// How an IM window's caption reads: " IM From: Bob" (">IM From: Bob" while unread) and
// " IM To: Bob"; "Instant Message From: Bob" (">Instant ..." while unread) and
// "Instant Message To: Bob"; "Internet Message From: Bob" and "Internet Message To: Bob".
enum class CaptionShape { ImFromTo, InstantMessage, InternetMessage };

struct ClientOptions {
  Layout layout = Layout::Aol6;
  int toolbarEdits = 5;          // "_AOL_Edit"s on the toolbar; fewer for an older client
  uint32_t actionDelayMs = 100;  // how long a driver action takes to reach the client
  // The toolbar's height, which places the MDI area below it; 0: the height that puts the MDI
  // area 105 pixels below the top of the screen.
  int toolbarHeight = 0;
  CaptionShape captions = CaptionShape::ImFromTo;
};

// How an incoming IM shows up.
struct IncomingOptions {
  bool internet = false;      // an Internet IM: waits until its "OK" icon is pressed
  bool needsRespond = false;  // waits until its "Respond" icon is pressed
  bool statusVisible = true;  // the correspondent's status static shows (an AOL member)
  bool away = false;          // the correspondent is away: " [Away]" follows the name
  std::optional<CaptionShape> caption =
      std::nullopt;  // this IM's caption shape, if not the client's own
};

struct SentIM {
  std::string to;
  std::string text;  // as it stood in the input box (HTML or plain)
  uint32_t timeMs = 0;
};

struct ReceivedIM {
  enum class Fate { Shown, Blocked, SignedOff };
  std::string from;
  std::string text;
  Fate fate = Fate::Shown;
  uint32_t timeMs = 0;
};

struct ChatLine {
  std::string room;
  std::string text;
  uint32_t timeMs = 0;
};

class Engine;

class Client {
 public:
  explicit Client(ClientOptions options = {});
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  // Creates the client's windows in the current process (make the client's process current
  // first). False when it is already running or a window cannot be made.
  bool Start();
  bool Running() const;
  const ClientOptions& Options() const;

  // ---- What people do; each reaches the client after Options().actionDelayMs ----
  void SignOn(const std::string& screenName);  // Welcome window and "AOL Channels"
  void SignOff();                              // closes the session's windows
  void ReceiveIM(const std::string& from, const std::string& text, IncomingOptions options = {});
  void SetUnreachable(const std::string& name, bool unreachable = true);
  void OpenChatRoom(const std::string& room, const std::vector<std::string>& members);
  void EnterRoom(const std::string& name);
  void LeaveRoom(const std::string& name);
  void SayInRoom(const std::string& name, const std::string& text);
  void CloseIM(const std::string& name);             // the user closes that IM window
  void SetAway(const std::string& name, bool away);  // the correspondent goes away or is back
  void OpenImageEditor(const std::string& name);     // shows the IM window's image pane
  void TypeAndSendIM(const std::string& name, const std::string& text);
  void TypeKeyword(const std::string& keyword);  // typed into the keyword box, then Enter
  void Quit();                                   // the user closes the main window

  // ---- What the client got and shows ----
  std::string ScreenName() const;  // "" while signed off
  const std::vector<SentIM>& SentIMs() const;
  const std::vector<ReceivedIM>& ReceivedIMs() const;
  std::vector<ReceivedIM> BlockedIMs() const;
  const std::vector<ChatLine>& ChatLines() const;
  const std::vector<std::string>& KeywordsRun() const;
  bool AllIMsBlocked() const;
  std::vector<std::string> BlockedNames() const;
  // The plain text of the IM window's conversation view for that name, lines joined by CR;
  // "" when there is no such window.
  std::string ConversationText(const std::string& name) const;
  std::vector<std::string> RoomMembers() const;
  // The captions of the document windows the client still had when it last closed, top first.
  const std::vector<std::string>& DocumentsAtClose() const;

  platform::HWND MainWindow() const;
  platform::HWND MdiClient() const;
  platform::HWND KeywordBox() const;  // the "Edit" inside the keyword combo box
  platform::HWND IMWindow(const std::string& name) const;
  platform::HWND SendIMWindow() const;  // the newest open one
  platform::HWND ErrorBox() const;      // the newest open one
  platform::HWND ChatRoom() const;
  platform::HWND WelcomeWindow() const;
  platform::HWND ChannelsWindow() const;

 private:
  std::unique_ptr<Engine> engine_;
};

}  // namespace clientsim
