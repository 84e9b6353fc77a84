// Menus, the clipboard and global memory, process memory, private-profile files, the user's
// short-date picture.
#include <cstring>

#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

TEST_F(Contract, MenuItemsByPositionAndByCommand) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(file, MF_STRING, 101, "&Open"));
  ASSERT_TRUE(AppendMenu(file, MF_SEPARATOR, 0, ""));
  ASSERT_TRUE(AppendMenu(file, MF_STRING, 102, "E&xit"));
  ASSERT_TRUE(AppendMenu(bar, MF_POPUP, file, "&File"));
  HWND top = MakeWindow(0, "", WS_POPUP | WS_CAPTION);
  ASSERT_TRUE(SetMenu(top, bar));
  EXPECT_EQ(GetMenu(top), bar);
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetSubMenu(bar, 0), file);
  EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu) << "a pop-up item has no command";
  EXPECT_EQ(GetMenuItemID(file, 2), 102u);
  EXPECT_EQ(GetMenuItemID(file, 1), 0u);
  EXPECT_EQ(GetMenuString(file, 102, MF_BYCOMMAND), "E&xit");
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(CheckMenuItem(file, 101, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(file, 101, MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(file, 102, MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(GetMenuState(file, 102, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(file, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
  ASSERT_TRUE(ModifyMenu(file, 0, MF_BYPOSITION | MF_STRING, 103, "&Reopen"));
  EXPECT_EQ(GetMenuItemID(file, 0), 103u);
  EXPECT_TRUE(DrawMenuBar(top));
}

TEST_F(Contract, DeleteMenuDestroysTheSubmenuAndRemoveMenuKeepsIt) {
  HMENU bar = CreateMenu();
  HMENU kept = CreatePopupMenu();
  HMENU dropped = CreatePopupMenu();
  AppendMenu(kept, MF_STRING, 1, "one");
  AppendMenu(dropped, MF_STRING, 2, "two");
  AppendMenu(bar, MF_POPUP, kept, "Kept");
  AppendMenu(bar, MF_POPUP, dropped, "Dropped");
  ASSERT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(kept), 1);
  ASSERT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(bar), 0);
  EXPECT_EQ(GetMenuItemCount(dropped), -1) << "the deleted item's pop-up is gone";
  DestroyMenu(kept);
  DestroyMenu(bar);
}

TEST_F(Contract, ClipboardCarriesARegisteredFormatInGlobalMemory) {
  UINT format = RegisterClipboardFormat("Contract Format");
  ASSERT_GE(format, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("contract FORMAT"), format) << "names ignore case";
  HWND owner = MakeWindow(0, "", WS_POPUP);
  SetLastError(0);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  ASSERT_TRUE(OpenClipboard(owner));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
  ASSERT_NE(mem, 0u);
  EXPECT_EQ(GlobalSize(mem), 6u);
  std::memcpy(GlobalLock(mem), "hello", 6);
  GlobalUnlock(mem);
  EXPECT_EQ(SetClipboardData(format, mem), mem);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());

  ASSERT_TRUE(OpenClipboard(0));
  HGLOBAL got = GetClipboardData(format);
  ASSERT_NE(got, 0u);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), "hello");
  GlobalUnlock(got);
  EXPECT_EQ(GetClipboardData(RegisterClipboardFormat("Contract Other")), 0u);
  CloseClipboard();
}

TEST_F(Contract, GlobalMemoryLocksCountAndFreeingReturnsNull) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
  ASSERT_NE(mem, 0u);
  auto* p = static_cast<unsigned char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[15], 0);
  EXPECT_EQ(GlobalLock(mem), p);
  EXPECT_TRUE(GlobalUnlock(mem)) << "still locked once";
  SetLastError(0);
  EXPECT_FALSE(GlobalUnlock(mem));
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(GlobalFree(mem), 0u);
}

TEST_F(Contract, ProcessMemoryIsReadThroughAProcessHandleWithThirtyTwoBitAddresses) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  DWORD pid = 0;
  EXPECT_NE(GetWindowThreadProcessId(h, &pid), 0u);
  EXPECT_EQ(pid, GetCurrentProcessId());
  uint32_t address = AllocProcessMemory(64);
  ASSERT_NE(address, 0u);
  ASSERT_TRUE(WriteOwnProcessMemory(address, "room list", 10));
  HANDLE process = OpenProcess(PROCESS_VM_READ, false, pid);
  ASSERT_NE(process, 0u);
  char buffer[10] = {};
  size_t read = 0;
  ASSERT_TRUE(ReadProcessMemory(process, address, buffer, sizeof buffer, &read));
  EXPECT_EQ(read, sizeof buffer);
  EXPECT_STREQ(buffer, "room list");
  EXPECT_TRUE(ReadProcessMemory(process, address, buffer, 0, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_TRUE(CloseHandle(process));
}

TEST_F(Contract, UnreadableProcessMemoryFailsWithNothingRead) {
  HANDLE process = OpenProcess(PROCESS_VM_READ, false, GetCurrentProcessId());
  ASSERT_NE(process, 0u);
  char buffer[4];
  size_t read = 99;
  // The system says ERROR_PARTIAL_COPY here; Wine at times ERROR_NOACCESS, so the code is not
  // part of the contract.
  EXPECT_FALSE(ReadProcessMemory(process, 0x10, buffer, sizeof buffer, &read));
  EXPECT_EQ(read, 0u);
  CloseHandle(process);
}

TEST_F(Contract, TheShortDatePictureHasADayAMonthAndAYear) {
  const std::string picture = GetShortDateFormat();
  std::string fields;  // the picture without its 'quoted' text
  bool quoted = false;
  for (char c : picture) {
    if (c == '\'') {
      quoted = !quoted;
    } else if (!quoted) {
      fields += c;
    }
  }
  EXPECT_NE(fields.find('d'), std::string::npos) << picture;
  EXPECT_NE(fields.find('M'), std::string::npos) << picture;
  EXPECT_NE(fields.find('y'), std::string::npos) << picture;
}

}  // namespace
}  // namespace contract
