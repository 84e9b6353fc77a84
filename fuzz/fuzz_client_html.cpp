// The HTML the client hands over through its clipboard formats ("AOLMAIL", "AOLMAIL2"): read
// back from a block of any bytes (without an ending NUL too), then parsed as the client's rich
// text, whose own HTML must parse to the same text.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "clientsim/html.h"
#include "fuzz/fuzz_support.h"
#include "host/window_access.h"
#include "platform/win32.h"

namespace {

using namespace platform;

struct ClientSide {
  DWORD process = 0;
  HWND richText = 0;
};

// A window of another process that keeps what is on the clipboard when asked to copy.
const ClientSide& Client() {
  static const ClientSide client = [] {
    sim::Desktop& desktop = fuzzing::SimDesktop();
    const DWORD pallion = desktop.CurrentProcess();
    ClientSide made;
    made.process = desktop.CreateProcess("Client");
    RegisterClass(WindowClass{"RICHCNTL", {}});
    made.richText =
        CreateWindowEx(0, "RICHCNTL", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, 0, 0, {});
    desktop.SetCurrentProcess(pallion);
    return made;
  }();
  return client;
}

// The client's side: the bytes as the one format on the clipboard, exactly as long as given.
void Offer(const std::string& bytes, const char* format) {
  sim::Desktop& desktop = fuzzing::SimDesktop();
  sim::Desktop::ProcessScope scope(desktop, Client().process);
  if (!OpenClipboard(Client().richText)) fuzzing::Fail("the client cannot open the clipboard");
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (void* locked = GlobalLock(block)) {
    std::memcpy(locked, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  SetClipboardData(RegisterClipboardFormat(format), block);
  CloseClipboard();
}

bool Same(const clientsim::StyledText& a, const clientsim::StyledText& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.ch == y.ch && x.format == y.format;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the format; the rest is the block.
  const std::string bytes(data + 1, data + size);
  Offer(bytes, data[0] & 1 ? "AOLMAIL2" : "AOLMAIL");
  const std::string html = host::GetRichHTML(Client().richText, 0);
  if (html != bytes.substr(0, bytes.find('\0'))) {
    fuzzing::Fail("the HTML read back is not the client's text up to its end",
                  std::to_string(html.size()) + " of " + std::to_string(bytes.size()) + " bytes");
  }

  const clientsim::StyledText text = clientsim::ParseHtml(html);
  clientsim::StripTags(html);
  clientsim::HasFormatting(text);
  if (!Same(clientsim::ParseHtml(clientsim::ToHtml(text)), text)) {
    fuzzing::Fail("the client's own HTML of a text parses to another text");
  }
  return 0;
}
