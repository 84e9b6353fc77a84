// What the person sees of an adopted IM, in each look, at the size the container first has and at
// its smallest: only the conversation view, the input box and the program's own bars inside the
// IM area, and the fade bar and the command buttons whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

// Style ("1" tabs, "2" list box), Graphical ("1" no, "2" yes), client, smallest size.
using LookCase = std::tuple<std::string, std::string, Layout, bool>;

std::string CaseName(const LookCase& c) {
  return std::string(std::get<0>(c) == "1" ? "Tabs" : "ListBox") +
         (std::get<1>(c) == "2" ? "Graphical" : "Plain") +
         (std::get<2>(c) == Layout::Aol7 ? "Aol7" : "Aol6") +
         (std::get<3>(c) ? "Smallest" : "FirstRun");
}

bool Within(HWND hwnd, HWND ancestor) {
  for (HWND w = hwnd; w != 0; w = GetParent(w)) {
    if (w == ancestor) return true;
  }
  return false;
}

RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, r);
  return r;
}

class Look : public ::testing::TestWithParam<LookCase> {
 protected:
  Look() : world(Options()) {}
  static containerfix::WorldOptions Options() {
    auto options = containerfix::OptionsFor(std::get<2>(GetParam()));
    options.settings = {{"Style", std::get<0>(GetParam())}, {"Graphical", std::get<1>(GetParam())}};
    return options;
  }
  bool Smallest() const { return std::get<3>(GetParam()); }
  container::MainWindow& main() { return *world.main; }

  // Bob's IM shown in a container of the case's size; a screenshot kept for people to look at.
  HWND ShowBob() {
    const HWND bob = world.ReceiveAndAdopt("Bob", "hello there");
    if (bob == 0) return 0;
    if (Smallest()) {
      // The person drags the container as small as it goes.
      const RECT r = ScreenRect(world.container);
      POINT p{r.left, r.top};
      ScreenToClient(GetParent(world.container), p);
      MoveWindow(world.container, p.x, p.y, 100, 100, true);
    }
    world.desktop.RunFor(600);
    const auto dir = std::filesystem::temp_directory_path() / "pallion-shots";
    std::filesystem::create_directories(dir);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->name());
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    world.desktop.SaveWindowShot(world.container, (dir / (name + ".png")).string());
    return bob;
  }

  // The points of the rectangle (screen) where something else than `hwnd` or its children is
  // on top, as "x,y class 'text'" lines (the first few).
  std::string Covered(HWND hwnd) {
    const RECT r = ScreenRect(hwnd);
    std::ostringstream out;
    int shown = 0;
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      for (int x = r.left + 1; x < r.right - 1; ++x) {
        const HWND at = WindowFromPoint(POINT{x, y});
        if (Within(at, hwnd) || shown++ >= 3) continue;
        out << x << "," << y << " " << GetClassName(at) << " '" << GetWindowText(at) << "'\n";
      }
    }
    return out.str();
  }

  World world;
};

INSTANTIATE_TEST_SUITE_P(Looks, Look,
                         ::testing::Combine(::testing::Values("1", "2"),
                                            ::testing::Values("1", "2"),
                                            ::testing::Values(Layout::Aol6, Layout::Aol7),
                                            ::testing::Bool()),
                         [](const auto& info) { return CaseName(info.param); });

TEST_P(Look, NothingOfTheClientShowsInTheIMArea) {
  const HWND bob = ShowBob();
  ASSERT_NE(bob, 0u);
  const HWND view = FindWindowEx(
      bob, 0, std::get<2>(GetParam()) == Layout::Aol7 ? "RICHCNTLREADONLY" : "RICHCNTL", nullptr);
  const HWND input = host::FindIMInput();
  ASSERT_NE(view, 0u);
  ASSERT_NE(input, 0u);
  RECT area;
  GetClientRect(main().picIM.hwnd(), area);
  POINT origin{0, 0};
  ClientToScreen(main().picIM.hwnd(), origin);
  gfx::Canvas screen = world.desktop.RenderScreen();
  // Every pixel of the IM area where one of the client's own controls of the IM window (its
  // labels, its buttons) is what the person sees.
  std::ostringstream pieces;
  int count = 0;
  for (HWND c = GetWindow(bob, GW_CHILD); c != 0; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == view || c == input || !IsWindowVisible(c)) continue;
    const RECT r = ScreenRect(c);
    for (int y = std::max<int>(r.top, origin.y);
         y < std::min<int>(r.bottom, origin.y + area.bottom); ++y) {
      for (int x = std::max<int>(r.left, origin.x);
           x < std::min<int>(r.right, origin.x + area.right); ++x) {
        if (!Within(WindowFromPoint(POINT{x, y}), c)) continue;
        if (count++ < 5) {
          pieces << x - origin.x << "," << y - origin.y << " " << GetClassName(c) << " '"
                 << GetWindowText(c) << "' colour " << std::hex << screen.GetPixel(x, y) << std::dec
                 << "\n";
        }
      }
    }
  }
  EXPECT_EQ(count, 0) << pieces.str();
}

// The smallest container cuts the fade bar by design; the first one does not.
class FirstRunLook : public Look {};

INSTANTIATE_TEST_SUITE_P(Looks, FirstRunLook,
                         ::testing::Combine(::testing::Values("1", "2"),
                                            ::testing::Values("1", "2"),
                                            ::testing::Values(Layout::Aol6, Layout::Aol7),
                                            ::testing::Values(false)),
                         [](const auto& info) { return CaseName(info.param); });

TEST_P(FirstRunLook, TheFadeBarAndTheCommandButtonsAreWhole) {
  ASSERT_NE(ShowBob(), 0u);
  for (widgets::AOButton* b : main().AOButtonMiddle) {
    EXPECT_TRUE(IsWindowVisible(b->hwnd())) << b->Caption();
    EXPECT_EQ(Covered(b->hwnd()), "") << b->Caption();
  }
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(Covered(main().cmdColor[i]->hwnd()), "") << i;
  for (widgets::AOLFButton* b :
       {&main().AOButtonSend, &main().AOButtonCloseIM, &main().AOButtonGetProfile,
        &main().AOButtonLocate, &main().AOButtonIMAnswer, &main().AOButtonOptions,
        &main().AOButtonMail, &main().AOButtonNotifyAOL}) {
    if (!b->Visible()) continue;
    EXPECT_EQ(Covered(b->hwnd()), "") << b->Caption();
  }
}

}  // namespace
