#include "settings/settings_window_general.h"

#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "widgets/message_box.h"

namespace settings {

namespace files = platform::files;

namespace {

void RunMenuItem(ui::Menu* item) {
  if (item != nullptr && item->OnClick) item->OnClick();
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

GeneralPage::GeneralPage(const PageContext& context)
    : frame1Other(MakeControl<ui::Frame>(context.window, context.frame, "frame1Other", "Other", 10,
                                         20, 300, 130)),
      FrameGraphical(MakeControl<ui::Frame>(context.window, context.frame, "FrameGraphical",
                                            "Pallion Graphical?", 10, 160, 470, 190)),
      txtGraphical(MakeControl<ui::TextBox>(context.window, FrameGraphical, "txtGraphical", 10, 44,
                                            405, 21)),
      File1(MakeControl<ui::ListBox>(context.window, FrameGraphical, "File1", 10, 72, 450, 108)),
      AOButtonBrowse2(MakeControl<widgets::AOButton>(context.window, FrameGraphical,
                                                     "AOButtonBrowse2", "...", 420, 44, 40, 21)),
      frameStyle(MakeControl<ui::Frame>(context.window, context.frame, "frameStyle", "Style", 320,
                                        20, 160, 75)),
      window_(context.window),
      main_(context.main) {
  for (int i = 0; i < 5; ++i) {
    ChkOtherFrame1[i] = &MakeControl<ui::CheckBox>(window_, frame1Other, "ChkOtherFrame1",
                                                   kOtherCaptions[i], 10, 18 + 21 * i, 280, 19, i);
    ChkOtherFrame1[i]->OnClick = [this, i] { ChkOtherFrame1Click(i); };
  }
  const char* graphical[] = {"False", "True"};
  for (int i = 0; i < 2; ++i) {
    optGraphical[i] = &MakeControl<ui::OptionButton>(window_, FrameGraphical, "optGraphical",
                                                     graphical[i], 10 + 80 * i, 20, 70, 19, i);
    optGraphical[i]->OnClick = [this, i] { optGraphicalClick(i); };
  }
  const char* style[] = {"Use Tabs", "Use List Box"};
  for (int i = 0; i < 2; ++i) {
    optStyle[i] = &MakeControl<ui::OptionButton>(window_, frameStyle, "optStyle", style[i], 10,
                                                 20 + 24 * i, 140, 19, i);
    optStyle[i]->OnClick = [this, i] { optStyleClick(i); };
  }
  txtGraphical.SetLocked(true);
  AOButtonBrowse2.SetToolTipText("Browse..");
  AOButtonBrowse2.OnClick = [this] { AOButtonBrowse2Click(); };
  File1.OnClick = [this] { File1Click(); };
}

std::string GeneralPage::File1Path() const {
  std::string folder = FolderPath(kWallPapersFolder);
  folder.pop_back();  // File1's folder carries no closing "\"
  return folder;
}

void GeneralPage::RefreshFile1() {
  File1.Clear();
  for (const std::string& name : files::List(File1Path(), "*.*")) File1.AddItem(name);
}

void GeneralPage::LoadSettings() {
  loading_ = true;
  RefreshFile1();

  optStyle[ReadSetting(keys::kStyle) == "1" ? 0 : 1]->SetValue(true);

  const std::string graphical = ReadSetting(keys::kGraphical);
  if (graphical == "1") {
    optGraphical[0]->SetValue(true);
    File1.SetEnabled(false);
  } else if (graphical == "2") {
    optGraphical[1]->SetValue(true);
    File1.SetEnabled(true);
    const std::string location = ReadSetting(keys::kGraLocation);
    if (!location.empty()) {
      txtGraphical.SetText(location);
      for (int i = 0; i < File1.ListCount(); ++i) {
        if (platform::EqualNoCase(File1Path() + "\\" + File1.List(i), location)) {
          File1.SetListIndex(i);
        }
      }
    } else {
      const std::string fallback = FolderPath(kDefaultWallPaper);
      txtGraphical.SetText(fallback);
      StoreSetting(keys::kGraLocation, fallback, window_.hwnd());
    }
  } else {
    optGraphical[1]->SetValue(true);
    txtGraphical.SetText(kDefaultImageText);
    File1.SetEnabled(true);
  }
  loading_ = false;

  // A ticked box runs its click's work as a person's tick does, so the keys are written and
  // the menus marked even when the box was already ticked from an earlier load.
  for (int i = 0; i < 5; ++i) {
    loading_ = true;
    ChkOtherFrame1[i]->SetValue(ReadSetting(kOtherKeys[i]) == "0" ? 0 : 1);
    loading_ = false;
    if (ChkOtherFrame1[i]->Value() == 1) ChkOtherFrame1Click(i);
  }
}

void GeneralPage::ChkOtherFrame1Click(int index) {
  if (loading_ || index < 0 || index > 4) return;
  const bool on = ChkOtherFrame1[index]->Value() == 1;
  if (index < 2) main_.mnuEntertoSend[index]->SetChecked(on);
  StoreSetting(kOtherKeys[index], on ? "1" : "0", window_.hwnd());
}

void GeneralPage::optStyleClick(int index) {
  if (loading_ || index < 0 || index > 1) return;
  // The menu's Style item does the same: marks, the key, the layout and the list's fonts.
  RunMenuItem(main_.mnuStyleSub[index]);
}

void GeneralPage::optGraphicalClick(int index) {
  if (loading_ || index < 0 || index > 1) return;
  // The menu's Graphical items: 0 "True", 1 "False" (the options are the other way round).
  RunMenuItem(main_.mnuGraphicalSub[index == 1 ? 0 : 1]);
  File1.SetEnabled(index == 1);
  if (index == 1) {
    const std::string location = ReadSetting(keys::kGraLocation);
    txtGraphical.SetText(location.empty() ? kDefaultImageText : location);
  } else {
    txtGraphical.SetText("");
  }
}

void GeneralPage::File1Click() {
  if (loading_ || File1.ListIndex() < 0) return;
  const std::string path = File1Path() + "\\" + File1.Text();
  txtGraphical.SetText(path);
  StoreSetting(keys::kGraLocation, path, window_.hwnd());
  // ChangeIMImage loads the picture named by GraLocation into the main window's holder.
  main_.ChangeIMImage();
}

void GeneralPage::AOButtonBrowse2Click() {
  host::PlaySoundFile(FolderPath(widgets::kClickSound));
  platform::FileDialogOptions options;
  options.filter = kPictureFilter;
  const std::optional<std::string> chosen = platform::GetOpenFileName(window_.hwnd(), options);
  if (!chosen || chosen->empty()) return;
  const std::string name = FileNameOf(*chosen);
  const std::string target = FolderPath(kWallPapersFolder) + name;
  if (!files::IsDirectory(File1Path())) files::MakeDirectory(File1Path());
  if (!platform::EqualNoCase(*chosen, target) && !files::Copy(*chosen, target)) {
    widgets::ShowMessageBox(window_.hwnd(),
                            "The picture could not be copied into the WallPapers folder.", 0,
                            "Picture not copied");
    return;
  }
  RefreshFile1();
  const int item = File1.FindExact(name);
  if (item >= 0) File1.SetListIndex(item);  // runs File1Click: the new background
}

}  // namespace settings
