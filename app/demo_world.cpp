#include "app/demo_world.h"

#include "app/program_folder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "clientsim/html.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "online/published_text.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace app {

namespace {

std::string Quoted(const std::string& ansi) {
  return "\"" + platform::AnsiToUtf8(ansi) + "\"";
}

// Text the program handed the platform, for the transcript: names are ANSI, but a path may begin
// with the program folder, which is the host's own (UTF-8) and must not be converted again.
std::string ProgramText(const std::string& text) {
  const std::string& folder = platform::files::ProgramFolder();
  if (!folder.empty() && text.starts_with(folder)) {
    return folder + platform::AnsiToUtf8(text.substr(folder.size()));
  }
  return platform::AnsiToUtf8(text);
}

std::string Stamp(uint64_t ms) {
  char text[32];
  std::snprintf(
      text, sizeof text, "[%02llu:%02llu.%03llu]", static_cast<unsigned long long>(ms / 60000),
      static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
  return text;
}

// A screenshot's name as a file name: path separators and other awkward characters become "_".
std::string SafeFileName(const std::string& name) {
  std::string safe;
  for (char c : name) {
    const bool awkward = c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
                         c == '<' || c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20;
    safe += awkward ? '_' : c;
  }
  return safe.empty() || safe == "." || safe == ".." ? "shot" : safe;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
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
  platform::sim::DesktopOptions desktopOptions;
  // A site the person names may be anywhere; without one, fetches stay on this machine.
  desktopOptions.http.loopbackOnly = options.site.empty();
  desktop_ = std::make_unique<platform::sim::Desktop>(desktopOptions);
  platform::Install(desktop_.get());
  platform::files::SetProgramFolder(options.folder);
  clientProcess_ = desktop_->CreateProcess("AOL");
  clientsim::ClientOptions clientOptions;
  clientOptions.layout = options.layout;
  client_ = std::make_unique<clientsim::Client>(clientOptions);
  client_->Start();
  worldProcess_ = desktop_->CreateProcess("Demo");
  PrepareFolder();
  // The default printer's pages go beside the screenshots, where the person can open them.
  if (!options.shots.empty()) desktop_->SetPrinterFolder(options.shots);
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
  ForgetProgram();
  client_.reset();
  platform::Install(nullptr);
}

void DemoWorld::ForgetProgram() {
  if (program_) {
    platform::sim::Desktop::ProcessScope scope(*desktop_, programProcess_);
    program_.reset();
  }
  host::IsAOL7 = false;
  host::SetIMArea(0);
  imlog::ForgetLoggedIMs();
  adopted_.clear();
  tabs_.clear();
  shown_.clear();
  containerVisible_ = false;
  programEndedSaid_ = false;
}

bool DemoWorld::ClientRunning() const {
  return client_->Running();
}

void DemoWorld::PrepareFolder() {
  namespace files = platform::files;
  PrepareProgramFolder();
  // Small stand-ins for the sounds, so that the program's sound events happen.
  for (const char* sound : {"Click.icp", "Menu.icp", "Chat.icp"}) {
    const std::string path = settings::FolderPath(settings::kSoundsFolder) + sound;
    if (!files::Exists(path)) files::WriteAll(path, std::string("RIFF\0\0\0\0WAVE", 12));
  }
  if (!options_.site.empty()) PointProgramAt(options_.site);
}

void DemoWorld::PointProgramAt(const std::string& site) {
  settings::WriteSetting(online::kSiteKey, site);
  Say("Pallion's web site is " + site);
}

platform::sim::WebServer& DemoWorld::WebSite() {
  if (!webSite_) {
    webSite_ = std::make_unique<platform::sim::WebServer>();
    Say("a web site starts at " + webSite_->Base());
    if (options_.site.empty()) PointProgramAt(webSite_->Base());
  }
  return *webSite_;
}

startup::StartResult DemoWorld::StartProgram() {
  if (program_ && desktop_->ProcessAlive(programProcess_)) {
    Say("Pallion runs already");
    return startup::StartResult::AlreadyRunning;
  }
  ReportNews();
  ForgetProgram();
  Say("Pallion starts");
  startup::StartResult result;
  programProcess_ = desktop_->CreateProcess("Pallion");
  desktop_->SetCurrentProcess(worldProcess_);
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

void DemoWorld::KillProgram() {
  if (Main() == nullptr) {
    Say("Pallion is not running; nothing to kill");
    return;
  }
  ReportNews();
  Say("Pallion's process is killed: none of its own shutdown runs");
  desktop_->KillProcess(programProcess_);
  ReportNews();
  const platform::HWND mdi = client_->MdiClient();
  const auto back = std::count_if(adopted_.begin(), adopted_.end(), [mdi](platform::HWND w) {
    return platform::IsWindow(w) && platform::GetParent(w) == mdi;
  });
  Say("the client has " + std::to_string(back) + " of the " + std::to_string(adopted_.size()) +
      " adopted IM windows back");
  adopted_.clear();
}

void DemoWorld::Finish() {
  container::MainWindow* main = Main();
  if (main == nullptr) return;
  Say("the demo ends: Pallion is shut down as its Exit command does");
  {
    platform::sim::Desktop::ProcessScope scope(*desktop_, programProcess_);
    main->ExitProgram();
  }
  desktop_->RunUntil([this] { return !desktop_->ProcessAlive(programProcess_); }, 10000);
  ReportNews();
}

void DemoWorld::Run(uint64_t milliseconds, bool progress) {
  constexpr uint64_t kHourMs = 3600000;
  // Small steps keep the transcript in the order things happen. The end is a time on the clock:
  // a step in which the program waits inside a handler may take longer than asked.
  const uint64_t step = 100;
  const uint64_t start = desktop_->NowMs();
  const uint64_t end = start + milliseconds;
  uint64_t hoursSaid = 0;
  while (desktop_->NowMs() < end) {
    const uint64_t before = desktop_->NowMs();
    desktop_->RunFor(std::min(step, end - before));
    // The loop ends at once when the process running it has ended: then no time can pass.
    if (desktop_->NowMs() == before) break;
    ReportNews();
    const uint64_t hours = (desktop_->NowMs() - start) / kHourMs;
    if (progress && hours > hoursSaid && desktop_->NowMs() < end) {
      hoursSaid = hours;
      Say("waiting: " + std::to_string(hours) + " h of " + std::to_string(milliseconds / kHourMs) +
          (milliseconds % kHourMs == 0 ? "" : "+") + " h have passed");
    }
  }
  ReportNews();
}

void DemoWorld::Say(const std::string& line) {
  Say(line, desktop_->NowMs());
}

void DemoWorld::Say(const std::string& line, uint64_t timeMs) {
  Print(Stamp(timeMs) + ' ' + line);
}

void DemoWorld::Print(const std::string& text) {
  out_ << text << (text.empty() || text.back() != '\n' ? "\n" : "") << std::flush;
  entries_.push_back({text, ""});
}

void DemoWorld::ReportNews() {
  lastReportMs_ = desktop_->NowMs();
  ObserveFiles();
  const auto& events = desktop_->Events();
  for (; eventsSeen_ < events.size(); ++eventsSeen_) {
    const auto& e = events[eventsSeen_];
    Say(platform::sim::ToString(e.kind) + ": " + ProgramText(e.text) +
            (e.detail.empty() ? "" : " (" + ProgramText(e.detail) + ")"),
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
  if (!program_ || !options_.reportFiles) return;
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
  for (platform::HWND w = platform::GetWindow(main->IMHolder(), platform::GW_CHILD); w != 0;
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

std::optional<std::string> DemoWorld::Shot(const std::string& name, std::string& error) {
  if (options_.shots.empty()) return std::string();
  std::error_code ec;
  std::filesystem::create_directories(options_.shots, ec);
  if (ec) {
    error = "cannot make the screenshot folder " + options_.shots + ": " + ec.message();
    return std::nullopt;
  }
  char number[16];
  std::snprintf(number, sizeof number, "%02d-", ++shotNumber_);
  const std::string file = number + SafeFileName(name) + ".png";
  const std::string path = (std::filesystem::path(options_.shots) / file).string();
  if (!desktop_->SaveScreenshot(path)) {
    error = "cannot write the screenshot " + path;
    return std::nullopt;
  }
  Say("screenshot " + path);
  entries_.push_back({"", file});
  return path;
}

std::optional<std::string> DemoWorld::WriteReport(std::string& error) const {
  if (options_.shots.empty()) return std::nullopt;
  std::error_code ec;
  std::filesystem::create_directories(options_.shots, ec);
  const std::string path = (std::filesystem::path(options_.shots) / "report.html").string();
  std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Pallion demo</title>\n"
      "<style>body{font-family:sans-serif;margin:2em}pre{margin:0;white-space:pre-wrap}"
      "img{display:block;margin:.5em 0 1em;border:1px solid #888;max-width:100%}</style>"
      "</head><body>\n<h1>Pallion demo</h1>\n";
  for (const Entry& e : entries_) {
    if (!e.image.empty()) {
      html += "<img src=\"" + HtmlEscape(e.image) + "\" alt=\"" + HtmlEscape(e.image) + "\">\n";
    } else {
      html += "<pre>" + HtmlEscape(e.line) + "</pre>\n";
    }
  }
  html += "</body></html>\n";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << html;
  out.close();
  if (!out) {
    error = "cannot write the report " + path;
    return std::nullopt;
  }
  return path;
}

}  // namespace app
