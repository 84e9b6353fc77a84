// pallion-demo: the simulated desktop, the stand-in client and the program, playing a
// scenario (built in, from a file, or typed at a prompt) with a transcript and screenshots.
#include <iostream>
#include <string>
#include <vector>

#include "app/demo_runner.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return app::RunDemo(arguments, std::cin, std::cout, std::cerr, argv[0]);
}
