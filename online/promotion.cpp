#include "online/promotion.h"

#include <array>
#include <cstdio>
#include <vector>

#include "host/text.h"
#include "host/text_files.h"
#include "host/window_access.h"
#include "online/published_text.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace online {

using namespace platform;

namespace {

struct Rgb {
  int red, green, blue;
};

// `count` colours running evenly through the anchors, first and last included.
std::vector<Rgb> FadeSteps(const std::vector<Rgb>& anchors, size_t count) {
  std::vector<Rgb> steps;
  const size_t segments = anchors.size() - 1;
  for (size_t i = 0; i < count; ++i) {
    const double position =
        count < 2 ? 0.0 : static_cast<double>(i * segments) / static_cast<double>(count - 1);
    const size_t segment = std::min(static_cast<size_t>(position), segments - 1);
    const double t = position - static_cast<double>(segment);
    const Rgb& a = anchors[segment];
    const Rgb& b = anchors[segment + 1];
    auto mix = [t](int from, int to) {
      return static_cast<int>(host::RoundHalfEven(from + (to - from) * t));
    };
    steps.push_back({mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue)});
  }
  return steps;
}

std::string ColorTag(const Rgb& c) {
  char tag[32];
  std::snprintf(tag, sizeof tag, "<FONT COLOR=#%02X%02X%02X>", c.red, c.green, c.blue);
  return tag;
}

// Each character but a space after its own colour tag; a space uses up a colour all the same.
std::string Colored(const std::string& text, const std::vector<Rgb>& colors, size_t first = 0) {
  std::string html;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ' ') html += ColorTag(colors[first + i]);
    html += text[i];
  }
  return html;
}

constexpr const char* kFontOpen = "<FONT FACE=\"Tahoma\" SIZE=1>";
// "(_.·´¯° Pallion ²·º  for AOL °¯`·._)", "‹—=(•" and "•)=—›" in the client's code page.
constexpr const char* kBannerText =
    "(_.\xB7\xB4\xAF\xB0 Pallion \xB2\xB7\xBA  for AOL \xB0\xAF`\xB7._)";
constexpr const char* kOrnamentOpen = "\x8B\x97=(\x95";
constexpr const char* kOrnamentClose = "\x95)=\x97\x9B";

// The bare host of the site's address (no scheme, no path).
std::string SiteHost() {
  std::string site = SiteAddress();
  const size_t scheme = site.find("://");
  if (scheme != std::string::npos) site.erase(0, scheme + 3);
  return site.substr(0, site.find('/'));
}

}  // namespace

std::string AdvertBanner() {
  const std::string text = kBannerText;
  const auto colors = FadeSteps({{0xFF, 0x00, 0x4A},
                                 {0xFF, 0x81, 0xFF},
                                 {0x80, 0xF1, 0x99},
                                 {0x00, 0x80, 0xFF},
                                 {0x00, 0x1A, 0x99}},
                                text.size());
  return kFontOpen + Colored(text, colors);
}

std::string AdvertLinkLine(const std::string& siteHost) {
  const std::string open = kOrnamentOpen;
  const std::string close = kOrnamentClose;
  const auto ornaments =
      FadeSteps({{0xFF, 0x40, 0x40}, {0x99, 0xE6, 0x66}}, open.size() + close.size());
  const auto letters =
      FadeSteps({{0x5B, 0xAA, 0xBA}, {0xFF, 0x80, 0x00}, {0xE6, 0x99, 0x1A}}, siteHost.size());
  return std::string("    ") + kFontOpen + Colored(open, ornaments) + " < a href=" + siteHost +
         ">" + Colored(siteHost, letters) + "</a> " + Colored(close, ornaments, open.size());
}

void TimerAdvertiseTick(container::MainWindow& main) {
  main.TimerAdvertise.SetEnabled(false);
  host::SendChatText(AdvertBanner());
  host::Pause(1);
  host::SendChatText(AdvertLinkLine(SiteHost()));
}

void TimerTellaFriendTick(container::MainWindow& main) {
  main.TimerTellaFriend.SetEnabled(false);
  const std::string friends = InputBox(
      "Enter the Screen Name of the friend(s) you wish to send information about Pallion.\r\r"
      "If entering more than one Screen Name, spearate each one of them with a comma.",
      "Tell a friend about Pallion.", "");
  if (friends.empty()) return;
  const HWND write = host::NthChildExact(host::FindToolbar(), "_AOL_Icon", 3);
  if (write == 0) return;
  host::ClickIcon(write);
  host::Pause(2);
  const std::string body =
      host::LoadTextFile(settings::FolderPath(settings::kTellaFriendFile)).value_or("");
  HWND mail = 0;
  if (!host::WaitFor([&] { return (mail = host::FindChildByCaption("Write Mail")) != 0; },
                     kWriteMailWaitMs)) {
    if (!ProcessEnded()) {
      widgets::ShowMessageBox(main.hwnd(),
                              "AOL did not open its Write Mail window. Please try again.", 0,
                              "Tell a Friend");
    }
    return;
  }
  host::SetText(host::NthChildExact(mail, "_AOL_Edit", 1), friends);
  host::SetText(host::NthChildExact(mail, "_AOL_Edit", 3), kTellaFriendSubject);
  const HWND richText = host::FirstChild(mail, "RICHCNTL");
  if (richText == 0) return;
  SendMessage(richText, WM_LBUTTONDOWN, 0, 0);
  host::PutRichHTML(richText, main.hwnd(), body);
  SendMessage(richText, WM_CHAR, 13, 0);
  SendMessage(richText, WM_CHAR, 13, 0);
  host::PutRichHTML(richText, main.hwnd(), host::GetUserSN());
}

}  // namespace online
