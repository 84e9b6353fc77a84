// What the simulated desktop recorded (sounds, pop-up menus, dialogs), counted by tests.
#pragma once

#include <cstddef>
#include <string>

#include "platform/sim/desktop.h"

namespace testevents {

// How many events of `kind` were recorded whose text holds `part` (any text when empty).
inline size_t Count(const platform::sim::Desktop& desktop, platform::sim::Event::Kind kind,
                    const std::string& part = "") {
  size_t n = 0;
  for (const platform::sim::Event& e : desktop.Events()) {
    n += e.kind == kind && e.text.find(part) != std::string::npos;
  }
  return n;
}

}  // namespace testevents
