// A simulated desktop with the program's process current, a temporary program folder and a
// shown borderless form to hold the widgets under test, with pixel read-back from the screen.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "support/ui_person.h"
#include "ui/form.h"
#include "widgets/message_box.h"

namespace widgetstest {

inline constexpr gfx::Color kFormColor = 0x336699;

class WidgetsTest : public ::testing::Test {
 protected:
  WidgetsTest() : person(desktop) {
    platform::Install(&desktop);
    process = desktop.CreateProcess("Pallion");
    folder =
        std::filesystem::temp_directory_path() /
        ("pallion_widgets_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    platform::files::SetProgramFolder(folder.string());
    form = std::make_unique<ui::Form>("frmTest", "", ui::BorderStyle::None);
    form->SetBackColor(kFormColor);
    form->Move(100, 100, 300, 200);
    form->Show();
    desktop.RunPending();
  }
  ~WidgetsTest() override {
    form.reset();
    widgets::DestroyMessageBoxes();
    platform::Install(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  // The screen as painted now, and a pixel of it in a control's client coordinates.
  gfx::Canvas Shot() { return desktop.RenderScreen(); }
  static gfx::Color At(const gfx::Canvas& shot, const ui::Control& control, int x, int y) {
    platform::POINT p{x, y};
    platform::ClientToScreen(control.hwnd(), p);
    return shot.GetPixel(p.x, p.y);
  }
  gfx::Color PixelOf(const ui::Control& control, int x, int y) { return At(Shot(), control, x, y); }

  platform::sim::Desktop desktop;
  uitest::Person person;
  platform::DWORD process = 0;
  std::filesystem::path folder;
  std::unique_ptr<ui::Form> form;
};

}  // namespace widgetstest
