// pallion-demo: the simulated desktop, the stand-in client and the program, playing a
// scenario (built in, from a file, or typed at a prompt) with a transcript and screenshots.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/demo_runner.h"
#include "app/demo_world.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: pallion-demo [--client aol6|aol7] [--folder DIR] [--shots DIR]\n"
         "                    [--script FILE | --interactive]\n";
}

// A fresh program folder under the build folder, unless one is given.
std::string FreshFolder(const std::filesystem::path& executable) {
  auto base = std::filesystem::absolute(executable).parent_path().parent_path() / "demo";
  auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  return (base / ("folder-" + std::to_string(stamp))).string();
}

}  // namespace

int main(int argc, char** argv) {
  app::DemoOptions options;
  std::string script;
  bool interactive = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--client" && value(text) && (text == "aol6" || text == "aol7")) {
      options.layout = text == "aol7" ? clientsim::Layout::Aol7 : clientsim::Layout::Aol6;
    } else if (arg == "--folder" && value(options.folder)) {
    } else if (arg == "--shots" && value(options.shots)) {
    } else if (arg == "--script" && value(script)) {
    } else if (arg == "--interactive") {
      interactive = true;
    } else if (arg == "--help" || arg == "-h") {
      Usage(std::cout);
      return 0;
    } else {
      std::cerr << "pallion-demo: bad argument '" << arg << "'\n";
      Usage(std::cerr);
      return 2;
    }
  }
  if (options.folder.empty()) options.folder = FreshFolder(argv[0]);
  if (options.shots.empty()) options.shots = options.folder + "-shots";
  std::error_code ec;
  std::filesystem::create_directories(options.folder, ec);
  if (ec) {
    std::cerr << "pallion-demo: cannot make the folder " << options.folder << ": " << ec.message()
              << '\n';
    return 2;
  }

  std::string scriptText = app::DefaultScenario();
  std::string source = "default scenario";
  if (!script.empty()) {
    std::ifstream in(script, std::ios::binary);
    if (!in) {
      std::cerr << "pallion-demo: cannot read the script " << script << '\n';
      return 2;
    }
    std::ostringstream content;
    content << in.rdbuf();
    scriptText = content.str();
    source = script;
  }

  std::cout << "Program folder: " << options.folder << "\nScreenshots: " << options.shots << "\n";
  app::DemoWorld world(options, std::cout);
  app::DemoRunner runner(world, std::cout);
  if (interactive) {
    runner.RunInteractive(std::cin);
    return 0;
  }
  int code = runner.RunScript(scriptText, source);
  std::cout << (code == 0 ? "The scenario ran to its end.\n" : "The scenario stopped.\n");
  return code;
}
