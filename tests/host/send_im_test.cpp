#include <gtest/gtest.h>

#include "host/window_access.h"
#include "platform/win32.h"
#include "support/host_fixture.h"

namespace {

using namespace platform;

// The client's side of sending an IM: the keyword "aol://9293:" opens a Send-IM window after a
// short delay; pressing its Send button delivers, refuses (error box) or does nothing.
class SendIMTest : public hostfix::HostTest {
 protected:
  enum class Mode { Deliver, Refuse, Ignore, NoWindow, SlowControls };

  SendIMTest() {
    host::IsAOL7 = false;
    client.onKeyword = [this](const std::string& keyword) {
      keywords.push_back(keyword);
      const std::string prefix = "aol://9293:";
      if (keyword.rfind(prefix, 0) != 0 || mode == Mode::NoWindow) return;
      recipient = keyword.substr(prefix.size());
      desktop.Schedule(
          300, [this] { OpenSendWindow(); }, client.process);
    };
  }

  void OpenSendWindow() {
    sendWindow = client.AddDocument("Send Instant Message");
    input = client.Add(sendWindow, "RICHCNTL");
    int icons = mode == Mode::SlowControls ? 3 : 9;
    client.AddMany(sendWindow, "_AOL_Icon", icons);
    if (mode == Mode::SlowControls) {
      // The rest of the buttons arrive later; pressing an early one would be wrong.
      desktop.Schedule(2000, [this] {
        client.AddMany(sendWindow, "_AOL_Icon", 6);
        AddSendButton();
      });
      return;
    }
    AddSendButton();
  }

  void AddSendButton() {
    sendButton = client.Add(sendWindow, "_AOL_Icon", "",
                            client.Recorder([this](HWND h, UINT m, WPARAM w, LPARAM l) {
                              if (m == WM_KEYUP && w == VK_SPACE) OnSend();
                              return DefWindowProc(h, m, w, l);
                            }));
  }

  void OnSend() {
    delivered = desktop.GetWindowText(input);
    pressedAt = desktop.NowMs();
    if (mode == Mode::Deliver || mode == Mode::SlowControls) {
      HWND window = sendWindow;
      desktop.Schedule(500, [window] { DestroyWindow(window); });
    } else if (mode == Mode::Refuse) {
      desktop.Schedule(400, [this] {
        errorBox = desktop.CreateWindowEx(0, "#32770", "America Online", WS_POPUP | WS_VISIBLE, 100,
                                          100, 200, 100, 0, 0, {});
        okButton = desktop.CreateWindowEx(
            0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, errorBox, 0,
            client.Recorder([this](HWND h, UINT m, WPARAM w, LPARAM l) {
              if (m == WM_KEYUP && w == VK_SPACE) DestroyWindow(errorBox);
              return DefWindowProc(h, m, w, l);
            }));
      });
    }
  }

  Mode mode = Mode::Deliver;
  std::vector<std::string> keywords;
  std::string recipient, delivered;
  HWND sendWindow = 0, input = 0, sendButton = 0, errorBox = 0, okButton = 0;
  uint64_t pressedAt = 0;
};

TEST_F(SendIMTest, WaitsForTheWholeSendWindowBeforePressing) {
  mode = Mode::SlowControls;
  EXPECT_EQ(host::SendIM("Bob", "Hi"), host::SendIMResult::Sent);
  EXPECT_EQ(delivered, "Hi");
  EXPECT_GE(pressedAt, 2300u);
}

TEST_F(SendIMTest, RefusedDismissesTheErrorBoxAndClosesTheWindow) {
  mode = Mode::Refuse;
  EXPECT_EQ(host::SendIM("Carl", "Are you there?"), host::SendIMResult::Refused);
  ASSERT_NE(errorBox, 0u);
  EXPECT_TRUE(IsWindow(sendWindow)) << "the close is posted, not sent";
  desktop.RunFor(100);
  EXPECT_FALSE(IsWindow(errorBox));
  EXPECT_FALSE(IsWindow(sendWindow));
  std::vector<hostfix::Message> keys;
  for (const auto& m : client.MessagesOf(okButton)) {
    if (m.msg == WM_KEYDOWN || m.msg == WM_KEYUP) keys.push_back(m);
  }
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].msg, WM_KEYDOWN);
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_SPACE));
  EXPECT_EQ(keys[1].msg, WM_KEYUP);
}

// A box of the client open before Send (the person's own, about something else) neither makes the
// IM "refused" nor is dismissed; a refusal that comes after Send still is.
TEST_F(SendIMTest, OnlyAnErrorBoxThatAppearsAfterSendCounts) {
  HWND earlier = desktop.CreateWindowEx(0, "#32770", "America Online", WS_POPUP | WS_VISIBLE, 50,
                                        50, 200, 100, 0, 0, {});
  HWND earlierOK = desktop.CreateWindowEx(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20,
                                          earlier, 0, client.Recorder());
  auto pressed = [&] {
    for (const auto& m : client.MessagesOf(earlierOK)) {
      if (m.msg == WM_KEYDOWN || m.msg == WM_KEYUP) return true;
    }
    return false;
  };
  EXPECT_EQ(host::SendIM("Bob", "Hello"), host::SendIMResult::Sent);
  EXPECT_EQ(delivered, "Hello");
  desktop.RunFor(100);
  EXPECT_TRUE(IsWindow(earlier));
  EXPECT_FALSE(pressed());

  mode = Mode::Refuse;
  EXPECT_EQ(host::SendIM("Carl", "Hi"), host::SendIMResult::Refused);
  desktop.RunFor(100);
  EXPECT_FALSE(IsWindow(errorBox));
  EXPECT_TRUE(IsWindow(earlier));
  EXPECT_FALSE(pressed());
}

TEST_F(SendIMTest, NoOutcomeTimesOutAfterThirtySecondsAndClosesTheWindow) {
  mode = Mode::Ignore;
  EXPECT_EQ(host::SendIM("Dan", "Hello?"), host::SendIMResult::TimedOut);
  EXPECT_GE(desktop.NowMs(), pressedAt + host::kSendIMTimeoutMs);
  EXPECT_LT(desktop.NowMs(), pressedAt + host::kSendIMTimeoutMs + 1000);
  desktop.RunFor(10);
  EXPECT_FALSE(IsWindow(sendWindow));
}

TEST_F(SendIMTest, NoSendWindowGivesUpAfterThirtySeconds) {
  mode = Mode::NoWindow;
  uint64_t start = desktop.NowMs();
  EXPECT_EQ(host::SendIM("Eve", "Hi"), host::SendIMResult::WindowMissing);
  EXPECT_GE(desktop.NowMs(), start + host::kSendIMTimeoutMs);
  EXPECT_LT(desktop.NowMs(), start + host::kSendIMTimeoutMs + 1000);
}

TEST_F(SendIMTest, EventsRunWhileWaiting) {
  int ticks = 0;
  SetTimer(0, 0, 100, [&](HWND, UINT) { ++ticks; });
  EXPECT_EQ(host::SendIM("Bob", "Hi"), host::SendIMResult::Sent);
  EXPECT_GE(ticks, 5);
}

}  // namespace
