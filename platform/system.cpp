#include "platform/system.h"

#include <cstdlib>
#include <cstdio>

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

void Install(System* system) { installed = system; }

}  // namespace platform
