#include "platform/system.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
System* installed = nullptr;
}

System& Current() {
  if (!installed) {
    std::fprintf(stderr, "platform: no backend installed\n");
    std::abort();
  }
  return *installed;
}

void Install(System* system) {
  installed = system;
}

}  // namespace platform
