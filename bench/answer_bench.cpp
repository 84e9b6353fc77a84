// The auto-answer engine over a simulated hour: 50 correspondents writing every few seconds,
// every IM answered (its last message answered once the writers stop) and logged at the end;
// reported as simulated seconds per wall second (and per second of processor time). And the cost
// of one discovery tick (Timer1) with 10, 100 and 500 client document windows open, when one of
// them changed and when none did.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "answer/auto_answer.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

// Processor time of this thread: the machine running the benchmarks may be busy with other work.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

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
  double simulatedSeconds = 0, wallSeconds = 0, processorSeconds = 0;
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
    const double processorStart = ThreadSeconds();
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
    processorSeconds += ThreadSeconds() - processorStart;
    simulatedSeconds += static_cast<double>(world.desktop.NowMs() - start) / 1000.0;
    answers += static_cast<int>(world.client->SentIMs().size());
    for (int i = 0; i < world.main->List1.ListCount(); ++i) {
      if (host::GetCaption(world.main->ListIM(i)).find(">IM From:") != std::string::npos) {
        ++unanswered;
      }
    }
  }
  state.counters["sim_s_per_wall_s"] = simulatedSeconds / wallSeconds;
  // The same rate in this thread's processor time, which other work on the machine leaves alone.
  state.counters["sim_s_per_cpu_s"] = simulatedSeconds / processorSeconds;
  state.counters["answers"] = answers;
  state.counters["unanswered"] = unanswered;
  state.counters["logged"] = logged;
}
BENCHMARK(BM_AnsweredHour)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The container with `windows` client documents open besides it, and the first of them.
struct TickWorld {
  explicit TickWorld(int windows) {
    world.main->Timer1.SetEnabled(false);
    for (int i = 0; i < windows; ++i) host::RunAOLMenu(0, 0);
    world.desktop.RunFor(5000);
    document = platform::FindWindowEx(host::FindMDI(), 0, "AOL Child", nullptr);
    caption = host::GetCaption(document);
  }
  // Gives the document another caption (not an IM's), so that the next tick scans again.
  void Change() {
    changed = !changed;
    const std::string text = changed ? caption + " " : caption;
    platform::SendMessage(document, platform::WM_SETTEXT, 0,
                          reinterpret_cast<platform::LPARAM>(text.c_str()));
  }
  containerfix::World world;
  platform::HWND document = 0;
  std::string caption;
  bool changed = false;
};

// A tick after a document changed: every document's caption is read once.
void BM_DiscoveryTick(benchmark::State& state) {
  TickWorld tick(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    tick.Change();
    tick.world.main->Timer1Tick();
  }
  state.counters["windows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DiscoveryTick)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);

// A tick when no window changed since the last one.
void BM_DiscoveryTickUnchanged(benchmark::State& state) {
  TickWorld tick(static_cast<int>(state.range(0)));
  tick.world.main->Timer1Tick();
  for (auto _ : state) tick.world.main->Timer1Tick();
  state.counters["windows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DiscoveryTickUnchanged)->Arg(10)->Arg(500)->Unit(benchmark::kMicrosecond);

// The figures of the tick measured side by side in one run, in processor time: the cost per
// window of a scanning tick at 100 and at 500 windows (their ratio is 1 when the tick is
// linear), and the cost of a tick when nothing changed at 500 windows.
void BM_DiscoveryTickFigures(benchmark::State& state) {
  constexpr int kTicks = 2000;
  auto perTick = [](TickWorld& tick, bool change) {
    tick.world.main->Timer1Tick();
    const double start = ThreadSeconds();
    for (int i = 0; i < kTicks; ++i) {
      if (change) tick.Change();
      tick.world.main->Timer1Tick();
    }
    return (ThreadSeconds() - start) / kTicks;
  };
  double scan100 = 0, scan500 = 0, quiet500 = 0;
  for (auto _ : state) {
    {
      TickWorld hundred(100);
      scan100 = perTick(hundred, true);
    }
    TickWorld fiveHundred(500);
    scan500 = perTick(fiveHundred, true);
    quiet500 = perTick(fiveHundred, false);
  }
  state.counters["ns_per_window_100"] = scan100 / 100 * 1e9;
  state.counters["ns_per_window_500"] = scan500 / 500 * 1e9;
  state.counters["per_window_500_to_100"] = (scan500 / 500) / (scan100 / 100);
  state.counters["unchanged_tick_us_500"] = quiet500 * 1e6;
}
BENCHMARK(BM_DiscoveryTickFigures)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
