#include "app/demo_helpers.h"

#include <cctype>

#include "app/demo_world.h"
#include "platform/ansi.h"
#include "platform/win32.h"
#include "ui/control.h"

namespace app {

using platform::HWND;

namespace {

// Every window of the process, parents before children, top first.
std::vector<HWND> WindowsOf(platform::DWORD process) {
  std::vector<HWND> found;
  auto owned = [process](HWND w) {
    platform::DWORD owner = 0;
    platform::GetWindowThreadProcessId(w, &owner);
    return owner == process;
  };
  for (HWND top = platform::GetWindow(platform::GetDesktopWindow(), platform::GW_CHILD); top != 0;
       top = platform::GetWindow(top, platform::GW_HWNDNEXT)) {
    if (owned(top)) found.push_back(top);
    platform::EnumChildWindows(top, [&](HWND child) {
      if (owned(child)) found.push_back(child);
      return true;
    });
  }
  return found;
}

}  // namespace

ui::Control* FindProgramControl(platform::DWORD process, const std::string& name, int index) {
  ui::Control* hidden = nullptr;
  for (HWND w : WindowsOf(process)) {
    ui::Control* c = ui::Control::FromHwnd(w);
    if (c == nullptr || Lower(c->Name()) != Lower(name)) continue;
    if (index >= 0 && c->Index() != index) continue;
    if (platform::IsWindowVisible(w)) return c;
    if (hidden == nullptr) hidden = c;
  }
  return hidden;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParseInt(const std::string& text, int& value) {
  try {
    size_t used = 0;
    value = std::stoi(text, &used);
    return used == text.size();
  } catch (...) {
    return false;
  }
}

std::string Join(const std::vector<std::string>& words, size_t from) {
  std::string text;
  for (size_t i = from; i < words.size(); ++i) text += (i > from ? " " : "") + words[i];
  return text;
}

HWND FindAnywhere(const std::string& className, const std::string& caption) {
  HWND found = 0;
  auto matches = [&](HWND hwnd) {
    return Lower(platform::GetClassName(hwnd)) == Lower(className) &&
           platform::GetWindowText(hwnd) == caption;
  };
  for (HWND top = platform::GetWindow(platform::GetDesktopWindow(), platform::GW_CHILD);
       top != 0 && found == 0; top = platform::GetWindow(top, platform::GW_HWNDNEXT)) {
    if (matches(top)) {
      found = top;
      break;
    }
    platform::EnumChildWindows(top, [&](HWND child) {
      if (matches(child)) found = child;
      return found == 0;
    });
  }
  return found;
}

bool IsUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0 || lead == 0xC0 || lead == 0xC1 || lead > 0xF4) return false;
    if (i + static_cast<size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string U(const std::string& ansi) {
  return platform::AnsiToUtf8(ansi);
}

container::MainWindow* RunningMain(DemoWorld& world, std::string& error) {
  container::MainWindow* main = world.Main();
  if (main == nullptr) error = "Pallion is not running";
  return main;
}

bool NeedClient(DemoWorld& world, std::string& error) {
  if (world.ClientRunning()) return true;
  error = "the client has been closed; this command needs it (start the demo again)";
  return false;
}

std::string MenuText(const std::string& caption) {
  std::string text;
  for (char c : caption) {
    if (c != '&') text += c;
  }
  return Lower(text);
}

}  // namespace app
