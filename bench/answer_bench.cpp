// The auto-answer engine over a simulated hour: 50 correspondents writing every few seconds,
// every IM answered (its last message answered once the writers stop) and logged at the end;
// reported as simulated seconds per wall second. And the cost of one discovery tick (Timer1)
// with 10, 100 and 500 client document windows open.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "answer/auto_answer.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

constexpr int kCorrespondents = 50;
constexpr uint64_t kHourMs = 3600 * 1000;

std::string Name(int i) {
  return "Writer " + std::to_string(i);
}

// Each correspondent writes every 3 to 7 seconds until `until`.
void KeepWriting(containerfix::World& world, int i, uint64_t until, int count) {
  const uint64_t every = 3000 + static_cast<uint64_t>(i % 5) * 1000;
  world.desktop.Schedule(every, [&world, i, until, count] {
    if (world.desktop.NowMs() >= until) return;
    world.client->ReceiveIM(Name(i), "message " + std::to_string(count));
    KeepWriting(world, i, until, count + 1);
  });
}

void BM_AnsweredHour(benchmark::State& state) {
  double simulatedSeconds = 0, wallSeconds = 0;
  int answers = 0, unanswered = 0, logged = 0;
  for (auto _ : state) {
    containerfix::WorldOptions options;
    options.settings = {{"LastMessage", "Away"}, {"Personalized", "0"}};
    containerfix::World world(options);
    world.WriteProgramFile("\\Messages\\Away.Mes", "Hi {SN}, back soon.\r\n");
    answer::Attach(*world.main);
    world.main->mnuIManswer[answer::kModeAllIMs]->Click();

    const uint64_t start = world.desktop.NowMs();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kCorrespondents; ++i) KeepWriting(world, i, start + kHourMs, 0);
    world.desktop.RunFor(kHourMs);
    // The writers have stopped: the engine answers what is still unread.
    auto anyUnread = [&] {
      for (int i = 0; i < world.main->List1.ListCount(); ++i) {
        if (host::GetCaption(world.main->ListIM(i)).find(">IM From:") != std::string::npos) {
          return true;
        }
      }
      return false;
    };
    world.desktop.RunUntil([&] { return !anyUnread(); }, kHourMs);
    world.desktop.RunFor(5000);
    for (int i = 0; i < world.main->List1.ListCount(); ++i) {
      if (imlog::WriteIMLog(world.main->ListIM(i))) ++logged;
    }
    wallSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    simulatedSeconds += static_cast<double>(world.desktop.NowMs() - start) / 1000.0;
    answers += static_cast<int>(world.client->SentIMs().size());
    for (int i = 0; i < world.main->List1.ListCount(); ++i) {
      if (host::GetCaption(world.main->ListIM(i)).find(">IM From:") != std::string::npos) {
        ++unanswered;
      }
    }
  }
  state.counters["sim_s_per_wall_s"] = simulatedSeconds / wallSeconds;
  state.counters["answers"] = answers;
  state.counters["unanswered"] = unanswered;
  state.counters["logged"] = logged;
}
BENCHMARK(BM_AnsweredHour)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_DiscoveryTick(benchmark::State& state) {
  containerfix::World world;
  world.main->Timer1.SetEnabled(false);
  const int windows = static_cast<int>(state.range(0));
  for (int i = 0; i < windows; ++i) host::RunAOLMenu(0, 0);
  world.desktop.RunFor(5000);
  for (auto _ : state) world.main->Timer1Tick();
  state.counters["windows"] = windows;
}
BENCHMARK(BM_DiscoveryTick)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
