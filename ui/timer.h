// A timer: raises Tick every Interval milliseconds while Enabled and Interval > 0, from a
// platform timer on a hidden window of its own. Changing Interval or enabling restarts the
// count.
#pragma once

#include "ui/control.h"

namespace ui {

class Timer : public Control {
 public:
  Timer(Parent parent, std::string name, unsigned interval = 0, bool enabled = true,
        int index = -1);
  ~Timer() override;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  // Whether the timer runs (hides the window state of Control, which a timer does not use).
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Running() const { return running_; }

  std::function<void()> OnTick;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;

 private:
  void Restart();

  unsigned interval_ = 0;
  bool enabled_ = true;
  bool running_ = false;
};

}  // namespace ui
