// The faults the campaign does to the simulated world: windows of the client destroyed, the
// program folder and the disk refusing writes, files damaged, the wall clock set.
#pragma once

#include <set>
#include <string>

#include "app/demo_world.h"
#include "campaign/generator.h"

namespace campaign {

class Faults {
 public:
  Faults(app::DemoWorld& world, std::string hostFolder);
  // Lifts what is still in force, so the next scenario starts clean.
  ~Faults();
  Faults(const Faults&) = delete;
  Faults& operator=(const Faults&) = delete;

  // Sets the step's fault up before its lines run; what was done, for the transcript.
  std::string Apply(const Step& step);
  // The folder writable again and the disk no longer full.
  void Lift();
  bool WritesFailing() const { return folderLocked_ || diskFull_; }
  // The program files (names under the program folder) the campaign has damaged.
  const std::set<std::string>& Damaged() const { return damaged_; }

 private:
  void DestroyClientWindow(platform::HWND hwnd);
  void SetFolderWritable(bool writable);
  void Damage(const std::string& name, uint64_t seed, bool settings);

  app::DemoWorld& world_;
  std::string hostFolder_;
  bool folderLocked_ = false;
  bool diskFull_ = false;
  std::set<std::string> damaged_;
};

}  // namespace campaign
