// What `make demo` builds: only the demo, optimised, in a build folder of its own, so a fresh
// machine reaches the demo's first line quickly; `make test` keeps the sanitized build of
// everything.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The commands `make TARGET` would run, without running them.
std::string DryRun(const std::string& target) {
  const std::string command = std::string("make --no-print-directory -n -C '") +
                              PALLION_SOURCE_DIR + "' " + target + " 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

TEST(MakeDemo, BuildsOnlyTheDemoOptimisedWithoutTestsOrSanitizers) {
  const std::string demo = DryRun("demo");
  EXPECT_NE(demo.find("-B build-demo"), std::string::npos) << demo;
  EXPECT_NE(demo.find("-DCMAKE_BUILD_TYPE=Release"), std::string::npos) << demo;
  EXPECT_NE(demo.find("-DPALLION_TESTS=OFF"), std::string::npos) << demo;
  EXPECT_NE(demo.find("-DPALLION_SANITIZE=OFF"), std::string::npos) << demo;
  EXPECT_NE(demo.find("--target pallion-demo"), std::string::npos) << demo;
  EXPECT_NE(demo.find("build-demo/bin/pallion-demo"), std::string::npos) << demo;
  EXPECT_EQ(demo.find("-DPALLION_SANITIZE=ON"), std::string::npos) << demo;
  EXPECT_EQ(demo.find("ctest"), std::string::npos) << demo;
}

TEST(MakeDemo, MakeTestStaysTheSanitizedBuildOfEverything) {
  const std::string test = DryRun("test");
  EXPECT_NE(test.find("-B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPALLION_SANITIZE=ON"),
            std::string::npos)
      << test;
  EXPECT_NE(test.find("ctest"), std::string::npos) << test;
  // The build of everything is not cut down to some targets (the fuzz targets' own build is).
  const size_t build = test.find("cmake --build build ");
  ASSERT_NE(build, std::string::npos) << test;
  EXPECT_EQ(test.substr(build, test.find('\n', build) - build).find("--target"), std::string::npos)
      << test;
}

TEST(MakeDemo, MakeTestFuzzesEveryTargetForTenSecondsInAClangBuildOfItsOwn) {
  const std::string test = DryRun("test");
  EXPECT_NE(test.find("-B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang-14"), std::string::npos)
      << test;
  EXPECT_NE(test.find("-DPALLION_FUZZ=ON"), std::string::npos) << test;
  EXPECT_NE(test.find("scripts/fuzz.sh build-fuzz 10"), std::string::npos) << test;
}

}  // namespace
