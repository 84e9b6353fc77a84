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

std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ")";
}

Rect ScreenRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, r);
  return {r.left, r.top, r.Width(), r.Height()};
}

Rect RectIn(HWND hwnd, HWND area) {
  const Rect r = ScreenRect(hwnd);
  POINT p{r.x, r.y};
  ScreenToClient(area != 0 ? area : GetParent(hwnd), p);
  return {p.x, p.y, r.w, r.h};
}

void ForgetProgramMemory() {
  host::IsAOL7 = false;
  host::SetIMArea(0);
  imlog::ForgetLoggedIMs();
}

std::string EnterDesktop(sim::Desktop& desktop, const std::string& tag) {
  static std::atomic<int> counter{0};
  Install(&desktop);
  const auto path =
      std::filesystem::temp_directory_path() /
      ("pallion-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path / "IM Logs");
  files::SetProgramFolder(path.string());
  ForgetProgramMemory();
  return path.string();
}

void LeaveDesktop(const std::string& folder) {
  host::IsAOL7 = false;
  host::SetIMArea(0);
  Install(nullptr);
  std::error_code ec;
  if (!folder.empty()) std::filesystem::remove_all(folder, ec);
}

World::World(WorldOptions options)
    : attach_(options.allParts ? startup::PartsAttacher(startup::AttachAllParts) : options.attach) {
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
  started.reset();
  main = nullptr;
  client.reset();
  LeaveDesktop(folder);
}

bool World::StartProgram() {
  {
    sim::Desktop::ProcessScope scope(desktop, program);
    started = std::make_unique<startup::Program>(attach_);
    if (started->Start() != startup::StartResult::Running) return false;
  }
  main = started->Main();
  container = host::FindPallionChild();
  desktop.RunFor(50);
  return container != 0;
}

void World::KillProgram() {
  desktop.KillProcess(program);
  {
    sim::Desktop::ProcessScope scope(desktop, program);
    started.reset();
  }
  main = nullptr;
  container = 0;
  ForgetProgramMemory();
  // The test goes on from the client's side, where the loop still runs.
  desktop.SetCurrentProcess(aol);
}

bool World::RestartProgram() {
  if (started) return false;
  ForgetProgramMemory();
  program = desktop.CreateProcess("Pallion");
  return StartProgram();
}

bool World::WaitAdopted(const std::string& name, uint64_t timeoutMs) {
  return desktop.RunUntil(
      [&] {
        const HWND im = client->IMWindow(name);
        return im != 0 && GetParent(im) == main->IMHolder();
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

void World::TypeIntoIM(HWND im, const std::string& text) {
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    SetFocus(host::FindIMInputOf(im));
  }
  desktop.TypeText(text);
  desktop.RunFor(200);
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
