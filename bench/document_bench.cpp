// How fast the document core does what every keystroke and every save needs.
#include <benchmark/benchmark.h>

#include "core/document/channel_list.hpp"
#include "core/document/defaults.hpp"
#include "core/document/instances.hpp"
#include "core/run_state.hpp"

namespace {

class SilentPrompter final : public cps::Prompter {
 public:
  cps::Answer ask(const cps::Message&) override { return cps::Answer::Ok; }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
};

// A document with all 128 channels, each with an offset and tones.
cps::RunState fullDocument() {
  cps::RunState state;
  cps::ApplyDocumentDefaults(state, {"2026-01-01", 1});
  SilentPrompter prompter;
  cps::NullObserver observer;
  const cps::Effects effects{prompter, observer};
  for (int n = 1; n <= 128; ++n) {
    const int group = (n - 1) / 16;
    const int position = (n - 1) % 16 + 1;
    cps::ApplyChannelEdit(state, effects, group, position, 1,
                          std::to_string(400.0 + n * 0.5).substr(0, 7));
    cps::ApplyChannelEdit(state, effects, group, position, 2,
                          std::to_string(405.0 + n * 0.5).substr(0, 7));
    cps::ApplyChannelEdit(state, effects, group, position, 4, std::to_string(n % 283));
  }
  cps::CopyWorkingToImage(state);
  return state;
}

void BM_FileImageRoundTrip(benchmark::State& bench) {
  const auto state = fullDocument();
  for (auto _ : bench) {
    auto image = state.workingDocument.toBytes();
    benchmark::DoNotOptimize(image);
    auto back = cps::DocumentRecord::fromBytes(image);
    benchmark::DoNotOptimize(back);
  }
}
BENCHMARK(BM_FileImageRoundTrip);

void BM_ApplyChannelEditReceive(benchmark::State& bench) {
  auto state = fullDocument();
  SilentPrompter prompter;
  cps::NullObserver observer;
  const cps::Effects effects{prompter, observer};
  bool flip = false;
  for (auto _ : bench) {
    // The last channel of the list: the lookup walks all 128 entries.
    cps::ApplyChannelEdit(state, effects, 7, 16, 1, flip ? "464.00000" : "463.50000");
    flip = !flip;
  }
}
BENCHMARK(BM_ApplyChannelEditReceive);

void BM_IsDocumentChangedUnchanged(benchmark::State& bench) {
  const auto state = fullDocument();
  for (auto _ : bench) benchmark::DoNotOptimize(cps::IsDocumentChanged(state));
}
BENCHMARK(BM_IsDocumentChangedUnchanged);

// The worst case: the same channels in reverse order, so every entry is looked up by number.
void BM_IsDocumentChangedReordered(benchmark::State& bench) {
  auto state = fullDocument();
  auto channels = state.workingDocument.usedChannels();
  std::reverse(channels.begin(), channels.end());
  for (auto _ : bench) benchmark::DoNotOptimize(cps::IsDocumentChanged(state));
}
BENCHMARK(BM_IsDocumentChangedReordered);

}  // namespace
