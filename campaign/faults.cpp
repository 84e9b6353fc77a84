#include "campaign/faults.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "campaign/random.h"
#include "platform/files.h"
#include "platform/win32.h"

namespace campaign {

namespace fs = std::filesystem;

namespace {

std::string ReadHost(const fs::path& path) {
  return platform::files::ReadHostFile(path).value_or("");
}

void WriteHost(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// "+90m", "-2h", "15s" as milliseconds.
int64_t SignedDuration(const std::string& text) {
  if (text.empty()) return 0;
  const bool back = text[0] == '-';
  const std::string digits = text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0);
  int64_t amount = 0;
  size_t i = 0;
  for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
    amount = amount * 10 + (digits[i] - '0');
  }
  const std::string unit = digits.substr(i);
  const int64_t scale = unit == "h" ? 3600000 : unit == "m" ? 60000 : unit == "s" ? 1000 : 1;
  return (back ? -1 : 1) * amount * scale;
}

}  // namespace

Faults::Faults(app::DemoWorld& world, std::string hostFolder)
    : world_(world), hostFolder_(std::move(hostFolder)) {}

Faults::~Faults() {
  Lift();
}

void Faults::DestroyClientWindow(platform::HWND hwnd) {
  if (hwnd == 0) return;
  platform::sim::Desktop::ProcessScope scope(world_.Desktop(), world_.ClientProcess());
  platform::DestroyWindow(hwnd);
}

void Faults::SetFolderWritable(bool writable) {
  std::error_code ec;
  const auto perms = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  const auto how = writable ? fs::perm_options::add : fs::perm_options::remove;
  fs::permissions(hostFolder_, perms, how, ec);
  for (auto it = fs::recursive_directory_iterator(hostFolder_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), perms, how, ec);
  }
}

void Faults::Lift() {
  if (folderLocked_) SetFolderWritable(true);
  if (folderLocked_ || diskFull_) platform::files::LimitWrites(std::nullopt);
  folderLocked_ = diskFull_ = false;
}

void Faults::Damage(const std::string& name, uint64_t seed, bool settings) {
  Random random(seed);
  const fs::path path = fs::path(hostFolder_) / name;
  const std::string old = ReadHost(path);
  std::string bytes;
  switch (random.Below(settings ? 5 : 4)) {
    case 0:  // noise, NULs included
      for (int i = random.Between(1, 600); i > 0; --i)
        bytes += static_cast<char>(random.Below(256));
      break;
    case 1:  // cut short, in the middle of a line
      bytes = old.substr(
          0, old.empty() ? 0 : static_cast<size_t>(random.Below(static_cast<int>(old.size()))));
      break;
    case 2:  // nothing at all
      break;
    case 3:  // one endless line without a line end
      bytes = std::string(static_cast<size_t>(random.Between(2000, 70000)), 'N');
      break;
    default:  // the old text with stray lines among its own, keys kept
      bytes = "garbage without equals\r\n" + old + "\n=\r\n[\r\nKey\x01=\xFF\r\n\r\n=novalue";
      break;
  }
  WriteHost(path, bytes);
  damaged_.insert(name);
}

std::string Faults::Apply(const Step& step) {
  if (!step.fault) return "";
  auto& client = world_.Client();
  auto& desktop = world_.Desktop();
  const auto& args = step.faultArgs;
  const std::string name = FaultName(*step.fault);
  switch (*step.fault) {
    case FaultKind::CloseInAdoption:
    case FaultKind::CloseInSend: {
      // The IM window of the name at that moment, closed by the client without a word.
      const std::string who = args.at(0);
      const uint64_t delay =
          std::stoull(args.at(1)) +
          (*step.fault == FaultKind::CloseInAdoption ? client.Options().actionDelayMs : 0);
      desktop.Schedule(
          delay, [this, who] { DestroyClientWindow(world_.Client().IMWindow(who)); },
          world_.ClientProcess());
      return name + ": the client will close " + who + "'s IM window after " + args.at(1) + " ms";
    }
    case FaultKind::MainWindowGone:
      DestroyClientWindow(client.MainWindow());
      return name + ": the client's main window is destroyed";
    case FaultKind::MdiClientGone:
      DestroyClientWindow(client.MdiClient());
      return name + ": the client's MDI client is destroyed";
    case FaultKind::FolderUnwritable:
      SetFolderWritable(false);
      // The permission bits do not hold for the superuser: the file layer refuses writes too.
      if (::geteuid() == 0) platform::files::LimitWrites(0);
      folderLocked_ = true;
      return name + ": the program folder refuses writes";
    case FaultKind::DiskFull:
      platform::files::LimitWrites(std::stoull(args.at(0)));
      diskFull_ = true;
      return name + ": the disk is full after " + args.at(0) + " more bytes";
    case FaultKind::DamagedSettings:
      Damage("Pallion.ini", std::stoull(args.at(0)), true);
      return name + ": Pallion.ini is damaged";
    case FaultKind::DamagedList:
      Damage(args.at(1), std::stoull(args.at(0)), false);
      return name + ": " + args.at(1) + " is damaged";
    case FaultKind::ClockJump:
      desktop.ShiftWallClock(SignedDuration(args.at(0)));
      return name + ": the wall clock is set " + args.at(0);
    case FaultKind::Midnight: {
      const platform::DateTime now = desktop.Now();
      const int64_t sinceMidnight =
          ((now.hour * 60ll + now.minute) * 60 + now.second) * 1000 + now.millisecond;
      desktop.ShiftWallClock(86400000 - sinceMidnight - SignedDuration(args.at(0)));
      return name + ": the wall clock is set to " + args.at(0) + " before midnight";
    }
    case FaultKind::PallionKilled:
      return name + ": Pallion's process is killed";
    case FaultKind::kCount:
      break;
  }
  return "";
}

}  // namespace campaign
