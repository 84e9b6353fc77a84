// The client's inner workings: its windows and what happens in them. Used by client.cpp; tests
// and the add-on go through client.h and the window tree.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "clientsim/client.h"
#include "clientsim/control.h"
#include "clientsim/richtext.h"
#include "clientsim/widgets.h"

namespace clientsim {

class Engine;

// An "AOL Child" document window under the MDI client.
class DocWindow : public Control {
 public:
  explicit DocWindow(Engine* engine) : engine_(engine) {}

 protected:
  void Paint(gfx::Canvas& canvas, int width, int height) override;
  Engine* engine_;
};

class ImWindow : public DocWindow {
 public:
  ImWindow(Engine* engine, std::string name, IncomingOptions options)
      : DocWindow(engine), name_(std::move(name)), options_(options) {}
  void Build();  // its children, after the window exists

  const std::string& Name() const { return name_; }
  void Incoming(const std::string& text);
  void Outgoing(const std::string& text);  // the user's words, as the view shows them
  void MarkRead();
  std::string ViewText() const { return view_ ? view_->Plain() : std::string(); }
  void ShowImagePane();
  RichText* Input() const { return input_.get(); }
  void PressSend();
  void SetAway(bool away);

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;

 private:
  // Places the controls for the window's client size, as the client does on every resize.
  void Arrange();
  void UpdateCaption();
  void Accept();
  void Respond();

  std::string name_;
  IncomingOptions options_;
  bool everIncoming_ = false;
  bool unread_ = false;
  bool waitingAccept_ = false;
  bool waitingRespond_ = false;
  std::vector<std::string> withheld_;  // messages held back until accepted
  std::vector<std::shared_ptr<Label>> statics_;
  std::shared_ptr<RichText> view_;
  std::shared_ptr<RichText> input_;
  std::vector<std::shared_ptr<Icon>> icons_;
  std::shared_ptr<Panel> imagePane_;
};

class SendImWindow : public DocWindow {
 public:
  SendImWindow(Engine* engine, std::string to) : DocWindow(engine), to_(std::move(to)) {}
  void Build();
  void PressSend();

 private:
  std::string to_;
  bool sending_ = false;
  platform::HWND addressee_ = 0;
  std::shared_ptr<RichText> message_;
};

class ChatRoomWindow : public DocWindow {
 public:
  ChatRoomWindow(Engine* engine, std::string room) : DocWindow(engine), room_(std::move(room)) {}
  void Build(const std::vector<std::string>& members);
  void Enter(const std::string& name);
  void Leave(const std::string& name);
  void Said(const std::string& name, const std::string& text);
  std::vector<std::string> Members() const {
    return list_ ? list_->Names() : std::vector<std::string>{};
  }
  const std::string& Room() const { return room_; }

 private:
  void SayTyped();
  std::string room_;
  std::shared_ptr<RichText> view_;
  std::shared_ptr<RichText> input_;
  std::shared_ptr<MemberList> list_;
};

class MainFrame : public Control {
 public:
  explicit MainFrame(Engine* engine) : engine_(engine) {}

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;

 private:
  Engine* engine_;
};

// The hidden window through which driver actions run in the client's process.
class DriverWindow : public Control {
 public:
  explicit DriverWindow(Engine* engine) : engine_(engine) {}
  void Later(platform::UINT ms, std::function<void()> action) { After(ms, std::move(action)); }

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;

 private:
  Engine* engine_;
};

class Engine {
 public:
  explicit Engine(ClientOptions options);
  ~Engine();

  bool Start();
  void Post(std::function<void()> action);  // runs in the client's process after the delay
  void RunPosted(uint32_t job);             // the driver window got a posted action

  // ---- Behaviour ----
  void SignOn(const std::string& name);
  void SignOff();
  void Receive(const std::string& from, const std::string& text, const IncomingOptions& options);
  void RunKeyword(const std::string& keyword);
  void MenuCommand(platform::UINT id);
  void CloseClient();
  void OpenUntitled();
  void OpenSendIm(const std::string& to);
  void OpenLocate(const std::string& name);
  void OpenChat(const std::string& room, const std::vector<std::string>& members);
  // An IM from the user left through an IM window or the Send-IM window.
  void RecordSent(const std::string& to, const std::string& text);
  // The conversation window for a name, made when missing (" IM To: name").
  std::shared_ptr<ImWindow> Conversation(const std::string& name, bool create);
  void ShowError(const std::string& text);
  // Applies "$IM_OFF"/"$IM_ON" [name]; false when the address is no such command. Gives the
  // correspondent ("$im_off"/"$im_on") and the text of the client's answer.
  bool BlockCommand(const std::string& address, std::string& answerFrom, std::string& answerText);
  bool Reachable(const std::string& name) const;
  bool Blocked(const std::string& name) const;
  void RecordChat(const std::string& room, const std::string& text);

  // Creates a document window ("AOL Child") under the MDI client, on top.
  platform::HWND NewDocument(const std::shared_ptr<Control>& doc, const std::string& caption,
                             int width, int height);
  template <class T, class... Args>
  std::shared_ptr<T> Child(platform::HWND parent, const std::string& className,
                           const std::string& text, platform::DWORD style, int x, int y, int w,
                           int h, Args&&... args) {
    auto c = std::make_shared<T>(std::forward<Args>(args)...);
    c->SetFace(Face());
    if (Control::Create(registry_, c, 0, className, text, platform::WS_CHILD | style, x, y, w, h,
                        parent) == 0) {
      return nullptr;
    }
    return c;
  }
  std::shared_ptr<Registry> registry() const { return registry_; }
  bool Aol7() const { return options.layout == Layout::Aol7; }
  // The face colour of the client's windows and controls: AOL 7 has its own.
  gfx::Color Face() const;

  // ---- State the driver reads ----
  ClientOptions options;
  std::string screenName;
  platform::HWND main = 0, mdi = 0, toolbar = 0, toolbarInner = 0, keywordEdit = 0;
  platform::HWND welcome = 0, channels = 0;
  std::vector<platform::HWND> errorBoxes;
  std::vector<std::weak_ptr<ImWindow>> ims;
  std::vector<std::weak_ptr<SendImWindow>> sendIms;
  std::weak_ptr<ChatRoomWindow> room;
  std::vector<SentIM> sent;
  std::vector<ReceivedIM> received;
  std::vector<ChatLine> chat;
  std::vector<std::string> keywords;
  bool blockAll = false;
  std::vector<std::string> blockedNames;
  std::vector<std::string> unreachable;
  // The captions of the document windows under the MDI client when the client last closed.
  std::vector<std::string> documentsAtClose;

 private:
  void BuildToolbar(int width, int height);
  void BuildMenus();
  std::shared_ptr<Registry> registry_ = std::make_shared<Registry>();
  uint32_t NextJob(std::function<void()> action);
  std::shared_ptr<DriverWindow> driver_;
  std::map<uint32_t, std::function<void()>> jobs_;
  uint32_t nextJob_ = 1;
  int cascade_ = 0;
};

// Text helpers shared by the client's windows.
std::string Trim(const std::string& s);
bool StartsWithNoCase(const std::string& s, const std::string& prefix);
// A conversation line: the name in bold colour, ": ", then the message's HTML.
StyledText ConversationLine(const std::string& name, const std::string& html, bool self);

}  // namespace clientsim
