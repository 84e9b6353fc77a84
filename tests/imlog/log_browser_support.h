// The log page under test: the program and the stand-in client on the simulated desktop, and
// a shown host form whose frame holds the page's controls, as the settings window's frame does.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "imlog/im_log.h"
#include "imlog/log_browser.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "widgets/message_box.h"

namespace logtest {

// Makes a host file one that cannot be deleted (or deletable again); false where the file
// system or the user's rights do not allow it.
inline bool SetUndeletable(const std::string& hostPath, bool on) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

class LogPageTest : public ::testing::Test {
 protected:
  LogPageTest() : person(world.desktop) {
    form = std::make_unique<ui::Form>("frmSettings", "Control Panel", ui::BorderStyle::FixedDialog);
    form->Move(40, 40, 520, 430);
    frame = &form->Add<ui::Frame>("Frame5", "IM Logging", 8, 8, 496, 380);
    page = std::make_unique<imlog::LogBrowserPage>(*form, *frame);
    form->Show();
    world.desktop.RunPending();
  }
  ~LogPageTest() override {
    page.reset();
    form.reset();
    widgets::DestroyMessageBoxes();
  }

  // A conversation with `from`: they write, the person answers in the IM window, and the
  // writer logs it.
  void Converse(const std::string& from, const std::string& theirs, const std::string& ours) {
    const platform::HWND im = world.ReceiveAndAdopt(from, theirs);
    ASSERT_NE(im, 0u);
    world.client->TypeAndSendIM(from, ours);
    world.desktop.RunFor(2000);
    ASSERT_TRUE(imlog::WriteIMLog(im));
  }
  static std::string Logs() { return settings::FolderPath(settings::kLogsFolder); }
  void WriteLog(const std::string& relative, const std::string& text) {
    world.WriteProgramFile(std::string(settings::kLogsFolder) + relative, text);
  }
  // Clicks row `row` of a multi-column list.
  void ClickRow(const ui::ctList& list, int row) {
    person.Click(list, 20, 2 + list.HeaderHeight() + row * list.RowHeight() + list.RowHeight() / 2);
  }
  static std::vector<std::string> Rows(const ui::ctList& list, int column = 0) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.RowCount(); ++r) rows.push_back(list.CellText(r, column));
    return rows;
  }
  void ClickButton(int index) { person.Click(*page->AOButtonIMLog[index]); }

  containerfix::World world;
  uitest::Person person;
  std::unique_ptr<ui::Form> form;
  ui::Frame* frame = nullptr;
  std::unique_ptr<imlog::LogBrowserPage> page;
};

}  // namespace logtest
