#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files.h"

namespace fuzzing {

namespace fs = std::filesystem;

namespace {

// A scratch folder in memory when the machine has one: the targets write a file per input.
fs::path ScratchFolder() {
  const char* shm = "/dev/shm";
  std::string base = fs::is_directory(shm) ? shm : fs::temp_directory_path().string();
  std::string pattern = base + "/pallion-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Fail("no scratch folder", pattern);
  return pattern;
}

}  // namespace

platform::sim::Desktop& SimDesktop() {
  static platform::sim::Desktop* desktop = [] {
    auto* made = new platform::sim::Desktop();
    platform::Install(made);
    made->CreateProcess("Pallion");
    const fs::path folder = ScratchFolder();
    fs::create_directories(folder / "Fades");
    fs::create_directories(folder / "Messages");
    platform::files::SetProgramFolder(folder.string());
    // The scratch folder goes with the process, however the run ends.
    static const fs::path removeAtExit = folder;
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(removeAtExit, ignored);
    });
    return made;
  }();
  return *desktop;
}

std::string PutProgramFile(const std::string& name, const std::string& bytes) {
  SimDesktop();
  const std::string path = platform::files::ProgramFolder() + name;
  std::ofstream out(platform::files::HostPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) Fail("cannot write the scratch file", path);
  return path;
}

void Fail(const std::string& what, const std::string& detail) {
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  if (!detail.empty()) std::fprintf(stderr, "  %s\n", detail.c_str());
  std::abort();
}

}  // namespace fuzzing
