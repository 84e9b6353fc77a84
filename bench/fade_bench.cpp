// Fade speed in characters per second: the engine, which appends, against a plain reference
// that rebuilds the whole output on every chunk (out = out + chunk), on an IM-sized text and a
// long one. The engine's rate stays flat as the text grows; the reference's falls.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "styling/fade_engine.h"

namespace {

using styling::Components;

constexpr platform::COLORREF kColours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

std::string SampleText(size_t length) {
  static const std::string kWords = "the quick brown fox jumps over the lazy dog ";
  std::string text;
  while (text.size() < length) text += kWords;
  text.resize(length);
  return text;
}

// A straightforward fade that copies the output it has so far for every chunk.
std::string ReferenceFade(const std::string& text, int colours) {
  const styling::ChunkMode mode = styling::ChunkModeFor(text.size());
  std::string segments[3];
  int count = colours - 1;
  if (colours == 2) {
    segments[0] = text;
  } else if (colours == 3) {
    auto split = styling::SplitForThree(text.size());
    segments[0] = text.substr(0, split.first);
    segments[1] = text.substr(split.first);
  } else {
    auto split = styling::DealForFour(text.size());
    segments[0] = text.substr(0, split.first);
    segments[1] = text.substr(std::min(split.first, text.size()), split.second);
    segments[2] = text.substr(std::min(split.first + split.second, text.size()), split.third);
  }
  std::string out;
  for (int s = 0; s < count; ++s) {
    Components from = styling::SplitColor(kColours[s]);
    Components to = styling::SplitColor(kColours[s + 1]);
    std::string& segment = segments[s];
    const size_t end = segment.size();
    size_t n = segment.size();
    bool padded = false;
    std::string part;
    for (size_t i = 1; i <= end; ++i) {
      size_t size = 1;
      if (mode == styling::ChunkMode::Pair) {
        ++i;
        size = 2;
        if (segment.size() % 2 == 1) {
          segment += " ";
          n = segment.size();
          padded = true;
        }
      }
      auto at = [&](int f, int t) {
        return static_cast<int>(std::nearbyint(f + static_cast<double>(i) * ((t - f) / double(n))));
      };
      std::string hex = styling::PadHex(at(from.red, to.red) * 65536 +
                                        at(from.green, to.green) * 256 + at(from.blue, to.blue));
      part = part + "<Font Color=#" + hex + ">" + segment.substr(i - size, size);
    }
    if (colours > 2 && padded) part = part.substr(0, part.size() - 1);
    out = out + part;
  }
  return out;
}

std::string EngineFade(const std::string& text, int colours) {
  std::string copy = text;
  switch (colours) {
    case 2:
      return styling::FadeText2(kColours[0], kColours[1], copy, false);
    case 3:
      return styling::FadeText3(kColours[0], kColours[1], kColours[2], text, false);
    default:
      return styling::FadeText4(kColours[0], kColours[1], kColours[2], kColours[3], text, false);
  }
}

template <bool kReference>
void BM_Fade(benchmark::State& state) {
  const int colours = static_cast<int>(state.range(0));
  const std::string text = SampleText(static_cast<size_t>(state.range(1)));
  if (EngineFade(text, colours) != ReferenceFade(text, colours)) {
    state.SkipWithError("engine and reference disagree");
    return;
  }
  for (auto _ : state) {
    std::string html = kReference ? ReferenceFade(text, colours) : EngineFade(text, colours);
    benchmark::DoNotOptimize(html);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(1));
  state.SetLabel(kReference ? "rebuilding reference" : "engine");
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int colours : {2, 3, 4}) {
    for (int length : {80, 10000}) b->Args({colours, length});
  }
  b->ArgNames({"colours", "chars"});
}

BENCHMARK(BM_Fade<false>)->Name("FadeText/engine")->Apply(Sizes);
BENCHMARK(BM_Fade<true>)->Name("FadeText/reference")->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
