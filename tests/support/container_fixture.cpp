#include "support/container_fixture.h"

#include <atomic>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace containerfix {

using namespace platform;

std::string EnterDesktop(sim::Desktop& desktop, const std::string& tag) {
  static std::atomic<int> counter{0};
  Install(&desktop);
  const auto path =
      std::filesystem::temp_directory_path() /
      ("pallion-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path / "IM Logs");
  files::SetProgramFolder(path.string());
  host::IsAOL7 = false;
  host::SetIMArea(0);
  imlog::ForgetLoggedIMs();
  return path.string();
}

void LeaveDesktop(const std::string& folder) {
  host::IsAOL7 = false;
  host::SetIMArea(0);
  Install(nullptr);
  std::error_code ec;
  if (!folder.empty()) std::filesystem::remove_all(folder, ec);
}

World::World(WorldOptions options) {
  folder = EnterDesktop(desktop, "container");

  aol = desktop.CreateProcess("AOL");
  clientsim::ClientOptions clientOptions;
  clientOptions.layout = options.layout;
  clientOptions.toolbarHeight = options.toolbarHeight;
  clientOptions.captions = options.captions;
  client = std::make_unique<clientsim::Client>(clientOptions);
  client->Start();
  for (int i = 0; i < options.extraClientMenus; ++i) {
    const HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 9000 + i, "&Something");
    AppendMenu(GetMenu(client->MainWindow()), MF_POPUP, popup, "E&xtra " + std::to_string(i));
  }
  program = desktop.CreateProcess("Pallion");
  client->SignOn("Alice");
  desktop.RunFor(1000);
  for (const auto& [key, value] : options.settings) settings::WriteSetting(key, value);
  if (options.startProgram) StartProgram();
}

World::~World() {
  main.reset();
  client.reset();
  LeaveDesktop(folder);
}

bool World::StartProgram() {
  host::RunAOLMenu(0, 0);
  desktop.RunUntil([] { return host::FindChildByCaption("Untitled") != 0; }, 2000);
  container = host::FindChildByCaption("Untitled");
  if (container == 0) return false;
  host::HideWin(container);
  MoveWindow(container, 250, 75, 350, 316, true);
  host::SetText(container, container::kContainerCaption);
  for (int i = 0; i < 50; ++i) {
    const HWND icon = FindWindowEx(container, 0, "_aol_icon", nullptr);
    if (icon == 0) break;
    SendMessage(icon, WM_CLOSE, 0, 0);
    desktop.RunPending();
  }
  for (const char* cls : {"_AOL_FontCombo", "_AOL_Combobox", "RICHCNTL", "_AOL_Static"}) {
    SendMessage(FindWindowEx(container, 0, cls, nullptr), WM_CLOSE, 0, 0);
  }
  desktop.RunPending();

  main = std::make_unique<container::MainWindow>();
  main->Load();
  main->Picture1.SetParent(container);
  main->TabStrip1.SetParent(main->Picture1.hwnd());
  main->picIM.SetParent(main->Picture1.hwnd());

  const HWND aolWindow = host::FindAOL();
  AppendMenu(GetMenu(aolWindow), MF_POPUP, CreatePopupMenu(), container::kHostMenuCaption);
  DrawMenuBar(aolWindow);
  if (host::FindCurrentIM() != 0) host::ShowWin(container);
  desktop.RunFor(50);
  return true;
}

bool World::WaitAdopted(const std::string& name, uint64_t timeoutMs) {
  return desktop.RunUntil(
      [&] {
        const HWND im = client->IMWindow(name);
        return im != 0 && GetParent(im) == main->picIM.hwnd();
      },
      timeoutMs);
}

HWND World::ReceiveAndAdopt(const std::string& from, const std::string& text) {
  client->ReceiveIM(from, text);
  desktop.RunUntil([&] { return client->IMWindow(from) != 0; }, 2000);
  if (!WaitAdopted(from, 500)) return 0;
  desktop.RunFor(2000);
  return client->IMWindow(from);
}

std::string World::ProgramPath(const std::string& relative) const {
  return files::HostPath(files::ProgramFolder() + relative).string();
}

void World::WriteProgramFile(const std::string& relative, const std::string& bytes) {
  const std::filesystem::path path = ProgramPath(relative);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace containerfix
