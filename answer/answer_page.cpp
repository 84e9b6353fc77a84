#include "answer/answer_page.h"

#include "answer/auto_answer.h"
#include "host/window_access.h"
#include "settings/settings_store.h"

namespace answer {

using settings::MakeControl;

AnswerPage::AnswerPage(const settings::PageContext& context)
    : frameAutoAnswer(MakeControl<ui::Frame>(context.window, context.frame, "frameAutoAnswer",
                                             "Auto Answer", 10, 18, 225, 150)),
      chkPersonalized(MakeControl<ui::CheckBox>(context.window, context.frame, "chkPersonalized",
                                                "Personalized Message On", 250, 178, 225, 19)),
      frameListedMembers(MakeControl<ui::Frame>(context.window, context.frame, "frameListedMembers",
                                                "Listed Members", 10, 174, 225, 170)),
      lstListedMembers(MakeControl<ui::ListBox>(context.window, frameListedMembers,
                                                "lstListedMembers", 10, 18, 130, 142)),
      messages(context, 250, 20, 200, 225),
      window_(context.window),
      main_(context.main) {
  for (int i = 1; i <= 6; ++i) {
    optIMAnswer[i] =
        &MakeControl<ui::OptionButton>(window_, frameAutoAnswer, "optIMAnswer",
                                       kAnswerOptionCaptions[i], 10, 18 + 21 * (i - 1), 205, 19, i);
  }
  // "Off" is chosen as the window is made, without acting on the main window.
  optIMAnswer[1]->SetValue(true);
  for (int i = 1; i <= 6; ++i) optIMAnswer[i]->OnClick = [this, i] { optIMAnswerClick(i); };
  const char* captions[] = {"Add", "Remove", "Clear"};
  for (int i = 0; i < 3; ++i) {
    AOButtonListedMembers[i] =
        &MakeControl<widgets::AOButton>(window_, frameListedMembers, "AOButtonListedMembers",
                                        captions[i], 148, 18 + 32 * i, 68, 25, i);
    AOButtonListedMembers[i]->OnClick = [this, i] { AOButtonListedMembersClick(i); };
  }
  chkPersonalized.OnClick = [this] { chkPersonalizedClick(); };
  // The personal messages' editor sits below the switch.
  messages.lstPersonalized.SetTop(chkPersonalized.Top() + 24);
  messages.txtPersonalizedMessage.SetTop(messages.lstPersonalized.Top() + 60);
  for (widgets::AOButton* button : messages.AOButtonPersonalized) {
    button->SetTop(messages.txtPersonalizedMessage.Top() + 74);
  }
}

std::string AnswerPage::ListFile() const {
  return settings::FolderPath(settings::kListedMembersFile);
}

void AnswerPage::LoadSettings() {
  lstListedMembers.Clear();
  if (platform::files::Exists(ListFile())) {
    host::LoadList(ListFile(), [this](const std::string& name) { lstListedMembers.AddItem(name); });
  }
  for (int item : {kModeOff, kModeAllIMs, kModeAllExceptRoom, kModeOnlyRoom, kModeAllExceptListed,
                   kModeOnlyListed}) {
    if (!main_.mnuIManswer[item]->Checked()) continue;
    for (int option = 1; option <= 6; ++option) {
      if (kOptionToMenu[option] != item) continue;
      // Choosing the option runs its click also when it was chosen before.
      if (optIMAnswer[option]->Value()) optIMAnswerClick(option);
      optIMAnswer[option]->SetValue(true);
    }
    break;
  }
}

void AnswerPage::Shown() {
  messages.AddAutoAnswer(chkPersonalized);
}

void AnswerPage::optIMAnswerClick(int index) {
  if (index < 1 || index > 6) return;
  mnuIManswerClick(main_, kOptionToMenu[index]);
}

void AnswerPage::chkPersonalizedClick() {
  const bool on = chkPersonalized.Value() == 1;
  for (widgets::AOButton* button : messages.AOButtonPersonalized) button->SetEnabled(on);
  messages.lstPersonalized.SetEnabled(on);
  messages.txtPersonalizedMessage.SetEnabled(on);
  settings::WriteSetting(settings::keys::kPersonalized, on ? "1" : "0");
}

void AnswerPage::SaveListedMembers() {
  settings::SaveListCopy(lstListedMembers, ListFile(), window_.hwnd());
}

void AnswerPage::AOButtonListedMembersClick(int index) {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
  switch (index) {
    case 0: {
      const std::string name =
          settings::AskForText(window_.hwnd(),
                               "Enter the Screen Name of the person you wish to add.",
                               "Enter Screen Name:", "")
              .value_or("");
      if (name.empty()) return;
      settings::GatherListCopies(lstListedMembers, main_.lstListedMembers, ListFile());
      lstListedMembers.AddItem(name);
      main_.lstListedMembers.AddItem(name);
      break;
    }
    case 1: {
      settings::GatherListCopies(lstListedMembers, main_.lstListedMembers, ListFile());
      const int selected = lstListedMembers.ListIndex();
      if (selected >= 0) {
        // One item for one, so that both copies keep the same names.
        const std::string name = lstListedMembers.Text();
        for (int i = 0; i < main_.lstListedMembers.ListCount(); ++i) {
          if (main_.lstListedMembers.List(i) == name) {
            main_.lstListedMembers.RemoveItem(i);
            break;
          }
        }
        lstListedMembers.RemoveItem(selected);
      }
      break;
    }
    case 2:
      lstListedMembers.Clear();
      main_.lstListedMembers.Clear();
      break;
    default:
      return;
  }
  SaveListedMembers();
}

}  // namespace answer
