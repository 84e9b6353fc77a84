// pallion-folder DIR: makes DIR a program folder as a new installation has it (used by
// `make dist` to lay out the folder shipped beside Pallion.exe).
#include <cstdio>
#include <filesystem>

#include "app/program_folder.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pallion-folder DIR\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  platform::files::SetProgramFolder(argv[1]);
  if (ec || !app::PrepareProgramFolder()) {
    std::fprintf(stderr, "pallion-folder: cannot prepare %s\n", argv[1]);
    return 1;
  }
  return 0;
}
