// The two-process scenario: the stand-in client and Pallion as processes of their own, driven
// as the person and a correspondent drive them, with the same steps and expectations on the
// simulated desktop (Linux suite) and on the real one (the Wine lane).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "clientsim/channel.h"
#include "platform/win32.h"

#ifdef _WIN32
#include "smoke/win32_world.h"
using PlatformWorld = smoke::Win32World;
#else
#include "smoke/sim_world.h"
using PlatformWorld = smoke::SimWorld;
#endif

namespace smoke {
namespace {

using namespace platform;

constexpr const char* kContainer = "Pallion \xB2\xB7\xBA :";
constexpr const char* kHostMenu = "Palli&on \xB2\xB7\xBA";
constexpr const char* kAway = "Sorry Bob, I am away from my desk.";

// One step: what the person or a correspondent does, the state it waits for (at most
// `timeoutMs`) and what must then hold.
struct Step {
  std::string what;
  std::function<void()> act;
  std::function<bool()> until;
  uint32_t timeoutMs = 15000;
  std::function<void()> check;
};

// Plays the steps in order from a timer of the calling process, so that they go on while a
// program waits in a loop of its own (its message box, its pop-up menu). Stops at the first
// step whose state does not come in time, saying what `describe` tells of the world then; true
// when every step came.
bool Play(const std::vector<Step>& steps, const std::function<std::string()>& describe) {
  size_t at = 0;
  bool acted = false, failed = false, busy = false;
  uint32_t since = 0;
  RegisterClass({"SmokeDriver", nullptr, 0xFFFFFFFF});
  const HWND clock = CreateWindowEx(0, "SmokeDriver", "", WS_POPUP, 0, 0, 0, 0, 0, 0, nullptr);
  SetTimer(clock, 1, 25, [&](HWND, UINT) {
    if (busy || failed || at == steps.size()) return;
    busy = true;
    const Step& step = steps[at];
    if (!acted) {
      acted = true;
      since = GetTickCount();
      SCOPED_TRACE(step.what);
      if (step.act) step.act();
    }
    if (step.until()) {
      SCOPED_TRACE(step.what);
      if (step.check) step.check();
      ++at;
      acted = false;
    } else if (GetTickCount() - since > step.timeoutMs) {
      ADD_FAILURE() << "step " << at + 1 << " did not come about in " << step.timeoutMs
                    << " ms: " << step.what << "\n"
                    << describe();
      failed = true;
    }
    busy = false;
  });
  while (!failed && at < steps.size()) WaitEvents(100);
  KillTimer(clock, 1);
  DestroyWindow(clock);
  return !failed;
}

// The first window under `parent` (at any depth) of that class whose text passes `match`.
HWND Descendant(HWND parent, const std::string& cls,
                const std::function<bool(const std::string&)>& match) {
  HWND found = 0;
  EnumChildWindows(parent, [&](HWND w) {
    if (GetClassName(w) == cls && match(GetWindowText(w))) found = w;
    return found == 0;
  });
  return found;
}
HWND DescendantNamed(HWND parent, const std::string& cls, const std::string& text) {
  return Descendant(parent, cls, [&](const std::string& t) { return t == text; });
}

// Pallion's message box on the screen with that caption line, or 0.
HWND ProgramBox(const std::string& caption) {
  for (HWND w = FindWindowEx(0, 0, "ThunderRT5Form", nullptr); w != 0;
       w = FindWindowEx(0, w, "ThunderRT5Form", nullptr)) {
    if (IsWindowVisible(w) && DescendantNamed(w, "ThunderRT5Label", caption) != 0) return w;
  }
  return 0;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  return process;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Everything the scenario keeps between its steps.
struct Scenario {
  explicit Scenario(World& w) : world(w) {}

  HWND AolMain() const { return FindWindowEx(0, 0, "AOL Frame25", nullptr); }
  HWND Mdi() const { return FindWindowEx(AolMain(), 0, "MDIClient", nullptr); }
  HWND Document(const std::string& caption) const {
    return FindWindowEx(Mdi(), 0, "AOL Child", caption.c_str());
  }
  // Bob's IM window, wherever it is.
  HWND BobIM(HWND under) const {
    return Descendant(under, "AOL Child", [](const std::string& t) { return Has(t, "Bob"); });
  }
  bool SentToBob(const std::string& part) {
    const auto sent = client.SentIMs();
    return sent && std::any_of(sent->begin(), sent->end(), [&](const clientsim::SentIM& im) {
             return im.to == "Bob" && Has(im.text, part);
           });
  }

  std::vector<Step> Steps();
  // What the client shows of Bob's conversation and what it sent, for a step that failed.
  std::string Describe() {
    std::string text = "Bob's IM: \"" + GetWindowText(BobIM(container)) + "\"\nconversation:\n" +
                       client.ConversationText("Bob").value_or("(none)") + "\nsent:";
    for (const auto& im : client.SentIMs().value_or(std::vector<clientsim::SentIM>{}))
      text += "\n  to " + im.to + ": " + im.text;
    return text;
  }

  World& world;
  clientsim::channel::Remote client;
  int refused = -1, running = -1, second = -1;
  HWND box = 0, container = 0, bob = 0;
};

std::vector<Step> Scenario::Steps() {
  return {
      {"Pallion is started while no client runs: it says so",
       [this] { refused = world.StartProgram(); },
       [this] { return (box = ProgramBox("Please load AOL")) != 0; }, 15000,
       [this] {
         EXPECT_NE(DescendantNamed(box, "ThunderRT5Label",
                                   "Please load AOL 6.0 first before running this program."),
                   0u);
       }},
      {"a picture of the screen with that box",
       [this] { world.RequestShot("smoke-box"); },
       [this] { return world.ShotTaken("smoke-box"); },
       20000,
       {}},
      {"the person presses OK: that copy ends",
       [this] { PostClick(DescendantNamed(box, "AOButton", "OK")); },
       [this] { return world.ProgramExit(refused).has_value(); }, 15000,
       [this] { EXPECT_NE(world.ProgramExit(refused), 0); }},
      {"the stand-in client starts",
       [this] { ASSERT_TRUE(world.StartClient()); },
       [this] { return client.Connect() && AolMain() != 0; },
       15000,
       {}},
      {"Alice signs on",
       [this] { ASSERT_TRUE(client.SignOn("Alice")) << client.LastError(); },
       [this] { return client.ScreenName() == "Alice"; },
       15000,
       {}},
      {"Pallion starts beside the client: its container is made from a new Untitled window",
       [this] { running = world.StartProgram(); },
       [this] { return (container = Document(kContainer)) != 0; }, 30000,
       [this] {
         EXPECT_EQ(Document("Untitled"), 0u);
         EXPECT_EQ(ProcessOf(container), ProcessOf(Mdi()));
         EXPECT_FALSE(IsWindowVisible(container)) << "no IM yet";
       }},
      {"Pallion's panels move into the container and its pop-up joins the client's menu bar",
       {},
       [this] {
         const auto bar = client.MenuItems();
         return bar && std::count(bar->begin(), bar->end(), kHostMenu) == 1;
       },
       15000,
       [this] {
         // Pallion's panels, windows of its own process, sit inside the client's window.
         bool panels = false;
         EnumChildWindows(container, [&](HWND w) {
           panels = ProcessOf(w) != ProcessOf(container);
           return !panels;
         });
         EXPECT_TRUE(panels);
         const auto items = client.MenuItems({kHostMenu});
         ASSERT_TRUE(items.has_value()) << client.LastError();
         ASSERT_EQ(items->size(), 13u);
         EXPECT_EQ(items->front(), "&Control Panel");
         EXPECT_EQ(items->back(), "E&xit");
       }},
      {"a second copy is started: it says one runs already",
       [this] { second = world.StartProgram(); },
       [this] { return (box = ProgramBox("Pallion already running.")) != 0; },
       15000,
       {}},
      {"the person presses OK: the second copy ends, the first runs on",
       [this] { PostClick(DescendantNamed(box, "AOButton", "OK")); },
       [this] { return world.ProgramExit(second).has_value(); }, 15000,
       [this] {
         EXPECT_NE(world.ProgramExit(second), 0);
         EXPECT_FALSE(world.ProgramExit(running).has_value());
         EXPECT_EQ(Document(kContainer), container);
         const auto bar = client.MenuItems();
         ASSERT_TRUE(bar.has_value());
         EXPECT_EQ(std::count(bar->begin(), bar->end(), kHostMenu), 1);
       }},
      {"Bob's IM arrives and is adopted into a tab of the container",
       [this] { ASSERT_TRUE(client.ReceiveIM("Bob", "hi Alice")); },
       [this] {
         // Adopted once the begin line of its log stands in its conversation, and the adoption
         // over once the IM is shown to the person, its message read (a message that came
         // before that would be read with it, and so not answered).
         return (bob = BobIM(container)) != 0 && IsWindowVisible(container) &&
                Has(client.ConversationText("Bob").value_or(""), "Begin IM") &&
                GetWindowText(bob).rfind(" IM From:", 0) == 0;
       },
       15000,
       [this] {
         // The client's window now lives in the holder over Pallion's IM area: a window of the
         // client's own inside the container, so that it would outlive a killed Pallion.
         const HWND holder = GetParent(bob);
         EXPECT_EQ(GetParent(holder), container);
         EXPECT_EQ(ProcessOf(holder), ProcessOf(bob));
         EXPECT_EQ(GetParent(container), Mdi());
         const auto received = client.ReceivedIMs();
         ASSERT_TRUE(received.has_value());
         ASSERT_EQ(received->size(), 1u);
         EXPECT_EQ((*received)[0].text, "hi Alice");
       }},
      {"the person turns the away answer on from the IM Answer button",
       [this] {
         const HWND button = DescendantNamed(container, "AOLFButton", "IM Answer");
         ASSERT_NE(button, 0u);
         EXPECT_TRUE(world.ChooseFromPopup(button, "All IMs", 2));
       },
       [] { return true; },
       15000,
       {}},
      {"Bob writes again: Pallion answers in away mode through the client",
       [this] { ASSERT_TRUE(client.ReceiveIM("Bob", "are you there?")); },
       [this] { return SentToBob(kAway); }, 15000,
       [this] { EXPECT_TRUE(Has(client.ConversationText("Bob").value_or(""), kAway)); }},
      {"a picture of the screen with the IM in the container",
       [this] { world.RequestShot("smoke-container"); },
       [this] { return world.ShotTaken("smoke-container"); },
       20000,
       {}},
      {"the person closes the client: Pallion logs the conversation, hands the IM back and ends",
       [this] { ASSERT_TRUE(client.Quit()); },
       [this] { return world.ProgramExit(running).has_value() && client.Running() == false; },
       30000,
       [this] {
         EXPECT_EQ(world.ProgramExit(running), 0);
         const auto documents = client.DocumentsAtClose();
         ASSERT_TRUE(documents.has_value()) << client.LastError();
         EXPECT_EQ(std::count_if(documents->begin(), documents->end(),
                                 [](const std::string& c) { return Has(c, "IM From: Bob"); }),
                   1)
             << "the IM went back to the client before it closed";
         const auto logs = world.ProgramFolder() / "IM Logs" / "Bob";
         std::vector<std::filesystem::path> files;
         std::error_code missing;
         for (const auto& entry : std::filesystem::directory_iterator(logs, missing))
           files.push_back(entry.path());
         ASSERT_EQ(files.size(), 1u) << "one log of the day under " << logs.string();
         const std::string log = ReadAll(files[0]);
         for (const char* part : {"Begin IM", "hi Alice", "are you there?", kAway, "End IM"})
           EXPECT_TRUE(Has(log, part)) << part << " in\n" << log;
       }},
      {"the client's process ends",
       [this] { ASSERT_TRUE(client.Exit()); },
       [this] { return world.ClientEnded(); },
       15000,
       {}},
  };
}

TEST(Smoke, TheClientAndPallionInProcessesOfTheirOwn) {
  PlatformWorld world;
  Scenario scenario(world);
  EXPECT_TRUE(Play(scenario.Steps(), [&] { return scenario.Describe(); }));
}

}  // namespace
}  // namespace smoke
