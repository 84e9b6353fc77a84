#include "answer/messages_page.h"

#include "host/window_access.h"
#include "platform/ansi.h"
#include "settings/settings_store.h"

namespace answer {

namespace files = platform::files;
using settings::MakeControl;

namespace {

// The titles of a message folder's "*.Mes" files, in the file system's order.
std::vector<std::string> MessageTitles(const char* folder) {
  std::vector<std::string> titles;
  for (const std::string& name : files::List(settings::FolderPath(folder), "*.Mes")) {
    titles.push_back(name.substr(0, name.size() - 4));
  }
  return titles;
}

// Writes a message file, making its folder first when it is missing (a new program folder).
bool SaveMessage(const char* folder, const std::string& path, const std::string& text) {
  std::string dir = settings::FolderPath(folder);
  dir.pop_back();
  if (!files::IsDirectory(dir)) files::MakeDirectory(dir);
  return host::SaveTextFile(path, text);
}

std::string AwayPath(const std::string& title) {
  return settings::FolderPath(settings::kMessagesFolder) + title + ".Mes";
}

std::string PersonalPath(const std::string& name) {
  return settings::FolderPath(settings::kPersonalMessagesFolder) + name + ".Mes";
}

// Moves a message file to a new name with the text the editor holds. The new file is written
// before the old one goes, so a failure leaves the message where it was; a name that differs
// only in letter case is the same file, which is replaced.
bool MoveMessage(const std::string& from, const std::string& to, const std::string& text) {
  if (platform::EqualNoCase(from, to)) {
    if (files::Exists(from) && !files::Remove(from)) return false;
    return host::SaveTextFile(to, text);
  }
  if (!host::SaveTextFile(to, text)) return false;
  return !files::Exists(from) || files::Remove(from);
}

// Removes a message file; true also when it was not there.
bool RemoveMessage(const std::string& path) {
  return !files::Exists(path) || files::Remove(path);
}

int IndexOfExact(const ui::ListBox& list, const std::string& text) {
  for (int i = 0; i < list.ListCount(); ++i) {
    if (list.List(i) == text) return i;
  }
  return -1;
}

}  // namespace

MessagesEditor::MessagesEditor(const settings::PageContext& context, int x, int y, int personalY,
                               int width)
    : ComboMessage(MakeControl<ui::ComboBox>(context.window, context.frame, "ComboMessage", x, y,
                                             width, 21)),
      txtMessage(
          MakeControl<ui::TextBox>(context.window, context.frame, "txtMessage", x, y, 10, 21)),
      txtAwayMessage(MakeControl<ui::TextBox>(context.window, context.frame, "txtAwayMessage", x,
                                              y + 26, width, 92, true)),
      lstPersonalized(MakeControl<ui::ListBox>(context.window, context.frame, "lstPersonalized", x,
                                               personalY, width, 56)),
      txtPersonalizedMessage(MakeControl<ui::TextBox>(context.window, context.frame,
                                                      "txtPersonalizedMessage", x, personalY + 60,
                                                      width, 70, true)),
      window_(context.window),
      main_(context.main) {
  txtMessage.SetVisible(false);
  txtMessage.SetText(kDefaultMessageTitle);
  const char* captions[] = {"New", "Rename", "Delete"};
  const int buttonWidth = (width - 10) / 3;
  for (int i = 0; i < 3; ++i) {
    const int left = x + i * (buttonWidth + 5);
    AOButtonIMAnswer[i] = &MakeControl<widgets::AOButton>(
        window_, context.frame, "AOButtonIMAnswer", captions[i], left, y + 122, buttonWidth, 22, i);
    AOButtonIMAnswer[i]->OnClick = [this, i] { AOButtonIMAnswerClick(i); };
    AOButtonPersonalized[i] =
        &MakeControl<widgets::AOButton>(window_, context.frame, "AOButtonPersonalized", captions[i],
                                        left, personalY + 134, buttonWidth, 22, i);
    AOButtonPersonalized[i]->OnClick = [this, i] { AOButtonPersonalizedClick(i); };
  }
  ComboMessage.OnClick = [this] { ComboMessageClick(); };
  txtAwayMessage.OnChange = [this] { SaveAway(); };
  lstPersonalized.OnClick = [this] { lstPersonalizedClick(); };
  txtPersonalizedMessage.OnChange = [this] { SavePersonal(); };
}

void MessagesEditor::AddAutoAnswer(ui::CheckBox& chkPersonalized) {
  ComboMessage.Clear();
  for (const std::string& title : MessageTitles(settings::kMessagesFolder)) {
    ComboMessage.AddItem(title);
  }
  if (ComboMessage.ListCount() > 0) {
    const std::string last = settings::ReadSetting(settings::keys::kLastMessage);
    for (int i = 0; i < ComboMessage.ListCount(); ++i) {
      if (ComboMessage.List(i) == last) ComboMessage.SetListIndex(i);
    }
  } else {
    // The first run: the default message is written under the default title.
    SetQuietly(txtMessage, kDefaultMessageTitle);
    SetQuietly(txtAwayMessage, kDefaultAwayMessage);
    SaveAway();
  }

  lstPersonalized.Clear();
  for (const std::string& name : MessageTitles(settings::kPersonalMessagesFolder)) {
    lstPersonalized.AddItem(name);
  }
  if (lstPersonalized.ListCount() > 0) {
    lstPersonalized.SetListIndex(0);
    chkPersonalized.SetValue(settings::ReadSetting(settings::keys::kPersonalized) == "0" ? 0 : 1);
  } else {
    SetQuietly(txtPersonalizedMessage, kNoPersonalMessages);
  }
}

void MessagesEditor::ComboMessageClick() {
  const std::string title = ComboMessage.Text();
  SetQuietly(txtMessage, title);
  if (auto text = host::LoadTextFile(AwayPath(title))) SetQuietly(txtAwayMessage, *text);
  settings::WriteSetting(settings::keys::kLastMessage, title);
}

void MessagesEditor::lstPersonalizedClick() {
  if (lstPersonalized.ListIndex() < 0) return;
  if (auto text = host::LoadTextFile(PersonalPath(lstPersonalized.Text()))) {
    SetQuietly(txtPersonalizedMessage, *text);
  }
}

void MessagesEditor::SetQuietly(ui::TextBox& box, const std::string& text) {
  quiet_ = true;
  box.SetText(text);
  quiet_ = false;
}

void MessagesEditor::SaveAway() {
  // Without a title there is no file to write (after the last message was deleted).
  if (quiet_ || txtMessage.Text().empty()) return;
  Saved(SaveMessage(settings::kMessagesFolder, AwayPath(txtMessage.Text()), txtAwayMessage.Text()));
}

void MessagesEditor::SavePersonal() {
  if (quiet_ || lstPersonalized.ListIndex() < 0) return;
  Saved(SaveMessage(settings::kPersonalMessagesFolder, PersonalPath(lstPersonalized.Text()),
                    txtPersonalizedMessage.Text()));
}

void MessagesEditor::Saved(bool ok) {
  if (ok) {
    failureShown_ = false;
    return;
  }
  if (failureShown_) return;
  failureShown_ = true;
  Tell("The message could not be saved. Your changes are not on the disk.", "Message not saved");
}

std::optional<std::string> MessagesEditor::Ask(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
  return settings::AskForText(window_.hwnd(), prompt, title, initial);
}

bool MessagesEditor::Confirm(const std::string& prompt) {
  widgets::MessageBoxResult.clear();
  return widgets::ShowMessageBox(window_.hwnd(), prompt, 4, "Delete?") == "Yes";
}

void MessagesEditor::Tell(const std::string& prompt, const std::string& title) {
  widgets::ShowMessageBox(window_.hwnd(), prompt, 0, title);
}

void MessagesEditor::AOButtonIMAnswerClick(int index) {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
  if (index == 0) NewAwayMessage();
  if (index == 1) RenameAwayMessage();
  if (index == 2) DeleteAwayMessage();
}

void MessagesEditor::AOButtonPersonalizedClick(int index) {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
  if (index == 0) NewPersonalMessage();
  if (index == 1) RenamePersonalMessage();
  if (index == 2) DeletePersonalMessage();
}

void MessagesEditor::NewAwayMessage() {
  const std::string title =
      Ask("Enter the title of the New Message.", "Enter Title:", "New Away Message").value_or("");
  if (title.empty()) return;
  for (int i = 0; i < ComboMessage.ListCount(); ++i) {
    if (platform::EqualNoCase(ComboMessage.List(i), title)) {
      Tell("This Title already exists. Please choose another one.", "Title already exists.");
      return;
    }
  }
  if (!settings::AcceptFileTitle(title, window_.hwnd())) return;
  ComboMessage.AddItem(title);
  ComboMessage.SetText(title);
  SetQuietly(txtAwayMessage, "");
  SaveAway();
}

void MessagesEditor::RenameAwayMessage() {
  const std::string old = txtMessage.Text();
  const auto answer =
      Ask("Enter a new Title for this Auto IM-Answer Message.", "Enter New Title:", old);
  if (!answer) return;
  const std::string title = *answer;
  if (title.empty() || platform::EqualNoCase(title, old)) {
    Tell("No Title provided or same Title.", "No Title or same Title");
    return;
  }
  // Another message of that title would be overwritten by the rename.
  for (int i = 0; i < ComboMessage.ListCount(); ++i) {
    if (platform::EqualNoCase(ComboMessage.List(i), title)) {
      Tell("This Title already exists. Please choose another one.", "Title already exists.");
      return;
    }
  }
  if (!settings::AcceptFileTitle(title, window_.hwnd())) return;
  const int k = ComboMessage.ListIndex();
  const std::string text = txtAwayMessage.Text();
  if (!MoveMessage(AwayPath(old), AwayPath(title), text)) {
    Tell("The message could not be renamed; it keeps its title.", "Not renamed");
    return;
  }
  if (k >= 0) {
    ComboMessage.RemoveItem(k);
    ComboMessage.AddItem(title, k);
    ComboMessage.SetListIndex(k);
  } else {
    SetQuietly(txtMessage, title);
    settings::WriteSetting(settings::keys::kLastMessage, title);
  }
  SetQuietly(txtAwayMessage, text);
}

void MessagesEditor::DeleteAwayMessage() {
  if (!Confirm("Are you sure you want to Delete this Auto IM-Answer Message?")) return;
  const std::string title = ComboMessage.Text();
  if (title.empty()) return;
  // The file goes first: when it cannot, the message and its text stay as they were.
  if (!RemoveMessage(AwayPath(title))) {
    Tell("The message could not be deleted.", "Not deleted");
    return;
  }
  SetQuietly(txtAwayMessage, "");
  SetQuietly(txtMessage, "");
  ComboMessage.RemoveItem(ComboMessage.ListIndex());
  ComboMessage.SetListIndex(0);
}

void MessagesEditor::NewPersonalMessage() {
  const std::string name =
      Ask("Enter the Screen Name for this Personalized Auto IM Answer Message.",
          "Enter Screen Name:", "")
          .value_or("");
  if (name.empty()) return;
  if (lstPersonalized.FindExact(name) >= 0) {
    Tell("A Personalized Auto IM-Answer Message already exists for " + name,
         "Message already exists.");
    return;
  }
  if (!settings::AcceptFileTitle(name, window_.hwnd())) return;
  lstPersonalized.AddItem(name);
  main_.lstPersonalized.AddItem(name);
  lstPersonalized.SetListIndex(IndexOfExact(lstPersonalized, name));
  SetQuietly(txtPersonalizedMessage, "");
  SavePersonal();
}

void MessagesEditor::RenamePersonalMessage() {
  const std::string old = lstPersonalized.Text();
  const auto answer = Ask("Enter the New Screen Name for this Personalized Auto IM Answer Message.",
                          "Enter New Screen Name:", old);
  if (!answer) return;
  const std::string name = *answer;
  if (name.empty() || name == old) {
    Tell("No Screen Name provided or same Screen Name", "No SN");
    return;
  }
  const int k = lstPersonalized.ListIndex();
  if (k < 0) return;  // nothing to rename
  // Another name's message would be overwritten; the same name in other letters is renamed.
  const int other = lstPersonalized.FindExact(name);
  if (other >= 0 && other != k) {
    Tell("A Personalized Auto IM-Answer Message already exists for " + name,
         "Message already exists.");
    return;
  }
  if (!settings::AcceptFileTitle(name, window_.hwnd())) return;
  const std::string text = txtPersonalizedMessage.Text();
  if (!MoveMessage(PersonalPath(old), PersonalPath(name), text)) {
    Tell("The message could not be renamed; it keeps its screen name.", "Not renamed");
    return;
  }
  lstPersonalized.RemoveItem(k);
  lstPersonalized.AddItem(name, k);
  // The main window's list may be in another order; its item of the old name is the one.
  const int inMain = IndexOfExact(main_.lstPersonalized, old);
  if (inMain >= 0) main_.lstPersonalized.RemoveItem(inMain);
  main_.lstPersonalized.AddItem(name, inMain >= 0 ? inMain : -1);
  main_.lstPersonalized.SetListIndex(main_.lstPersonalized.NewIndex());
  lstPersonalized.SetListIndex(k);
  SetQuietly(txtPersonalizedMessage, text);
}

void MessagesEditor::DeletePersonalMessage() {
  const std::string name = lstPersonalized.Text();
  if (!Confirm("Are you sure you want to Delete Personalized Message for " + name + "?")) return;
  if (lstPersonalized.ListIndex() < 0) return;
  if (!RemoveMessage(PersonalPath(name))) {
    Tell("The message could not be deleted.", "Not deleted");
    return;
  }
  SetQuietly(txtPersonalizedMessage, "");
  const int inMain = IndexOfExact(main_.lstPersonalized, name);
  if (inMain >= 0) main_.lstPersonalized.RemoveItem(inMain);
  lstPersonalized.RemoveItem(lstPersonalized.ListIndex());
}

}  // namespace answer
