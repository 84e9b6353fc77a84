#include "app/demo_world.h"

#include <cstdio>
#include <filesystem>

#include "platform/ansi.h"
#include "platform/files.h"

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
  Say(std::string("the client starts (") +
      (options.layout == clientsim::Layout::Aol7 ? "AOL 7" : "AOL 6") + " layout)");
}

DemoWorld::~DemoWorld() {
  client_.reset();
  platform::Install(nullptr);
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
  out_ << Stamp(desktop_->NowMs()) << ' ' << line << '\n';
}

void DemoWorld::ReportNews() {
  const auto& events = desktop_->Events();
  for (; eventsSeen_ < events.size(); ++eventsSeen_) {
    const auto& e = events[eventsSeen_];
    Say(platform::sim::ToString(e.kind) + ": " + platform::AnsiToUtf8(e.text) +
        (e.detail.empty() ? "" : " (" + platform::AnsiToUtf8(e.detail) + ")"));
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
    Say("the client sends an IM to " + platform::AnsiToUtf8(sent[sentSeen_].to) + ": " +
        Quoted(sent[sentSeen_].text));
  }
  const auto& chat = client_->ChatLines();
  for (; chatSeen_ < chat.size(); ++chatSeen_) {
    Say("said in " + Quoted(chat[chatSeen_].room) + ": " + Quoted(chat[chatSeen_].text));
  }
  const auto& keywords = client_->KeywordsRun();
  for (; keywordsSeen_ < keywords.size(); ++keywordsSeen_) {
    Say("the client runs the keyword " + Quoted(keywords[keywordsSeen_]));
  }
}

std::string DemoWorld::Shot(const std::string& name) {
  if (options_.shots.empty()) return "";
  std::error_code ec;
  std::filesystem::create_directories(options_.shots, ec);
  char number[8];
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
