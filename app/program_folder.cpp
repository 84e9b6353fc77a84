#include "app/program_folder.h"

#include <string>

#include "platform/files.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace app {

bool PrepareProgramFolder() {
  namespace files = platform::files;
  bool ok = true;
  for (const char* folder :
       {settings::kLogsFolder, settings::kSoundsFolder, settings::kWallPapersFolder,
        settings::kFadesFolder, settings::kMessagesFolder, settings::kPersonalMessagesFolder}) {
    std::string path = settings::FolderPath(folder);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    if (!files::IsDirectory(path) && !files::MakeDirectory(path)) ok = false;
  }
  return widgets::EnsureDefaultWallPaper() && ok;
}

}  // namespace app
