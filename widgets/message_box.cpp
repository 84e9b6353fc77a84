#include "widgets/message_box.h"

#include <algorithm>
#include <vector>

#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/tiled_background.h"

namespace widgets {

using namespace platform;

std::string MessageBoxResult;
std::string MessageBoxInput;

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 22;
constexpr int kButtonTop = 116;
constexpr gfx::Color kPlainBackground = 11169024;
constexpr gfx::Color kTextColor = 0xFFFFFF;

gfx::Font TitleFont() {
  gfx::Font font;
  font.face = "Tahoma";
  font.bold = true;
  return font;
}

gfx::Font TextFont() {
  gfx::Font font;
  font.face = "Tahoma";
  return font;
}

// The boxes made so far; one closed by its buttons is kept until the next one is made, so that
// a caller may still read it after ShowModal returns.
std::vector<std::unique_ptr<MessageBoxForm>>& Boxes() {
  static std::vector<std::unique_ptr<MessageBoxForm>> boxes;
  return boxes;
}

}  // namespace

MessageBoxForm::MessageBoxForm()
    : ui::Form("frmMessageBox", "", ui::BorderStyle::None),
      lblCaption(Add<ui::Label>("lblCaption", kMessageBoxTitle, 10, 7, kWidth - 20, 16)),
      lblText(Add<ui::Label>("lblText", "", 56, 32, kWidth - 68, 48)),
      ImgEPoint(Add<ui::PictureBox>("ImgEPoint", 12, 34, 32, 32)),
      ImgQuestion(Add<ui::PictureBox>("ImgQuestion", 12, 34, 32, 32)),
      txtInput(Add<ui::TextBox>("txtInput", 56, 84, kWidth - 68, 21)),
      AOButtonMessageBox0(Add<AOButton>("AOButtonMessageBox", "Yes", 90, kButtonTop, kButtonWidth,
                                        kButtonHeight, 0)),
      AOButtonMessageBox1(Add<AOButton>("AOButtonMessageBox", "No", 175, kButtonTop, kButtonWidth,
                                        kButtonHeight, 1)),
      picIMLoad(Add<ui::PictureBox>("picIMLoad", 0, 0, 1, 1)),
      picIMtile(Add<ui::PictureBox>("picIMtile", 0, 0, 1, 1)) {
  Move(0, 0, kWidth, kHeight);
  SetBackColor(kPlainBackground);
  picIMLoad.SetVisible(false);
  picIMtile.SetVisible(false);

  for (ui::Label* label : {&lblCaption, &lblText}) {
    label->SetOpaque(false);
    label->SetForeColor(kTextColor);
  }
  lblCaption.SetFont(TitleFont());
  lblText.SetFont(TextFont());
  txtInput.SetFont(TextFont());
  txtInput.SetEnabled(false);

  ImgEPoint.SetPicture(ExclamationPicture());
  ImgEPoint.SetBackColor(kPlainBackground);
  ImgQuestion.SetPicture(QuestionPicture());
  ImgQuestion.SetBackColor(kPlainBackground);
  ImgEPoint.SetVisible(false);

  for (AOButton* button : {&AOButtonMessageBox0, &AOButtonMessageBox1}) {
    button->SetFontBold(true);
    const int index = button->Index();
    button->OnClick = [this, index] { ButtonClicked(index); };
  }

  // A press anywhere on the window, its labels and pictures included, drags it.
  auto drag = [this](int button, int, int, int) {
    if (button == ui::kLeftButton) host::DragForm(hwnd());
  };
  for (ui::Control* part :
       std::initializer_list<ui::Control*>{this, &lblCaption, &lblText, &ImgEPoint, &ImgQuestion}) {
    part->OnMouseDown = drag;
  }
  OnLoad = [this] { FormLoad(); };
}

void MessageBoxForm::FormLoad() {
  PlaySystemSound("SystemExclamation");
  host::StayOnTop(hwnd());
  std::optional<gfx::Image> picture = LoadMessageBoxPicture();
  if (picture) picIMLoad.SetPicture(picture);
  ApplyTiledBackground(*this, picIMtile, picture);
  // The pictures show the window's background around their shapes.
  const std::optional<gfx::Image>& background = Picture();
  if (background) {
    for (auto [box, icon] : {std::pair{&ImgEPoint, ExclamationPicture()},
                             std::pair{&ImgQuestion, QuestionPicture()}}) {
      gfx::Canvas canvas(box->Width(), box->Height(), BackColor());
      canvas.DrawImage(*background, -box->Left(), -box->Top());
      canvas.DrawImage(icon, 0, 0);
      box->SetPicture(canvas.ToImage());
    }
  }
  // Centred on the screen, as the window first shows.
  RECT screen;
  GetWindowRect(GetDesktopWindow(), screen);
  Move((screen.Width() - kWidth) / 2, (screen.Height() - kHeight) / 2);
}

