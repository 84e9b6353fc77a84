// Conversations that survive the program's death: at the start a recovery journal left behind
// becomes log entries and the person is told; while the program runs the journal is kept up to
// date every few seconds and follows each log written; a clean exit leaves none.
#pragma once

#include <string>

#include "imlog/recovery_journal.h"

namespace container {
class MainWindow;
}

namespace startup {

inline constexpr const char* kRecoveredCaption = "Conversations Recovered";
// How long after the start the person is told what was recovered (once the IMs are back).
inline constexpr unsigned kRecoveredNoticeMs = 1000;

// What the person is told of a recovery; "" when there is nothing to tell.
std::string RecoveredNotice(const imlog::Recovery& recovery);

void AttachRecovery(container::MainWindow& main);

}  // namespace startup
