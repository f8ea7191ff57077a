#include "ui/animation.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int kValues = 200;
constexpr double kFrame = 1.0 / 60;

enum Mix { mixed, springs, eases };

// 200 values in flight at once, more than both pickers ever animate together, with the curves
// the pickers use. Each iteration advances one frame; every 12 frames (0.2 s of simulated time)
// the values are sent off again so the store never settles.
vt::Animation curveFor(int i, Mix mix) {
    const vt::Animation springCurves[] = {
        vt::Animation::spring(0.34, 0.72),
        vt::Animation::spring(0.38, 0.7).delayed(i % 8 * 0.022),
        vt::Animation::spring(0.26, 0.78).delayed(i % 12 * 0.006),
        vt::Animation::spring(1.0, 1.5),
    };
    const vt::Animation easeCurves[] = {vt::Animation::easeIn(0.5), vt::Animation::easeOut(0.5)};
    switch (mix) {
    case springs:
        return springCurves[i % 4];
    case eases:
        return easeCurves[i % 2];
    default:
        return i % 3 == 2 ? easeCurves[i % 2] : springCurves[i % 4];
    }
}

void fill(vt::AnimatedValues& values, double target, Mix mix = mixed) {
    for (int i = 0; i < kValues; ++i) {
        const vt::AnimKey key{static_cast<std::uint64_t>(i), static_cast<std::uint32_t>(i % 7)};
        vt::withAnimation(curveFor(i, mix), [&] { values.setTarget(key, target + i); });
    }
}

// Arg: 0 mixed curves, 1 springs only, 2 eases only.
void BM_AdvanceFrame(benchmark::State& state) {
    const Mix mix = static_cast<Mix>(state.range(0));
    vt::ManualAnimationClock clock;
    vt::AnimatedValues values(clock);
    vt::withoutAnimation([&] { fill(values, 0, mix); });
    fill(values, 100, mix);
    double target = 100;
    int frames = 0;
    for (auto _ : state) {
        clock.advance(kFrame);
        values.advance(clock.now());
        benchmark::DoNotOptimize(values.value({0, 0}));
        if (++frames == 12) { // restart before anything settles
            state.PauseTiming();
            target = -target;
            fill(values, target, mix);
            frames = 0;
            state.ResumeTiming();
        }
    }
    state.counters["values"] = kValues;
}

BENCHMARK(BM_AdvanceFrame)->Arg(mixed)->Arg(springs)->Arg(eases);

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
