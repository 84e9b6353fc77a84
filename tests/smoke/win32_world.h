// The two-process scenario's world on the real desktop: StandInClient.exe and Pallion.exe,
// found beside the test's executable, run as processes of their own; the program folder is a
// fresh "smoke-program" folder there. A picture of the screen is asked for with a file
// NAME.shot in the same folder, which whoever runs the scenario answers with NAME.png (the Wine
// lane takes it from the X display); unanswered, the request runs out and the scenario says so.
#pragma once

#include <deque>
#include <system_error>

#include "platform/win32/backend.h"
#include "platform/win32/child_process.h"
#include "smoke/smoke_world.h"

namespace smoke {

class Win32World : public World {
 public:
  Win32World() : here_(platform::win32::ExecutableFolder()) {
    platform::Install(&system_);
    std::error_code ignored;
    std::filesystem::remove_all(ProgramFolder(), ignored);
    PrepareProgramFolder(ProgramFolder());
  }
  ~Win32World() override {
    // Whatever still runs after a failed step is ended, so that no process outlives the test.
    client_.Kill();
    copies_.clear();
    platform::Install(nullptr);
  }

  bool StartClient() override { return client_.Start(Quoted(here_ / "StandInClient.exe")); }
  bool ClientEnded() override { return client_.ExitCode().has_value(); }

  int StartProgram() override {
    platform::win32::ChildProcess& copy = copies_.emplace_back();
    const std::string line = Quoted(here_ / "Pallion.exe") + " --folder " + Quoted(ProgramFolder());
    return copy.Start(line) ? static_cast<int>(copies_.size()) - 1 : -1;
  }
  std::optional<int> ProgramExit(int copy) override {
    const auto code = copies_.at(static_cast<size_t>(copy)).ExitCode();
    if (!code) return std::nullopt;
    return static_cast<int>(*code);
  }
  std::filesystem::path ProgramFolder() const override { return here_ / "smoke-program"; }

  void RequestShot(const std::string& name) override {
    std::error_code ignored;
    std::filesystem::remove(here_ / (name + ".png"), ignored);
    std::ofstream(here_ / (name + ".shot")) << name << "\n";
  }
  bool ShotTaken(const std::string& name) override {
    // The picture is whole once the request has been taken away.
    return std::filesystem::exists(here_ / (name + ".png")) &&
           !std::filesystem::exists(here_ / (name + ".shot"));
  }

  bool ChooseFromPopup(platform::HWND button, const std::string&, int downs) override {
    using namespace platform;
    PostClick(button);
    HWND menu = 0;
    if (!Within(5000, [&] {
          menu = FindWindowEx(0, 0, "#32768", nullptr);
          return menu != 0 && IsWindowVisible(menu);
        })) {
      return false;
    }
    // The menu's own loop takes the keys posted to its thread (repeat count 1, the keys' scan
    // codes, Down an extended key).
    for (int i = 0; i < downs; ++i)
      PostMessage(menu, WM_KEYDOWN, VK_DOWN, 1 | (0x50 << 16) | (1 << 24));
    PostMessage(menu, WM_KEYDOWN, VK_RETURN, 1 | (0x1C << 16));
    return Within(5000, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
  }

 private:
  static std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
  }
  // Handles messages until `done` holds, at most `milliseconds`.
  template <class Done>
  static bool Within(uint32_t milliseconds, Done done) {
    const uint32_t start = platform::GetTickCount();
    while (!done()) {
      if (platform::GetTickCount() - start > milliseconds) return false;
      platform::WaitEvents(20);
    }
    return true;
  }

  platform::win32::Win32System system_;
  std::filesystem::path here_;
  platform::win32::ChildProcess client_;
  std::deque<platform::win32::ChildProcess> copies_;
};

}  // namespace smoke
