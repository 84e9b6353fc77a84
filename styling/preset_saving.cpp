#include "styling/preset_saving.h"

#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "styling/fade_presets.h"
#include "widgets/message_box.h"

namespace styling {

std::optional<std::string> SavePresetAs(platform::HWND owner, int count,
                                        const std::array<platform::COLORREF, 4>& colours) {
  namespace files = platform::files;
  const std::string folder = settings::FolderPath("\\Fades");
  platform::FileDialogOptions options;
  options.initialDir = folder;
  options.filter = kFadeFileFilter;
  const std::optional<std::string> chosen = platform::GetSaveFileName(owner, options);
  if (!chosen || chosen->empty() || *chosen == "Untitled") return std::nullopt;
  const std::optional<std::string> path = PresetFileFor(folder, *chosen);
  const std::string fileName = path ? path->substr(path->rfind('\\') + 1) : *chosen;
  if (!path || !platform::IsUsableFileName(fileName)) {
    widgets::ShowMessageBox(owner,
                            "\"" + fileName +
                                "\" cannot name a color scheme: Windows keeps that name for a "
                                "device or refuses it. Please choose another name.",
                            0, "Name not allowed");
    return std::nullopt;
  }
  if (!files::IsDirectory(folder)) files::MakeDirectory(folder);
  if (!SavePreset(*path, count, colours)) {
    widgets::ShowMessageBox(owner, "The color scheme could not be saved to " + *path + ".", 0,
                            "Not Saved");
    return std::nullopt;
  }
  return fileName.substr(0, fileName.size() - 4);
}

}  // namespace styling
