#include "widgets/message_box.h"

#include <cstdlib>
#include <fstream>

#include "settings/settings_store.h"
#include "support/desktop_events.h"
#include "support/widgets_person.h"
#include "widgets/tiled_background.h"
#include "widgets_fixture.h"

namespace widgetstest {
namespace {

using namespace platform;
using widgets::MessageBoxInput;
using widgets::MessageBoxResult;

class MessageBoxTest : public WidgetsTest {
 protected:
  MessageBoxTest() {
    MessageBoxResult = "unset";
    MessageBoxInput = "unset";
  }
  static bool Shown(const ui::Control& c) { return c.Visible(); }
};

struct StyleCase {
  const char* name;
  int buttons;
  bool exclamation;
  const char* button0;
  const char* button1;  // nullptr: hidden
};

class MessageBoxStyleTest : public MessageBoxTest,
                            public ::testing::WithParamInterface<StyleCase> {};

TEST_P(MessageBoxStyleTest, PreparesPicturesAndButtons) {
  const StyleCase& c = GetParam();
  widgets::MessageBoxForm& box = widgets::MessageBox("Close this IM?", c.buttons, "Close IM");
  EXPECT_EQ(Shown(box.ImgEPoint), c.exclamation);
  EXPECT_EQ(Shown(box.ImgQuestion), !c.exclamation);
  EXPECT_EQ(box.AOButtonMessageBox0.Caption(), c.button0);
  if (c.button1 != nullptr) {
    EXPECT_TRUE(Shown(box.AOButtonMessageBox1));
    EXPECT_EQ(box.AOButtonMessageBox1.Caption(), c.button1);
  } else {
    EXPECT_FALSE(Shown(box.AOButtonMessageBox1));
    EXPECT_EQ(box.AOButtonMessageBox0.Left(),
              box.ClientWidth() / 2 - box.AOButtonMessageBox0.Width() / 2);
  }
  EXPECT_EQ(box.lblText.Caption(), "Close this IM?");
  EXPECT_EQ(box.lblCaption.Caption(), "Close IM");
}

INSTANTIATE_TEST_SUITE_P(Styles, MessageBoxStyleTest,
                         ::testing::Values(StyleCase{"OkOnly", 0, true, "OK", nullptr},
                                           StyleCase{"OkCancel", 1, false, "OK", "Cancel"},
                                           StyleCase{"AsDesigned2", 2, false, "Yes", "No"},
                                           StyleCase{"YesNoDesigned", 3, false, "Yes", "No"},
                                           StyleCase{"YesNo", 4, false, "Yes", "No"},
                                           StyleCase{"Other", 17, false, "Yes", "No"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AnswerCase {
  const char* name;
  int buttons;
  bool showInput;
  const char* initial;
  std::optional<std::string> typed;
  const char* press;
  const char* result;
  const char* input;
};

class MessageBoxAnswerTest : public MessageBoxTest,
                             public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(MessageBoxAnswerTest, ResultAndInputByButton) {
  const AnswerCase& c = GetParam();
  widgets_person::AnswerNextMessageBox(desktop, c.press, c.typed);
  const std::string result =
      widgets::ShowMessageBox(form->hwnd(), "Text", c.buttons, "Title", c.showInput, c.initial);
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(MessageBoxResult, c.result);
  EXPECT_EQ(MessageBoxInput, c.input);
  widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(Shown(*box));
  EXPECT_FALSE(box->Loaded());
  EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageBoxAnswerTest,
    ::testing::Values(
        AnswerCase{"Ok", 0, false, "", std::nullopt, "OK", "OK", ""},
        AnswerCase{"OkWithInput", 1, true, "", std::string("Fades"), "OK", "OK", "Fades"},
        AnswerCase{"CancelEmptiesInput", 1, true, "Old", std::string("typed"), "Cancel", "Cancel",
                   ""},
        AnswerCase{"OkKeepsInitialInput", 1, true, "Preset 1", std::nullopt, "OK", "OK",
                   "Preset 1"},
        AnswerCase{"Style3Yes", 3, false, "", std::nullopt, "Yes", "Yes", ""},
        AnswerCase{"Style3NoKeepsInput", 3, true, "name", std::nullopt, "No", "No", "name"},
        AnswerCase{"Style4Yes", 4, true, "", std::string("Bob"), "Yes", "Yes", "Bob"},
        AnswerCase{"Style4No", 4, false, "", std::nullopt, "No", "No", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageBoxTest, ClosedAnotherWayLeavesTheResults) {
  MessageBoxResult = "Yes";
  MessageBoxInput = "kept";
  widgets_person::CloseNextMessageBox(desktop);
  widgets::ShowMessageBox(form->hwnd(), "Really?", 4, "", true, "new text");
  EXPECT_EQ(MessageBoxResult, "Yes");
  EXPECT_EQ(MessageBoxInput, "kept");
  EXPECT_FALSE(Shown(*widgets::CurrentMessageBox()));
}

// A box opened while another waits lies on top; once it is answered the first waits again.
TEST_F(MessageBoxTest, TheWaitingBoxIsTheTopOneAndThenTheOneUnderIt) {
  std::vector<std::string> seen;
  desktop.Schedule(100, [&] {
    seen.push_back(widgets::WaitingMessageBox()->lblText.Caption());
    desktop.Schedule(100, [&] {
      seen.push_back(widgets::WaitingMessageBox()->lblText.Caption());
      desktop.Click(widgets::WaitingMessageBox()->AOButtonMessageBox0.hwnd());
      desktop.Schedule(100, [&] {
        seen.push_back(widgets::WaitingMessageBox()->lblText.Caption());
        desktop.Click(widgets::WaitingMessageBox()->AOButtonMessageBox1.hwnd());
      });
    });
    widgets::ShowMessageBox(form->hwnd(), "Second?", 4, "");
  });
  widgets::ShowMessageBox(form->hwnd(), "First?", 4, "");
  EXPECT_EQ(seen, (std::vector<std::string>{"First?", "Second?", "First?"}));
  EXPECT_EQ(widgets::WaitingMessageBox(), nullptr);
}

TEST_F(MessageBoxTest, EmptyCaptionKeepsTheDesignedTitle) {
  widgets::MessageBoxForm& box = widgets::MessageBox("", 3, "");
  EXPECT_EQ(box.lblCaption.Caption(), "Custom Message Box");
  EXPECT_EQ(box.lblText.Caption(), "");
}

TEST_F(MessageBoxTest, InputDisabledUnlessAskedButStillCopied) {
  widgets::MessageBoxForm& box = widgets::MessageBox("Notice", 0, "", false, "ignored");
  EXPECT_FALSE(box.txtInput.Enabled());
  EXPECT_EQ(box.txtInput.Text(), "");
  box.txtInput.SetText("left from before");
  widgets_person::AnswerNextMessageBox(desktop, "OK");
  box.ShowModal(form->hwnd());
  EXPECT_EQ(MessageBoxResult, "OK");
  EXPECT_EQ(MessageBoxInput, "left from before");
}

TEST_F(MessageBoxTest, ShowInputEnablesAndSelectsTheInitialText) {
  widgets::MessageBoxForm& box = widgets::MessageBox("Name?", 1, "", true, "Untitled");
  EXPECT_TRUE(box.txtInput.Enabled());
  EXPECT_EQ(box.txtInput.Text(), "Untitled");
  EXPECT_EQ(box.txtInput.SelStart(), 0);
  EXPECT_EQ(box.txtInput.SelLength(), 8);
}

TEST_F(MessageBoxTest, LoadingPlaysTheSoundAndStaysOnTop) {
  widgets::MessageBoxForm& box = widgets::MessageBox("x", 0);
  EXPECT_GE(testevents::Count(desktop, sim::Event::Kind::SystemSound, "SystemExclamation"), 1u);
  EXPECT_TRUE(GetWindowLong(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLong(box.hwnd(), GWL_STYLE) & WS_CAPTION);
}

TEST_F(MessageBoxTest, ButtonClickPlaysTheClickSound) {
  std::filesystem::create_directories(folder / "Sounds");
  std::ofstream(folder / "Sounds" / "Click.icp") << "RIFF";
  widgets_person::AnswerNextMessageBox(desktop, "OK");
  widgets::ShowMessageBox(form->hwnd(), "x", 0);
  EXPECT_GE(testevents::Count(desktop, sim::Event::Kind::Sound, "Click.icp"), 1u);
}

TEST_F(MessageBoxTest, PressOnTheWindowDragsIt) {
  widgets::MessageBoxForm& box = widgets::MessageBox("Drag me", 0);
  box.Show();
  int moves = 0;
  HANDLE watch = WatchWindow(box.hwnd(), [&](WatchedMessage& m, bool&) {
    if (m.msg == WM_SYSCOMMAND && m.wParam == SC_MOVE_CAPTION) ++moves;
  });
  desktop.MouseDown(box.hwnd(), 5, 100);
  desktop.MouseUp(box.hwnd(), 5, 100);
  desktop.MouseDown(box.lblText.hwnd(), 2, 2);
  desktop.MouseUp(box.lblText.hwnd(), 2, 2);
  EXPECT_EQ(moves, 2);
  UnwatchWindow(watch);
  box.Unload();
}

TEST_F(MessageBoxTest, BrickPictureWithoutGraLocation) {
  ASSERT_TRUE(widgets::EnsureDefaultWallPaper());
  widgets::MessageBoxForm& box = widgets::MessageBox("Bricks", 0);
  box.Show();
  ASSERT_TRUE(box.Picture().has_value());
  const gfx::Image brick = widgets::BrickPicture();
  gfx::Canvas shot = Shot();
  for (auto [x, y] : {std::pair{3, 140}, std::pair{70, 33}, std::pair{330, 145}}) {
    EXPECT_EQ(At(shot, box, x, y), brick.At(x % brick.width, y % brick.height) & 0xFFFFFF)
        << x << "," << y;
  }
  // Around the exclamation's shape the bricks show through.
  const int x = box.ImgEPoint.Left(), y = box.ImgEPoint.Top();
  EXPECT_EQ(At(shot, box.ImgEPoint, 0, 0), brick.At(x % brick.width, y % brick.height) & 0xFFFFFF);
  EXPECT_EQ(At(shot, box.ImgEPoint, 10, 26), 0x00D7FFu);
  if (const char* dir = std::getenv("PALLION_SHOTS")) {
    desktop.SaveScreenshot(std::string(dir) + "/message_box.png");
  }
  box.Unload();
}

TEST_F(MessageBoxTest, GraLocationPictureIsTiled) {
  gfx::Canvas tile(3, 2, 0x00FF00);
  tile.SetPixel(0, 0, 0x0000FF);
  const std::string path = (folder / "tile.png").string();
  ASSERT_TRUE(tile.SavePng(path));
  settings::WriteSetting(settings::keys::kGraLocation, path);
  widgets::MessageBoxForm& box = widgets::MessageBox("Tiles", 0);
  box.Show();
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, box, 3, 146), 0x0000FFu);
  EXPECT_EQ(At(shot, box, 4, 146), 0x00FF00u);
  EXPECT_EQ(At(shot, box, 333, 148), 0x0000FFu);
  box.Unload();
}

TEST_F(MessageBoxTest, NoPictureGivesAPlainBackground) {
  settings::WriteSetting(settings::keys::kGraLocation, (folder / "missing.gif").string());
  widgets::MessageBoxForm& box = widgets::MessageBox("Plain", 0);
  box.Show();
  EXPECT_FALSE(box.Picture().has_value());
  EXPECT_EQ(PixelOf(box, 3, 146), box.BackColor());
  box.Unload();
}

TEST_F(MessageBoxTest, DamagedPictureFileGivesAPlainBackground) {
  std::filesystem::create_directories(folder / "WallPapers");
  std::ofstream(folder / "WallPapers" / "BrickBig.gif") << "GIF89a broken";
  widgets::MessageBoxForm& box = widgets::MessageBox("Plain", 0);
  EXPECT_FALSE(box.Picture().has_value());
}

TEST(TiledBackground, BothEndsIncludedAndEmptyPictureIsSafe) {
  gfx::Image source;
  source.width = 4;
  source.height = 3;
  source.pixels.assign(12, 0x111111);
  source.pixels[0] = 0x0000FF;
  const gfx::Image tiled = widgets::ComposeTiled(source, 10, 7, 0xFFFFFF);
  ASSERT_EQ(tiled.width, 10);
  ASSERT_EQ(tiled.height, 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 10; ++x) {
      const gfx::Color want = (x % 4 == 0 && y % 3 == 0) ? 0x0000FF : 0x111111;
      EXPECT_EQ(tiled.At(x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  }
  const gfx::Image plain = widgets::ComposeTiled(gfx::Image{}, 5, 5, 0x123456);
  EXPECT_EQ(plain.At(4, 4) & 0xFFFFFF, 0x123456u);
}

TEST_F(MessageBoxTest, DefaultWallPaperWrittenOnceAndDecodable) {
  ASSERT_TRUE(widgets::EnsureDefaultWallPaper());
  const auto path = folder / "WallPapers" / "BrickBig.gif";
  auto image = gfx::Image::Load(path.string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, widgets::BrickPicture().width);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "mine";
  ASSERT_TRUE(widgets::EnsureDefaultWallPaper());
  std::ifstream in(path, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "mine");
}

}  // namespace
}  // namespace widgetstest
