#include "settings_window_fixture.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "commands/commands.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "ui/list_box.h"
#include "widgets/message_box.h"

namespace settingsfix {

SettingsWindowTest::SettingsWindowTest(containerfix::WorldOptions options)
    : world(std::move(options)) {
  commands::AttachCommands(main());
  settings::AttachSettingsWindow(main());
}

SettingsWindowTest::~SettingsWindowTest() {
  commands::Targets() = {};
  widgets::DestroyMessageBoxes();
}

settings::SettingsWindow& SettingsWindowTest::OpenControlPanel() {
  main().mnuControlPanel[0]->Click();
  desktop().RunFor(100);
  EXPECT_NE(settings::frmSettings(), nullptr);
  return window();
}

void SettingsWindowTest::ChooseTab(const std::string& caption) {
  ui::TabStrip& strip = window().TabStrip1;
  for (int i = 1; i <= strip.Count(); ++i) {
    if (strip.Item(i).caption != caption) continue;
    const gfx::Rect r = strip.TabRect(i);
    person.Click(strip, r.x + r.width / 2, r.y + r.height / 2);
    desktop().RunFor(50);
    return;
  }
  ADD_FAILURE() << "no tab " << caption;
}

void SettingsWindowTest::Click(const ui::Control& control) {
  person.Click(control);
  desktop().RunFor(50);
}

void SettingsWindowTest::TypeInto(const ui::Control& control, const std::string& text) {
  person.TypeInto(control, text);
  desktop().RunFor(50);
}

void SettingsWindowTest::AnswerBox(const std::string& button, std::optional<std::string> input) {
  answers_.push_back({button, std::move(input)});
  if (answers_.size() == 1) desktop().AddResponder([this] { return AnswerWaitingBox(); });
}

bool SettingsWindowTest::AnswerWaitingBox() {
  widgets::MessageBoxForm* box = widgets::WaitingMessageBox();
  if (answers_.empty()) return true;
  if (box == nullptr || box->hwnd() == lastAnswered_) {
    return false;
  }
  lastAnswered_ = box->hwnd();
  const Answer answer = answers_.front();
  answers_.erase(answers_.begin());
  boxes.push_back({box->lblCaption.Caption(), box->lblText.Caption()});
  if (answer.input && box->txtInput.Enabled()) {
    box->txtInput.SetFocus();
    box->txtInput.SetSelStart(0);
    box->txtInput.SetSelLength(static_cast<int>(box->txtInput.Text().size()));
    desktop().TypeText(*answer.input);
  }
  for (int i = 0; i < 2; ++i) {
    widgets::AOButton& b = box->Button(i);
    if (b.Caption() == answer.button && platform::IsWindowVisible(b.hwnd())) {
      desktop().Click(b.hwnd());
      return answers_.empty();
    }
  }
  ADD_FAILURE() << "the message box has no button \"" << answer.button << "\"";
  platform::PostMessage(box->hwnd(), platform::WM_CLOSE, 0, 0);
  return answers_.empty();
}

void SettingsWindowTest::ClickItem(ui::ListBox& list, int index) {
  list.SetTopIndex(index);
  const int row = index - list.TopIndex();
  person.Click(list, 10, 2 + row * list.ItemHeight() + list.ItemHeight() / 2);
  desktop().RunFor(50);
}

void SettingsWindowTest::ChooseInCombo(ui::ComboBox& combo, const std::string& text) {
  person.AnswerNextPopup(text);
  Click(combo);
}

std::optional<std::string> SettingsWindowTest::ProgramFile(const std::string& relative) const {
  std::ifstream in(world.ProgramPath(relative), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string SettingsWindowTest::Setting(const std::string& key) const {
  return settings::ReadSetting(key);
}

std::vector<std::string> SettingsWindowTest::Items(const ui::ListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
  return items;
}

}  // namespace settingsfix
