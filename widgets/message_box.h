// The program's own message box: a borderless, topmost window on the tiled background with a
// title line, the message, an exclamation or question picture, an optional one-line input and
// two flat buttons. Prepared by MessageBox, shown modally, unloaded by either button; the
// choice and the input are left in MessageBoxResult and MessageBoxInput.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "widgets/ao_button.h"

namespace widgets {

// "OK", "Yes", "No" or "Cancel" after a message box closed by a button; both keep their values
// until the next message box closes by a button.
extern std::string MessageBoxResult;
extern std::string MessageBoxInput;

inline constexpr const char* kMessageBoxTitle = "Custom Message Box";
inline constexpr const char* kClickSound = "\\Sounds\\Click.icp";

class MessageBoxForm : public ui::Form {
 public:
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 150;

  MessageBoxForm();

  ui::Label& lblCaption;
  ui::Label& lblText;
  ui::PictureBox& ImgEPoint;
  ui::PictureBox& ImgQuestion;
  ui::TextBox& txtInput;
  AOButton& AOButtonMessageBox0;
  AOButton& AOButtonMessageBox1;
  ui::PictureBox& picIMLoad;
  ui::PictureBox& picIMtile;

  AOButton& Button(int index) { return index == 0 ? AOButtonMessageBox0 : AOButtonMessageBox1; }
  // Fills the window for one question (the steps of MessageBox).
  void Prepare(const std::string& text, int buttons, const std::string& caption, bool showInput,
               const std::string& inputText);
  // This box's own result and input once a button closed it; "" before, and for a box closed
  // another way.
  const std::string& Result() const { return result_; }
  const std::string& Input() const { return input_; }

 private:
  void FormLoad();
  void ButtonClicked(int index);

  std::string result_;
  std::string input_;
};

// Loads a fresh message box and prepares it; the caller shows it modally (ShowModal) and
// reads the results after it closes. The box lives until the next one is made.
MessageBoxForm& MessageBox(const std::string& text, int buttons, const std::string& caption = "",
                           bool showInput = false, const std::string& inputText = "");
// The message box made last, or nullptr.
MessageBoxForm* CurrentMessageBox();
// Of the boxes shown modally and waiting for an answer, the one made last (a box opened while
// another waits lies on top of it), or nullptr.
MessageBoxForm* WaitingMessageBox();
// Destroys every message box made so far (at shutdown, before the platform goes).
void DestroyMessageBoxes();
// The person's answer to one message box: the button's result and the input line's text.
struct Answer {
  std::string result;
  std::string input;
};
// MessageBox, shown modally over `owner`: the answer to this box, or nothing when it was closed
// another way than by its buttons. What an earlier box left in MessageBoxResult never counts.
std::optional<Answer> AskMessageBox(platform::HWND owner, const std::string& text, int buttons,
                                    const std::string& caption = "", bool showInput = false,
                                    const std::string& inputText = "");
// AskMessageBox's result alone: "" when the box was closed without an answer.
std::string ShowMessageBox(platform::HWND owner, const std::string& text, int buttons,
                           const std::string& caption = "", bool showInput = false,
                           const std::string& inputText = "");

// The pictures of the message box, drawn in code.
gfx::Image ExclamationPicture();
gfx::Image QuestionPicture();

// The message box's background picture: the file named by GraLocation when set, else the
// program folder's default wallpaper; nothing when it does not load.
std::optional<gfx::Image> LoadMessageBoxPicture();

// A brick-pattern picture, and the program folder's "\WallPapers\BrickBig.gif" written with it
// (PNG bytes, which the picture loader recognises by content) when that file is missing. False
// when the file is missing and could not be written.
gfx::Image BrickPicture();
bool EnsureDefaultWallPaper();

}  // namespace widgets
