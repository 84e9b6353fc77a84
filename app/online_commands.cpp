// The demo's web site: the files the program fetches (the published version, the urgent
// announcement) served on 127.0.0.1, and what the program's notification window says.
#include "app/demo_commands.h"
#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "online/live_update.h"
#include "platform/win32.h"

namespace app {

namespace {

// The path as the site serves it: always from its root.
std::string SitePath(const std::string& path) {
  return path.empty() || path[0] != '/' ? "/" + path : path;
}

bool WebPage(DemoRunner& demo, const Args& args, std::string& error) {
  const std::string text = Join(args, 1);
  if (text.empty()) {
    error = "usage: web-page PATH TEXT";
    return false;
  }
  const std::string path = SitePath(args[0]);
  demo.World().WebSite().Set(path, platform::sim::Body(text));
  demo.World().Say("the web site publishes " + path + ": \"" + U(text) + "\"");
  return true;
}

bool WebError(DemoRunner& demo, const Args& args, std::string& error) {
  int status = 0;
  if (!ParseInt(args[1], status) || status < 400 || status > 599) {
    error = "usage: web-error PATH STATUS (an HTTP error status, 400 to 599)";
    return false;
  }
  const std::string path = SitePath(args[0]);
  demo.World().WebSite().Set(path, platform::sim::Status(status));
  demo.World().Say("the web site answers " + path + " with the error " + std::to_string(status));
  return true;
}

constexpr CommandSpec kOnlineCommands[] = {
    {"web-page", "web-page PATH TEXT",
     "the web site publishes TEXT at PATH (/IMVersion.txt, /UrgentNews.txt); the first web "
     "command starts the site and points Pallion at it unless --site named another",
     2, WebPage},
    {"web-error", "web-error PATH STATUS", "the web site answers PATH with an HTTP error", 2,
     WebError},
};

}  // namespace

std::span<const CommandSpec> OnlineCommands() {
  return kOnlineCommands;
}

bool NoticeShows(DemoRunner&, const Args& args, std::string& why) {
  const online::LiveUpdateForm* form = online::CurrentLiveUpdate();
  if (form == nullptr || form->hwnd() == 0 || !platform::IsWindowVisible(form->hwnd())) {
    why = "Pallion's notification window is not shown";
    return false;
  }
  const std::string want = Join(args, 0);
  const std::string text = form->lblCaption.Caption() + "\n" + form->lblText.Caption();
  if (text.find(want) != std::string::npos) return true;
  why = "the notification window says \"" + U(text) + "\"";
  return false;
}

}  // namespace app
