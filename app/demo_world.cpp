#include "app/demo_world.h"

#include "app/program_folder.h"

#include <cstdio>
#include <filesystem>

#include "clientsim/html.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace app {

namespace {

std::string Quoted(const std::string& ansi) {
  return "\"" + platform::AnsiToUtf8(ansi) + "\"";
}

std::string Stamp(uint64_t ms) {
  char text[32];
  std::snprintf(
      text, sizeof text, "[%02llu:%02llu.%03llu]", static_cast<unsigned long long>(ms / 60000),
      static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
  return text;
}

std::string Joined(const std::vector<std::string>& names) {
  if (names.empty()) return "(none)";
  std::string text;
  for (const auto& n : names) text += (text.empty() ? "" : " | ") + platform::AnsiToUtf8(n);
  return text;
}

// Every file under the log folder with its size, by its path under the program folder.
std::map<std::string, uintmax_t> LogFiles() {
  std::map<std::string, uintmax_t> found;
  namespace fs = std::filesystem;
  const std::string root = settings::FolderPath(settings::kLogsFolder);
  for (const std::string& folder : platform::files::ListDirectories(root)) {
    for (const std::string& file : platform::files::List(root + folder, "*.*")) {
      std::error_code ec;
      const auto size = fs::file_size(platform::files::HostPath(root + folder + "\\" + file), ec);
      if (!ec) found[std::string(settings::kLogsFolder).substr(1) + folder + "\\" + file] = size;
    }
  }
  return found;
}

}  // namespace

DemoWorld::DemoWorld(const DemoOptions& options, std::ostream& transcript)
    : options_(options), out_(transcript) {
  desktop_ = std::make_unique<platform::sim::Desktop>();
  platform::Install(desktop_.get());
  platform::files::SetProgramFolder(options.folder);
  clientProcess_ = desktop_->CreateProcess("AOL");
  clientsim::ClientOptions clientOptions;
  clientOptions.layout = options.layout;
  client_ = std::make_unique<clientsim::Client>(clientOptions);
  client_->Start();
  programProcess_ = desktop_->CreateProcess("Pallion");
  desktop_->SetCurrentProcess(programProcess_);
  PrepareFolder();
  // Reports also from inside the program's own waits (a pause of an answer tick, a modal
  // question), so each line carries the time it happened; never used up.
  desktop_->AddResponder([this] {
    if (desktop_->NowMs() >= lastReportMs_ + kReportEveryMs) ReportNews();
    return false;
  });
  Say(std::string("the client starts (") +
      (options.layout == clientsim::Layout::Aol7 ? "AOL 7" : "AOL 6") + " layout)");
}

DemoWorld::~DemoWorld() {
  {
    platform::sim::Desktop::ProcessScope scope(*desktop_, programProcess_);
    program_.reset();
    widgets::DestroyMessageBoxes();
  }
  client_.reset();
  host::IsAOL7 = false;
  host::SetIMArea(0);
  imlog::ForgetLoggedIMs();
  platform::Install(nullptr);
}

void DemoWorld::PrepareFolder() {
  namespace files = platform::files;
  PrepareProgramFolder();
  // Small stand-ins for the sounds, so that the program's sound events happen.
  for (const char* sound : {"Click.icp", "Menu.icp", "Chat.icp"}) {
    const std::string path = settings::FolderPath(settings::kSoundsFolder) + sound;
    if (!files::Exists(path)) files::WriteAll(path, std::string("RIFF\0\0\0\0WAVE", 12));
  }
}

startup::StartResult DemoWorld::StartProgram() {
  if (program_) return startup::StartResult::AlreadyRunning;
  Say("Pallion starts");
  startup::StartResult result;
  {
    platform::sim::Desktop::ProcessScope scope(*desktop_, programProcess_);
    program_ = std::make_unique<startup::Program>();
    result = program_->Start();
  }
  ReportNews();
  switch (result) {
    case startup::StartResult::Running:
      Say("Pallion runs: its container is inside the client, its menu on the client's menu bar");
      break;
    case startup::StartResult::NoClient:
      Say("Pallion did not start: no client");
      break;
    case startup::StartResult::AlreadyRunning:
      Say("Pallion did not start: already running");
      break;
    case startup::StartResult::OlderClient:
      Say("Pallion did not start: an older client");
      break;
    case startup::StartResult::NoContainer:
      Say("Pallion did not start: the client opened no window");
      break;
    case startup::StartResult::Ended:
      Say("Pallion ended while it started");
      break;
  }
  return result;
}

container::MainWindow* DemoWorld::Main() const {
  if (!program_ || !desktop_->ProcessAlive(programProcess_)) return nullptr;
  container::MainWindow* main = program_->Main();
  return main != nullptr && main->Loaded() ? main : nullptr;
}

void DemoWorld::Run(uint64_t milliseconds) {
  // Small steps keep the transcript in the order things happen.
  const uint64_t step = 100;
  for (uint64_t done = 0; done < milliseconds; done += step) {
    desktop_->RunFor(std::min(step, milliseconds - done));
    ReportNews();
  }
  ReportNews();
}

void DemoWorld::Say(const std::string& line) {
  Say(line, desktop_->NowMs());
}

void DemoWorld::Say(const std::string& line, uint64_t timeMs) {
  out_ << Stamp(timeMs) << ' ' << line << '\n';
}

void DemoWorld::ReportNews() {
  lastReportMs_ = desktop_->NowMs();
  ObserveFiles();
  const auto& events = desktop_->Events();
  for (; eventsSeen_ < events.size(); ++eventsSeen_) {
    const auto& e = events[eventsSeen_];
    Say(platform::sim::ToString(e.kind) + ": " + platform::AnsiToUtf8(e.text) +
            (e.detail.empty() ? "" : " (" + platform::AnsiToUtf8(e.detail) + ")"),
        e.timeMs);
  }
  const auto& received = client_->ReceivedIMs();
  for (; receivedSeen_ < received.size(); ++receivedSeen_) {
    const auto& im = received[receivedSeen_];
    std::string fate = im.fate == clientsim::ReceivedIM::Fate::Shown     ? "shown"
                       : im.fate == clientsim::ReceivedIM::Fate::Blocked ? "blocked by the client"
                                                                         : "not delivered";
    Say(platform::AnsiToUtf8(im.from) + " sends an IM " + Quoted(im.text) + ": " + fate);
  }
  const auto& sent = client_->SentIMs();
  for (; sentSeen_ < sent.size(); ++sentSeen_) {
    const std::string& text = sent[sentSeen_].text;
    const std::string plain = clientsim::StripTags(text);
    Say("the client sends an IM to " + platform::AnsiToUtf8(sent[sentSeen_].to) + ": " +
        Quoted(plain) + (plain == text ? "" : " (as HTML " + Quoted(text) + ")"));
  }
  const auto& chat = client_->ChatLines();
  for (; chatSeen_ < chat.size(); ++chatSeen_) {
    Say("said in " + Quoted(chat[chatSeen_].room) + ": " + Quoted(chat[chatSeen_].text));
  }
  const auto& keywords = client_->KeywordsRun();
  for (; keywordsSeen_ < keywords.size(); ++keywordsSeen_) {
    Say("the client runs the keyword " + Quoted(keywords[keywordsSeen_]));
  }
  ObserveProgram();
}

void DemoWorld::ObserveFiles() {
  if (!program_) return;
  auto logs = LogFiles();
  for (const auto& [path, size] : logs) {
    auto before = logFiles_.find(path);
    if (before == logFiles_.end() || before->second != size) {
      Say("file written: " + platform::AnsiToUtf8(path) + " (" + std::to_string(size) + " bytes)");
    }
  }
  logFiles_ = std::move(logs);
}

void DemoWorld::ObserveProgram() {
  if (!program_) return;
  container::MainWindow* main = Main();
  if (main == nullptr) {
    if (!programEndedSaid_ && !desktop_->ProcessAlive(programProcess_)) {
      programEndedSaid_ = true;
      Say("Pallion has ended");
    }
    return;
  }
  platform::sim::Desktop::ProcessScope scope(*desktop_, programProcess_);
  std::vector<platform::HWND> adopted;
  for (platform::HWND w = platform::GetWindow(main->picIM.hwnd(), platform::GW_CHILD); w != 0;
       w = platform::GetWindow(w, platform::GW_HWNDNEXT)) {
    if (platform::GetClassName(w) == "AOL Child") adopted.push_back(w);
  }
  for (platform::HWND w : adopted) {
    if (std::find(adopted_.begin(), adopted_.end(), w) == adopted_.end()) {
      Say("Pallion adopts the IM window " + Quoted(host::GetCaption(w)));
    }
  }
  for (platform::HWND w : adopted_) {
    if (std::find(adopted.begin(), adopted.end(), w) == adopted.end()) {
      Say(platform::IsWindow(w) ? "an IM window leaves the container" : "an IM window closes");
    }
  }
  adopted_ = std::move(adopted);

  std::vector<std::string> tabs;
  for (int i = 1; i <= main->TabStrip1.Count(); ++i)
    tabs.push_back(main->TabStrip1.Item(i).caption);
  if (tabs != tabs_) Say("tabs: " + Joined(tabs));
  tabs_ = std::move(tabs);

  const platform::HWND current = host::FindCurrentIM();
  const std::string shown = current == 0 ? "" : host::GetIMScreenName(current);
  if (shown != shown_ && !shown.empty()) Say("shown IM: " + platform::AnsiToUtf8(shown));
  shown_ = shown;

  const bool visible = platform::IsWindowVisible(host::FindPallionChild());
  if (visible != containerVisible_) Say(visible ? "the container shows" : "the container hides");
  containerVisible_ = visible;
}

std::string DemoWorld::Shot(const std::string& name) {
  if (options_.shots.empty()) return "";
  std::error_code ec;
  std::filesystem::create_directories(options_.shots, ec);
  char number[16];
  std::snprintf(number, sizeof number, "%02d-", ++shotNumber_);
  std::string path = (std::filesystem::path(options_.shots) / (number + name + ".png")).string();
  if (!desktop_->SaveScreenshot(path)) {
    Say("could not write the screenshot " + path);
    return "";
  }
  Say("screenshot " + path);
  return path;
}

}  // namespace app
