// The contract executable under Windows: the suite, or (with --partner) the second process of
// the cross-process cases, which plays its part and then runs until it is ended (at most a
// minute, so that a failed run leaves nothing behind).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "contract/partner.h"
#include "platform/win32.h"
#include "platform/win32/backend.h"

namespace {

int RunPartner(int argc, char** argv) {
  using namespace platform;
  win32::Win32System system;
  Install(&system);
  const std::string role = argv[2];
  const std::string tag = argc > 3 ? argv[3] : "";
  HWND area = 0;
  HANDLE guard = 0;
  if (role == "client") {
    contract::partner::MakeClient(tag);
  } else if (role == "interceptor" && argc > 6) {
    guard = contract::partner::Adopt(tag, static_cast<HWND>(std::stoul(argv[4])),
                                     static_cast<HWND>(std::stoul(argv[5])),
                                     static_cast<HWND>(std::stoul(argv[6])));
    area = FindWindowEx(0, 0, contract::partner::kClass,
                        contract::partner::GuardedCaption(tag).c_str());
  } else {
    return 2;
  }
  const uint32_t start = GetTickCount();
  while (!ProcessEnded() && GetTickCount() - start < 60000) {
    WaitEvents(50);
    const std::string order = area != 0 ? GetWindowText(area) : std::string();
    if (order == contract::partner::kReleaseCaption) Unhook(guard);
    if (order == contract::partner::kExitCaption || order == contract::partner::kReleaseCaption)
      ExitProcess();
    if (order == contract::partner::kCrashCaption) {
      // A fault nobody handles, as a failing program has one.
      volatile uintptr_t nowhere = 0;
      *reinterpret_cast<volatile int*>(nowhere) = 1;
    }
  }
  Install(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--partner") return RunPartner(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
