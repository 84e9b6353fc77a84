#include "ignore/ignore_page.h"

#include "host/window_access.h"
#include "ignore/ignore_lists.h"
#include "settings/settings_store.h"

namespace ignore {

using settings::MakeControl;

IgnorePage::IgnorePage(const settings::PageContext& context)
    : lblIgnoreTem(MakeControl<ui::Label>(context.window, context.frame, "lblIgnoreTem",
                                          kSessionListCaption, 10, 20, 225, 17)),
      txtIgnoreTem(
          MakeControl<ui::TextBox>(context.window, context.frame, "txtIgnoreTem", 10, 40, 225, 21)),
      lstIgnoreTem(MakeControl<ui::ListBox>(context.window, context.frame, "lstIgnoreTem", 10, 66,
                                            225, 220)),
      lblIgnorePer(MakeControl<ui::Label>(context.window, context.frame, "lblIgnorePer",
                                          kPermanentListCaption, 250, 20, 225, 17)),
      txtIgnorePer(MakeControl<ui::TextBox>(context.window, context.frame, "txtIgnorePer", 250, 40,
                                            225, 21)),
      lstIgnorePer(MakeControl<ui::ListBox>(context.window, context.frame, "lstIgnorePer", 250, 66,
                                            225, 220)),
      window_(context.window),
      main_(context.main) {
  const char* captions[] = {"Add Name", "Remove Name", "Clear List"};
  for (int i = 0; i < 6; ++i) {
    const int left = (i < 3 ? 10 : 250) + (i % 3) * 77;
    AOButtonIgnoreList[i] = &MakeControl<widgets::AOButton>(
        window_, context.frame, "AOButtonIgnoreList", captions[i % 3], left, 294, 71, 25, i);
    AOButtonIgnoreList[i]->OnClick = [this, i] { AOButtonIgnoreListClick(i); };
  }
  // Enter in an entry box adds the name typed there.
  txtIgnoreTem.OnGotFocus = [this] { window_.SetDefaultButton(AOButtonIgnoreList[0]); };
  txtIgnorePer.OnGotFocus = [this] { window_.SetDefaultButton(AOButtonIgnoreList[3]); };
}

std::string IgnorePage::PermanentFile() const {
  return settings::FolderPath(settings::kIgnorePermFile);
}

void IgnorePage::Shown() {
  lstIgnoreTem.Clear();
  for (int i = 0; i < main_.lstIgnoreTem.ListCount(); ++i) {
    lstIgnoreTem.AddItem(main_.lstIgnoreTem.List(i));
  }
  lstIgnorePer.Clear();
  if (platform::files::Exists(PermanentFile())) {
    host::LoadList(PermanentFile(),
                   [this](const std::string& name) { lstIgnorePer.AddItem(name); });
  }
}

void IgnorePage::AOButtonIgnoreListClick(int index) {
  if (index < 0 || index > 5) return;
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
  const bool permanent = index >= 3;
  ui::TextBox& entry = permanent ? txtIgnorePer : txtIgnoreTem;
  ui::ListBox& shown = permanent ? lstIgnorePer : lstIgnoreTem;
  ui::ListBox& enforced = permanent ? main_.lstIgnorePer : main_.lstIgnoreTem;
  if (permanent) settings::GatherListCopies(shown, enforced, PermanentFile());
  switch (index % 3) {
    case 0: {
      const std::string name = entry.Text();
      if (name.empty()) return;
      shown.AddItem(name);
      permanent ? AddPermanent(main_, name) : AddTemporary(main_, name);
      entry.SetText("");
      break;
    }
    case 1: {
      if (shown.ListIndex() < 0) break;
      // Every copy of the name leaves both lists, so that none stays ignored unseen.
      const std::string name = shown.Text();
      RemoveExact(shown, name);
      permanent ? RemovePermanent(main_, name) : RemoveTemporary(main_, name);
      break;
    }
    default:
      shown.Clear();
      permanent ? ClearPermanent(main_) : ClearTemporary(main_);
      break;
  }
  if (permanent) settings::SaveListCopy(shown, PermanentFile(), window_.hwnd());
}

}  // namespace ignore