void MessageBoxForm::Prepare(const std::string& text, int buttons, const std::string& caption,
                             bool showInput, const std::string& inputText) {
  if (!caption.empty()) lblCaption.SetCaption(caption);
  switch (buttons) {
    case 0:
      ImgEPoint.SetVisible(true);
      ImgQuestion.SetVisible(false);
      AOButtonMessageBox0.SetCaption("OK");
      AOButtonMessageBox1.SetVisible(false);
      AOButtonMessageBox0.SetLeft(ClientWidth() / 2 - AOButtonMessageBox0.Width() / 2);
      break;
    case 1:
      ImgEPoint.SetVisible(false);
      ImgQuestion.SetVisible(true);
      AOButtonMessageBox0.SetCaption("OK");
      AOButtonMessageBox1.SetCaption("Cancel");
      break;
    case 3:
      ImgEPoint.SetVisible(false);
      ImgQuestion.SetVisible(true);
      break;
    case 4:
      ImgEPoint.SetVisible(false);
      ImgQuestion.SetVisible(true);
      AOButtonMessageBox0.SetCaption("Yes");
      break;
    default:
      break;
  }
  if (!text.empty()) lblText.SetCaption(text);
  if (showInput) {
    txtInput.SetEnabled(true);
    if (!inputText.empty()) {
      txtInput.SetText(inputText);
      txtInput.SetSelStart(0);
      txtInput.SetSelLength(static_cast<int>(inputText.size()));
    }
  }
  // Enter answers with the first button, Esc with the second (or the only one).
  SetDialogKeys(true);
  SetDefaultButton(&AOButtonMessageBox0);
  SetCancelButton(buttons == 0 ? &AOButtonMessageBox0 : &AOButtonMessageBox1);
}

void MessageBoxForm::ButtonClicked(int index) {
  host::PlaySoundFile(settings::FolderPath(kClickSound));
  if (index == 0) {
    MessageBoxResult = AOButtonMessageBox0.Caption() == "OK" ? "OK" : "Yes";
    MessageBoxInput = txtInput.Text();
  } else if (AOButtonMessageBox1.Caption() == "No") {
    MessageBoxResult = "No";
    MessageBoxInput = txtInput.Text();
  } else {
    MessageBoxResult = "Cancel";
    MessageBoxInput = "";
  }
  result_ = MessageBoxResult;
  input_ = MessageBoxInput;
  Unload();
}

MessageBoxForm& MessageBox(const std::string& text, int buttons, const std::string& caption,
                           bool showInput, const std::string& inputText) {
  auto& boxes = Boxes();
  // Boxes that are done go; one still shown (a question asked while another waits) stays.
  std::erase_if(boxes, [](const std::unique_ptr<MessageBoxForm>& box) {
    return !box->IsModal() && !(box->hwnd() != 0 && IsWindowVisible(box->hwnd()));
  });
  boxes.push_back(std::make_unique<MessageBoxForm>());
  MessageBoxForm& box = *boxes.back();
  box.Load();
  box.Prepare(text, buttons, caption, showInput, inputText);
  return box;
}

MessageBoxForm* CurrentMessageBox() {
  auto& boxes = Boxes();
  return boxes.empty() ? nullptr : boxes.back().get();
}

MessageBoxForm* WaitingMessageBox() {
  const auto& boxes = Boxes();
  for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
    if ((*box)->IsModal() && IsWindowVisible((*box)->hwnd())) return box->get();
  }
  return nullptr;
}

void DestroyMessageBoxes() {
  Boxes().clear();
}

std::optional<Answer> AskMessageBox(HWND owner, const std::string& text, int buttons,
                                    const std::string& caption, bool showInput,
                                    const std::string& inputText) {
  MessageBoxForm* box = &MessageBox(text, buttons, caption, showInput, inputText);
  box->ShowModal(owner);
  // Boxes made while this one waited keep it while it is modal; only DestroyMessageBoxes takes
  // it away meanwhile.
  const auto& boxes = Boxes();
  const bool kept = std::any_of(boxes.begin(), boxes.end(),
                                [box](const auto& made) { return made.get() == box; });
  if (!kept || box->Result().empty()) return std::nullopt;
  return Answer{box->Result(), box->Input()};
}

