// What the fuzz targets share: one simulated desktop for the parsers that read through the
// platform (files, profiles, the clipboard), files of the program folder written straight from
// an input, and the way a target reports a broken property.
#pragma once

#include <string>

#include "platform/sim/desktop.h"

namespace fuzzing {

// The desktop, made and installed at the first call; its program folder is a fresh scratch
// folder and Pallion's process is current.
platform::sim::Desktop& SimDesktop();
// Writes `bytes` as the program folder's file `name` ("\Fades\x.Fad") with plain host I/O and
// returns its program path.
std::string PutProgramFile(const std::string& name, const std::string& bytes);
// Ends the run as a crash, so that libFuzzer keeps the input: a parser broke a property.
[[noreturn]] void Fail(const std::string& what, const std::string& detail = "");

}  // namespace fuzzing
