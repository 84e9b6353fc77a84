// A world with the program running and its settings window attached, and the person who opens
// it from the menus and works on its pages.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "container_fixture.h"
#include "settings/settings_window.h"
#include "ui/combo_box.h"
#include "ui/list_box.h"
#include "ui_person.h"

namespace settingsfix {

class SettingsWindowTest : public ::testing::Test {
 protected:
  explicit SettingsWindowTest(containerfix::WorldOptions options = {});
  ~SettingsWindowTest() override;

  container::MainWindow& main() { return *world.main; }
  platform::sim::Desktop& desktop() { return world.desktop; }

  // "Control Panel" of the main window's Options menu; the window now open.
  settings::SettingsWindow& OpenControlPanel();
  // The person clicks a tab of the settings window by its caption.
  void ChooseTab(const std::string& caption);
  settings::SettingsWindow& window() { return *settings::frmSettings(); }

  // A control of the settings window by name (and index).
  template <class T>
  T& Control(const std::string& name, int index = -1) {
    T* control = window().Find<T>(name, index);
    if (control == nullptr) ADD_FAILURE() << "no control " << name << "(" << index << ")";
    return *control;
  }

  // The person clicks a control and the program runs until idle.
  void Click(const ui::Control& control);
  // The person clicks into a text box and types.
  void TypeInto(const ui::Control& control, const std::string& text);
  // Answers the next message box with a button, typing `input` first when given; its title
  // and text are noted in `boxes`.
  void AnswerBox(const std::string& button, std::optional<std::string> input = std::nullopt);
  // The person clicks an item of a list box (scrolled into view first).
  void ClickItem(ui::ListBox& list, int index);
  // The person opens a combo box's list and chooses the item with that text.
  void ChooseInCombo(ui::ComboBox& combo, const std::string& text);

  // The program folder's file by its relative path, or nothing when it is missing.
  std::optional<std::string> ProgramFile(const std::string& relative) const;
  std::string Setting(const std::string& key) const;
  // The items of a list box.
  static std::vector<std::string> Items(const ui::ListBox& list);

  struct ShownBox {
    std::string title;
    std::string text;
  };
  std::vector<ShownBox> boxes;

 private:
  struct Answer {
    std::string button;
    std::optional<std::string> input;
  };
  // Answers each new message box with the next answer, in the order they were given.
  bool AnswerWaitingBox();
  std::vector<Answer> answers_;
  platform::HWND lastAnswered_ = 0;

 protected:
  containerfix::World world;
  uitest::Person person{world.desktop};
};

}  // namespace settingsfix