std::string ShowMessageBox(HWND owner, const std::string& text, int buttons,
                           const std::string& caption, bool showInput,
                           const std::string& inputText) {
  const std::optional<Answer> answer =
      AskMessageBox(owner, text, buttons, caption, showInput, inputText);
  return answer ? answer->result : "";
}

std::optional<gfx::Image> LoadMessageBoxPicture() {
  std::string path = settings::ReadSetting(settings::keys::kGraLocation);
  if (path.empty()) path = settings::FolderPath(settings::kDefaultWallPaper);
  if (!files::Exists(path) || files::IsDirectory(path)) return std::nullopt;
  return gfx::Image::Load(files::HostPath(path).string());
}

namespace {

constexpr gfx::Color kSentinel = 0xFF00FF;  // painted where the picture stays transparent

gfx::Image WithTransparency(const gfx::Canvas& canvas) {
  gfx::Image image = canvas.ToImage();
  for (gfx::Color& p : image.pixels) {
    if ((p & 0xFFFFFF) == kSentinel) p = 0xFF000000;
  }
  return image;
}

}  // namespace

gfx::Image ExclamationPicture() {
  constexpr int kSize = 32;
  gfx::Canvas canvas(kSize, kSize, kSentinel);
  // A yellow warning triangle with a black edge and a black "!".
  for (int y = 2; y < 30; ++y) {
    const int half = (y - 2) / 2 + 2;
    canvas.Line(kSize / 2 - half, y, kSize / 2 + half, y, 0x00D7FF);
    canvas.SetPixel(kSize / 2 - half, y, 0x000000);
    canvas.SetPixel(kSize / 2 + half - 1, y, 0x000000);
  }
  canvas.Line(1, 30, kSize - 1, 30, 0x000000);
  canvas.FillRect(15, 10, 2, 12, 0x000000);
  canvas.FillRect(15, 24, 2, 3, 0x000000);
  return WithTransparency(canvas);
}

gfx::Image QuestionPicture() {
  constexpr int kSize = 32;
  gfx::Canvas canvas(kSize, kSize, kSentinel);
  // A white disc in a dark blue ring with a blue "?".
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int dx = 2 * x - (kSize - 1), dy = 2 * y - (kSize - 1);
      const int d2 = dx * dx + dy * dy;
      if (d2 <= 26 * 26)
        canvas.SetPixel(x, y, 0xFFFFFF);
      else if (d2 <= 31 * 31)
        canvas.SetPixel(x, y, 0x800000);
    }
  }
  gfx::Font font;
  font.face = "Arial";
  font.sizePoints = 16;
  font.bold = true;
  const int w = gfx::Canvas::TextWidth("?", font);
  const int h = gfx::Canvas::TextHeight(font);
  canvas.DrawText((kSize - w) / 2, (kSize - h) / 2, "?", font, 0xC00000);
  return WithTransparency(canvas);
}

gfx::Image BrickPicture() {
  constexpr int kWidth = 64;
  constexpr int kHeight = 32;
  constexpr gfx::Color kMortar = 0x9BA5AE;  // light grey-beige
  gfx::Canvas canvas(kWidth, kHeight, kMortar);
  const gfx::Color bricks[] = {0x1E2C8C, 0x22338F, 0x1A2882, 0x263896};
  int n = 0;
  for (int row = 0; row < 4; ++row) {
    const int y = row * 8;
    const int shift = (row % 2) * 16;
    for (int x = -shift; x < kWidth; x += 32) {
      const gfx::Color face = bricks[n++ % 4];
      const int left = std::max(x, 0);
      const int right = std::min(x + 31, kWidth);
      canvas.FillRect(left, y, right - left, 7, face);
      // A lighter top edge and a darker bottom edge give each brick some depth.
      canvas.Line(left, y, right, y, face + 0x101010);
      canvas.Line(left, y + 6, right, y + 6, face - 0x0A0A0A);
    }
  }
  return canvas.ToImage();
}

bool EnsureDefaultWallPaper() {
  const std::string path = settings::FolderPath(settings::kDefaultWallPaper);
  if (files::Exists(path)) return true;
  const std::string folder = settings::FolderPath(settings::kWallPapersFolder);
  if (!files::IsDirectory(folder)) files::MakeDirectory(folder);
  gfx::Canvas canvas(1, 1);
  const gfx::Image brick = BrickPicture();
  canvas.Resize(brick.width, brick.height);
  canvas.DrawImage(brick, 0, 0);
  return canvas.SavePng(files::HostPath(path).string());
}

}  // namespace widgets
