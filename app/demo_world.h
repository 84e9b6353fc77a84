// The demo's world: the simulated desktop, the stand-in client in its own process, the
// program's process, and the transcript of what happens among them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "clientsim/client.h"
#include "platform/sim/desktop.h"
#include "platform/sim/web_server.h"
#include "startup/first_window.h"

namespace container {
class MainWindow;
}

namespace app {

struct DemoOptions {
  clientsim::Layout layout = clientsim::Layout::Aol6;
  std::string folder;  // the program folder (host path)
  std::string shots;   // where screenshots go (host path); "" writes none
  std::string site;    // the web site the program reaches ("" = the one the script serves)
  // The transcript reports each log file written (the folder is looked at as time passes).
  bool reportFiles = true;
};

class DemoWorld {
 public:
  DemoWorld(const DemoOptions& options, std::ostream& transcript);
  ~DemoWorld();
  DemoWorld(const DemoWorld&) = delete;
  DemoWorld& operator=(const DemoWorld&) = delete;

  platform::sim::Desktop& Desktop() { return *desktop_; }
  clientsim::Client& Client() { return *client_; }
  platform::DWORD ClientProcess() const { return clientProcess_; }
  platform::DWORD ProgramProcess() const { return programProcess_; }
  const DemoOptions& Options() const { return options_; }
  bool ClientRunning() const;

  // Starts Pallion in a process of its own (start-up with its checks, container and menu);
  // reports how it went. After an earlier Pallion has ended, a new one starts.
  startup::StartResult StartProgram();
  bool ProgramStarted() const { return program_ != nullptr; }
  // The program's main window while the program runs; nullptr before start and after its end.
  container::MainWindow* Main() const;
  // Kills Pallion's process from outside (a crash, the task manager): none of its shutdown runs;
  // the client gets its IM windows back. Says so when Pallion is not running.
  void KillProgram();
  // Shuts a running Pallion down as its Exit command does (logs written, IMs handed back), so a
  // run that ends early loses nothing.
  void Finish();

  // The web site on 127.0.0.1 that the script publishes files on, started at the first use.
  // Unless --site named another, the program's site setting points at it.
  platform::sim::WebServer& WebSite();

  // Lets virtual time pass, reporting what happened; `progress` reports each simulated hour.
  void Run(uint64_t milliseconds, bool progress = false);
  // A line of the transcript (UTF-8), stamped with the virtual time.
  void Say(const std::string& line);
  void Say(const std::string& line, uint64_t timeMs);
  // A line without a time stamp (UTF-8): errors, notes, help; it goes into the report too.
  void Print(const std::string& text);
  // Reports what the client and the platform did since the last report.
  void ReportNews();
  // Writes the next numbered screenshot "NN-name.png"; its path, or nothing with `error` set.
  std::optional<std::string> Shot(const std::string& name, std::string& error);
  // Writes report.html beside the screenshots: the transcript with each screenshot shown where
  // it was taken. Its path, or nothing with `error` set (or when screenshots are off).
  std::optional<std::string> WriteReport(std::string& error) const;

 private:
  DemoOptions options_;
  std::ostream& out_;
  std::unique_ptr<platform::sim::Desktop> desktop_;
  std::unique_ptr<clientsim::Client> client_;
  platform::DWORD clientProcess_ = 0;
  platform::DWORD programProcess_ = 0;
  // The person and the world's own loop run as a process of their own, so that the clock and
  // the client go on when Pallion ends.
  platform::DWORD worldProcess_ = 0;
  // The transcript as the report shows it: a line, or a screenshot's file name.
  struct Entry {
    std::string line;
    std::string image;
  };
  std::vector<Entry> entries_;
  size_t eventsSeen_ = 0;
  size_t sentSeen_ = 0;
  size_t receivedSeen_ = 0;
  size_t chatSeen_ = 0;
  size_t keywordsSeen_ = 0;
  int shotNumber_ = 0;
  static constexpr uint64_t kReportEveryMs = 50;
  uint64_t lastReportMs_ = 0;

  // Makes the program's folders and the small files a fresh folder needs.
  void PrepareFolder();
  // Writes the program's site setting.
  void PointProgramAt(const std::string& site);
  // Forgets a Pallion that has ended: its objects, the host routines' state, what was seen.
  void ForgetProgram();
  // Reports the log files the program wrote since the last report.
  void ObserveFiles();
  // Reports what the program did to the window tree since the last report.
  void ObserveProgram();

  std::unique_ptr<startup::Program> program_;
  std::unique_ptr<platform::sim::WebServer> webSite_;
  // What the observer saw last.
  std::vector<platform::HWND> adopted_;
  std::vector<std::string> tabs_;
  std::string shown_;
  bool containerVisible_ = false;
  std::map<std::string, uintmax_t> logFiles_;
  bool programEndedSaid_ = false;
};

}  // namespace app
