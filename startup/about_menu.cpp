#include "startup/about_menu.h"

#include "container/main_window.h"
#include "startup/host_menu.h"
#include "widgets/about.h"

namespace startup {

namespace {
constexpr platform::UINT kCheckForUpdates = 1004;
}  // namespace

void AttachAbout(container::MainWindow& main) {
  container::MainWindow* m = &main;
  const auto show = [m] { widgets::ShowAbout([m] { HostMenuCommand(*m, kCheckForUpdates); }); };
  HostMenuTargets().showAbout = show;
  main.mnuAOlAbout->OnClick = show;
}

}  // namespace startup
