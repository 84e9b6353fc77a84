// The client's small controls: icon buttons, statics, one-line edits, plain panels and the chat
// room's member list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clientsim/control.h"

namespace clientsim {

// "_AOL_Icon" and "_AOL_Button". A press is a button-down followed by
// a space key-up (after key-down) or by a button-up; either ends it with one click.
class Icon : public Control {
 public:
  std::function<void()> onClick;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;

 private:
  void Click();
  bool pressed_ = false;
};

// "_AOL_Static": a line of text.
class Label : public Control {
 public:
  gfx::Color background = kFace;
  gfx::Color color = kBlack;

 protected:
  void Paint(gfx::Canvas& canvas, int width, int height) override;
};

// "_AOL_Edit": one line of typed text, Enter reported.
class LineEdit : public Control {
 public:
  std::function<void()> onEnter;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;
};

// The keyword box's "Edit": the system's edit control, with Enter reported.
class KeywordEdit : public Control {
 public:
  std::function<void()> onEnter;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
};

// A plain container or placeholder ("AOL Toolbar", "_AOL_Toolbar", "_AOL_Combobox",
// "_AOL_FontCombo", "_AOL_EditImage", the error box "#32770").
class Panel : public Control {
 public:
  explicit Panel(gfx::Color fill = kFace, bool hideOnClose = false, bool sunken = false)
      : fill_(fill), hideOnClose_(hideOnClose), sunken_(sunken) {}
  // A control's notification (WM_COMMAND): its id and code.
  std::function<void(platform::UINT id, platform::UINT code)> onCommand;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;

 private:
  gfx::Color fill_;
  bool hideOnClose_;
  bool sunken_;
};

// "_AOL_Listbox" of a chat room. Each member's item data is the address of a block in the
// client's memory; at that address + 28 lies a 4-byte pointer to the member record, whose name
// starts 6 bytes in: at most 16 bytes, NUL-terminated only when shorter.
class MemberList : public Control {
 public:
  static constexpr uint32_t kPointerOffset = 28;
  static constexpr uint32_t kNameOffset = 6;
  static constexpr size_t kNameBytes = 16;

  bool Add(const std::string& name);
  bool Remove(const std::string& name);  // compared without regard to case
  std::vector<std::string> Names() const;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;

 private:
  struct Member {
    std::string name;
    uint32_t itemData = 0;
  };
  std::vector<Member> members_;
};

}  // namespace clientsim
