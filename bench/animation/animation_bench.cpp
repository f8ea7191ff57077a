#include "ui/animation.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int kValues = 200;
constexpr double kFrame = 1.0 / 60;

// 200 values in flight at once, as many as both pickers could ever animate together, with the
// curves the pickers use. Each iteration advances one frame; every few seconds of simulated time
// the values are sent off again so the store never settles.
void fill(vt::AnimatedValues& values, double target) {
    for (int i = 0; i < kValues; ++i) {
        const vt::AnimKey key{static_cast<std::uint64_t>(i), static_cast<std::uint32_t>(i % 7)};
        vt::Animation a;
        switch (i % 4) {
        case 0:
            a = vt::Animation::spring(0.34, 0.72);
            break;
        case 1:
            a = vt::Animation::spring(0.38, 0.7).delayed(i % 8 * 0.022);
            break;
        case 2:
            a = vt::Animation::easeIn(0.5);
            break;
        default:
            a = vt::Animation::spring(1.0, 1.5);
            break;
        }
        vt::withAnimation(a, [&] { values.setTarget(key, target + i); });
    }
}

void BM_AdvanceFrame(benchmark::State& state) {
    vt::ManualAnimationClock clock;
    vt::AnimatedValues values(clock);
    vt::withoutAnimation([&] { fill(values, 0); });
    fill(values, 100);
    double target = 100;
    int frames = 0;
    for (auto _ : state) {
        clock.advance(kFrame);
        values.advance(clock.now());
        benchmark::DoNotOptimize(values.value({0, 0}));
        if (++frames == 12) { // restart before anything settles
            state.PauseTiming();
            target = -target;
            fill(values, target);
            frames = 0;
            state.ResumeTiming();
        }
    }
    state.counters["values"] = kValues;
}

BENCHMARK(BM_AdvanceFrame);

// All 200 values retargeted in one model change (the cost inside a model observer).
void BM_Retarget200(benchmark::State& state) {
    vt::ManualAnimationClock clock;
    vt::AnimatedValues values(clock);
    vt::withoutAnimation([&] { fill(values, 0); });
    double target = 100;
    for (auto _ : state) {
        clock.advance(kFrame);
        fill(values, target);
        target = -target;
    }
}
BENCHMARK(BM_Retarget200);

void BM_AdvanceSettled(benchmark::State& state) {
    vt::ManualAnimationClock clock;
    vt::AnimatedValues values(clock);
    vt::withoutAnimation([&] { fill(values, 0); });
    for (auto _ : state) {
        clock.advance(kFrame);
        values.advance(clock.now());
        benchmark::DoNotOptimize(values.settled());
    }
}
BENCHMARK(BM_AdvanceSettled);

} // namespace

BENCHMARK_MAIN();
