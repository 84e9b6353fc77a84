// The two-process scenario's world on the simulated desktop: the stand-in client with its
// control channel in a process "AOL", each copy of Pallion in a process "Pallion" started from
// the desktop's loop (its start-up may wait in a message box of its own meanwhile), and the
// driver in a process of its own, which stays current.
#pragma once

#include <memory>
#include <vector>

#include "clientsim/channel.h"
#include "platform/sim/desktop.h"
#include "smoke/smoke_world.h"
#include "startup/first_window.h"
#include "support/container_fixture.h"

namespace smoke {

class SimWorld : public World {
 public:
  SimWorld() {
    folder_ = containerfix::EnterDesktop(desktop_, "smoke");
    PrepareProgramFolder(folder_);
    driver_ = desktop_.CreateProcess("driver");
  }
  ~SimWorld() override {
    for (auto& copy : copies_) {
      platform::sim::Desktop::ProcessScope scope(desktop_, copy->process);
      copy->program.reset();
    }
    if (client_) {
      platform::sim::Desktop::ProcessScope scope(desktop_, aol_);
      server_.reset();
      client_.reset();
    }
    containerfix::LeaveDesktop(folder_);
  }

  bool StartClient() override {
    aol_ = desktop_.CreateProcess("AOL");
    desktop_.SetCurrentProcess(driver_);
    platform::sim::Desktop::ProcessScope scope(desktop_, aol_);
    client_ = std::make_unique<clientsim::Client>();
    server_ = std::make_unique<clientsim::channel::Server>(*client_);
    return client_->Start() && server_->Open();
  }
  bool ClientEnded() override { return server_ && server_->ExitAsked() && !client_->Running(); }

  int StartProgram() override {
    auto copy = std::make_unique<Copy>();
    Copy* started = copy.get();
    started->process = desktop_.CreateProcess("Pallion");
    desktop_.SetCurrentProcess(driver_);
    copies_.push_back(std::move(copy));
    desktop_.Schedule(
        0,
        [started] {
          started->program = std::make_unique<startup::Program>();
          started->result = started->program->Start();
          started->returned = true;
        },
        started->process);
    return static_cast<int>(copies_.size()) - 1;
  }
  std::optional<int> ProgramExit(int copy) override {
    const Copy& c = *copies_.at(static_cast<size_t>(copy));
    if (!c.returned || desktop_.ProcessAlive(c.process)) return std::nullopt;
    return c.result == startup::StartResult::Running ? 0 : 1;
  }
  std::filesystem::path ProgramFolder() const override { return folder_; }

  void RequestShot(const std::string& name) override {
    shot_ = desktop_.SaveScreenshot((folder_ / (name + ".png")).string()) ? name : "";
  }
  bool ShotTaken(const std::string& name) override { return shot_ == name; }

  bool ChooseFromPopup(platform::HWND button, const std::string& text, int) override {
    // The simulated pop-up menu takes its answer before it opens.
    desktop_.AnswerNextPopupMenu(text);
    PostClick(button);
    return true;
  }

 private:
  struct Copy {
    platform::DWORD process = 0;
    std::unique_ptr<startup::Program> program;
    startup::StartResult result = startup::StartResult::Ended;
    bool returned = false;
  };

  platform::sim::Desktop desktop_;
  std::filesystem::path folder_;
  platform::DWORD driver_ = 0, aol_ = 0;
  std::unique_ptr<clientsim::Client> client_;
  std::unique_ptr<clientsim::channel::Server> server_;
  std::vector<std::unique_ptr<Copy>> copies_;
  std::string shot_;
};

}  // namespace smoke
