// The window tree: sibling order, finding windows, parents and re-parenting.
#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

TEST_F(Contract, NewChildrenGoToTheBottomSoSiblingsReadInCreationOrder) {
  HWND parent = MakeWindow(0, "parent", WS_POPUP);
  HWND a = MakeWindow(parent, "a");
  HWND b = MakeWindow(parent, "b", WS_VISIBLE);
  HWND c = MakeWindow(parent, "c");
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), 0u);
  EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
}

TEST_F(Contract, FindWindowExWalksDirectChildrenFromTheTopWithoutCaseAndFindsHiddenOnes) {
  HWND parent = MakeWindow(0, "parent", WS_POPUP);
  HWND first = MakeWindow(parent, "One");
  HWND second = MakeWindow(parent, "Two");
  HWND grandchild = MakeWindow(second, "One");
  EXPECT_EQ(FindWindowEx(parent, 0, "contractwindow", nullptr), first);
  EXPECT_EQ(FindWindowEx(parent, first, "CONTRACTWINDOW", nullptr), second);
  EXPECT_EQ(FindWindowEx(parent, second, kClass, nullptr), 0u);
  EXPECT_EQ(FindWindowEx(parent, 0, nullptr, "Two"), second);
  EXPECT_EQ(FindWindowEx(parent, first, nullptr, "One"), 0u) << "direct children only";
  EXPECT_EQ(FindWindowEx(parent, 0, nullptr, "Tw"), 0u) << "whole titles, not prefixes";
  EXPECT_EQ(FindWindowEx(parent, 0, "NoSuchClass", nullptr), 0u);
  EXPECT_EQ(FindWindowEx(second, 0, nullptr, "One"), grandchild);
}

TEST_F(Contract, FindWindowFindsATopLevelByClassAndTitle) {
  HWND top = MakeWindow(0, "Contract top-level find", WS_POPUP);
  EXPECT_EQ(FindWindow(kClass, "Contract top-level find"), top);
  EXPECT_EQ(FindWindow(nullptr, "Contract top-level find"), top);
}

TEST_F(Contract, EnumChildWindowsVisitsDescendantsDepthFirstInSiblingOrder) {
  HWND parent = MakeWindow(0, "parent", WS_POPUP);
  HWND a = MakeWindow(parent, "a");
  HWND a1 = MakeWindow(a, "a1");
  HWND b = MakeWindow(parent, "b");
  std::vector<HWND> seen;
  EnumChildWindows(parent, [&](HWND h) {
    seen.push_back(h);
    return true;
  });
  EXPECT_EQ(seen, (std::vector<HWND>{a, a1, b}));
}

TEST_F(Contract, ParentOwnerAndAncestor) {
  HWND top = MakeWindow(0, "top", WS_POPUP);
  HWND child = MakeWindow(top, "child");
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetParent(top), 0u);
  EXPECT_EQ(GetAncestor(child, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
}

TEST_F(Contract, SetParentPutsTheChildOnTopKeepsItsRelativePlaceAndReturnsTheOldParent) {
  HWND first = MakeWindow(0, "first", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200);
  HWND second = MakeWindow(0, "second", WS_POPUP | WS_VISIBLE, 400, 300, 300, 200);
  HWND older = MakeWindow(second, "older");
  HWND moved = MakeWindow(first, "moved", 0, 20, 30, 50, 40);
  EXPECT_EQ(SetParent(moved, second), first);
  EXPECT_EQ(GetParent(moved), second);
  EXPECT_EQ(GetWindow(second, GW_CHILD), moved);
  EXPECT_EQ(GetWindow(moved, GW_HWNDNEXT), older);
  RECT r;
  ASSERT_TRUE(GetWindowRect(moved, r));
  EXPECT_EQ(r, (RECT{420, 330, 470, 370}));
  EXPECT_EQ(SetParent(second, moved), 0u) << "a window cannot go under its own descendant";
}

TEST_F(Contract, ReparentingAVisibleChildHidesActivatesMovesAndShowsIt) {
  HWND first = MakeWindow(0, "first", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
  HWND second = MakeWindow(0, "second", WS_POPUP | WS_VISIBLE, 300, 0, 300, 200);
  HWND moved = MakeWindow(first, "moved", WS_VISIBLE, 5, 5, 50, 40);
  const size_t mark = log.size();
  SetParent(moved, second);
  auto seen = Only(
      {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CHILDACTIVATE, WM_MOVE}, mark);
  // Hidden, moved into the new parent and activated as a child there, shown again.
  std::vector<std::pair<HWND, UINT>> expected = {{moved, WM_SHOWWINDOW},
                                                 {moved, WM_WINDOWPOSCHANGING},
                                                 {moved, WM_WINDOWPOSCHANGED},
                                                 {moved, WM_WINDOWPOSCHANGING},
                                                 {moved, WM_CHILDACTIVATE},
                                                 {moved, WM_WINDOWPOSCHANGED},
                                                 {moved, WM_MOVE},
                                                 {moved, WM_SHOWWINDOW},
                                                 {moved, WM_WINDOWPOSCHANGING},
                                                 {moved, WM_WINDOWPOSCHANGED}};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(IsWindowVisible(moved));
}

TEST_F(Contract, ReparentingAHiddenChildMovesAndActivatesItWithoutShowingIt) {
  HWND first = MakeWindow(0, "first", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
  HWND second = MakeWindow(0, "second", WS_POPUP | WS_VISIBLE, 300, 0, 300, 200);
  HWND moved = MakeWindow(first, "moved", 0, 5, 5, 50, 40);
  const size_t mark = log.size();
  SetParent(moved, second);
  auto seen = Only(
      {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CHILDACTIVATE, WM_MOVE}, mark);
  std::vector<std::pair<HWND, UINT>> expected = {{moved, WM_WINDOWPOSCHANGING},
                                                 {moved, WM_CHILDACTIVATE},
                                                 {moved, WM_WINDOWPOSCHANGED},
                                                 {moved, WM_MOVE}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(IsWindowVisible(moved));
}

TEST_F(Contract, SetWindowPosOnAChildActivatesItAsAChildBeforeItsPositionChanged) {
  HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
  HWND child = MakeWindow(top, "", WS_VISIBLE, 5, 5, 50, 40);
  const size_t mark = log.size();
  ASSERT_TRUE(SetWindowPos(child, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE));
  std::vector<std::pair<HWND, UINT>> expected = {{child, WM_WINDOWPOSCHANGING},
                                                 {child, WM_CHILDACTIVATE},
                                                 {child, WM_WINDOWPOSCHANGED},
                                                 {child, WM_MOVE}};
  EXPECT_EQ(Only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_CHILDACTIVATE, WM_MOVE}, mark),
            expected);
}

}  // namespace
}  // namespace contract
