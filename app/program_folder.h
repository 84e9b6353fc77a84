// The program folder as a new installation has it: the data folders and the default wallpaper.
#pragma once

namespace app {

// Makes what is missing in the current program folder (platform::files::ProgramFolder());
// existing files are kept. False when a folder or the wallpaper could not be made.
bool PrepareProgramFolder();

}  // namespace app
