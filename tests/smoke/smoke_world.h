// What the two-process scenario needs from the desktop it runs on, and nothing more: starting
// the stand-in client and copies of Pallion as processes of their own, their ends, the program
// folder, pictures of the screen and pop-up menus. Everything else the scenario does through the
// seam's free functions and the client's control channel, the same on both desktops.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/win32.h"

namespace smoke {

class World {
 public:
  virtual ~World() = default;

  // Starts the stand-in client's process (its control channel opens when it is up).
  virtual bool StartClient() = 0;
  // The client's process has ended.
  virtual bool ClientEnded() = 0;
  // Starts a copy of Pallion beside whatever runs; its number for ProgramExit, -1 on failure.
  virtual int StartProgram() = 0;
  // The copy's exit code once it has ended; nothing while it runs.
  virtual std::optional<int> ProgramExit(int copy) = 0;
  // The program folder every copy uses (host path).
  virtual std::filesystem::path ProgramFolder() const = 0;
  // Asks for a picture of the whole screen, written as NAME.png; ShotTaken tells when it is.
  virtual void RequestShot(const std::string& name) = 0;
  virtual bool ShotTaken(const std::string& name) = 0;
  // The person clicks `button`, which opens a pop-up menu of the program, and chooses the item
  // `text`, which `downs` presses of the Down key reach from the menu's top. False when no menu
  // opened or it did not close.
  virtual bool ChooseFromPopup(platform::HWND button, const std::string& text, int downs) = 0;
};

// A click of the left button on a window, posted as the system posts mouse input: the person's
// click never waits for what the window does with it.
inline void PostClick(platform::HWND hwnd) {
  using namespace platform;
  PostMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// Fills a program folder with what the scenario's Pallion reads: the logs' folder, logging on,
// an away message, and a web site that answers at once with a refusal.
inline void PrepareProgramFolder(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "IM Logs");
  std::filesystem::create_directories(folder / "Messages");
  std::ofstream(folder / "Pallion.ini", std::ios::binary)
      << "[General]\r\nLogIMs=1\r\nLastMessage=Away\r\nWebSite=127.0.0.1:9\r\n";
  std::ofstream(folder / "Messages" / "Away.Mes", std::ios::binary)
      << "Sorry {SN}, I am away from my desk.\r\n";
}

}  // namespace smoke
