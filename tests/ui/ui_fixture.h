// A simulated desktop installed as the platform, with the program's process current and a
// shown form to put controls on.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "support/ui_person.h"
#include "ui/form.h"

namespace uitest {

class UiTest : public ::testing::Test {
 protected:
  UiTest() : person(desktop) {
    platform::Install(&desktop);
    process = desktop.CreateProcess("Pallion");
    form = std::make_unique<ui::Form>("frmTest", "Test");
    form->Move(50, 50, 400, 300);
    form->Show();
    desktop.RunPending();
  }
  ~UiTest() override {
    form.reset();
    platform::Install(nullptr);
  }

  platform::sim::Desktop desktop;
  Person person;
  platform::DWORD process = 0;
  std::unique_ptr<ui::Form> form;
};

}  // namespace uitest
