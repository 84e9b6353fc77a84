// The online services of the main window: the urgent-news check of TimerUrgentNews, the update
// check behind "Check for Updates", and the one-shot timers of Tell a Friend and Advertise.
//
// Attach once per main window, before it loads:
//   online::Attach(main);
// It also arms the advert that the main window's start posts into an open chat room.
#pragma once

#include <string>

#include "container/main_window.h"

namespace online {

void Attach(container::MainWindow& main);

// The update check's window (the "Check for Updates" command once the news check is done).
void ShowLiveUpdate();

// The announcement as the settings file keeps it (key "UrgentNews"): one line, line ends as
// spaces, cut to what the file gives back, so that a text once shown compares equal.
std::string StoredAnnouncement(const std::string& text);

// One TimerUrgentNews tick. The first tick after the timer starts only arms the check; from
// the second on, nothing happens until a user is signed on; then the announcement is fetched
// once, shown when it is new, remembered, and the timer stops. A failed fetch shows nothing and
// keeps the stored announcement.
class UrgentNewsCheck {
 public:
  explicit UrgentNewsCheck(container::MainWindow& main) : main_(main) {}
  void Tick();

 private:
  container::MainWindow& main_;
  bool armed_ = false;
};

}  // namespace online
