#include "core/hold_paste_machine.h"
#include "core/panel_placement.h"
#include "picker/fan/fan_geometry.h"
#include "picker/ring/ring_geometry.h"
#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

// Every heap allocation in this program passes through here, so a benchmark can report how many
// happened inside its timed loop.
namespace {
std::uint64_t allocations = 0;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace vt;

// One realistic hold: press, repeats, open, pointer moves, leave and return, keys, release.
std::vector<HPInput> holdSequence() {
    const HPInput cmdV = HPInput::keyDown(HPKey::v(), true, false, false);
    const HPInput repeat = HPInput::keyDown(HPKey::v(), true, false, true);
    return {cmdV,
            repeat,
            repeat,
            HPInput::holdTimerFired(),
            HPInput::pointer(1),
            HPInput::pointer(2),
            HPInput::pointer(std::nullopt),
            HPInput::pointerOutside(),
            HPInput::pointer(3),
            HPInput::keyDown(HPKey::right(), true, false, false),
            HPInput::keyDown(HPKey::left(), true, false, true),
            HPInput::pointerOutside(),
            HPInput::keyDown(HPKey::v(), true, false, false),
            HPInput::keyUp(HPKey::v()),
            HPInput::cmdReleased(),
            cmdV,
            HPInput::keyUp(HPKey::v())};
}

void BM_HoldPasteMachineHandle(benchmark::State& state) {
    const std::vector<HPInput> inputs = holdSequence();
    HoldPasteMachine machine;
    machine.itemCount = 8;
    std::size_t i = 0;
    const std::uint64_t before = allocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(machine.handle(inputs[i]));
        if (++i == inputs.size()) i = 0;
    }
    // Read before the counters map itself allocates.
    const auto counted = static_cast<double>(allocations - before);
    state.counters["allocs"] = counted;
    state.counters["allocs_per_input"] =
        benchmark::Counter(counted, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HoldPasteMachineHandle);

// The debug line's text is built only when debug logging is on; this shows its cost and that the
// allocation counter above does count.
void BM_DescribeForLog(benchmark::State& state) {
    const HPInput input = HPInput::keyDown(HPKey::digit(3), true, false, false);
    const HPEffects effects{HPEffect::hidePicker(), HPEffect::commit(2)};
    const std::uint64_t before = allocations;
    for (auto _ : state)
        benchmark::DoNotOptimize(describe(input) + " -> " + describe(HPAction::swallow) + " " +
                                 describe(effects));
    const auto counted = static_cast<double>(allocations - before);
    state.counters["allocs_per_input"] =
        benchmark::Counter(counted, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DescribeForLog);

struct Offset {
    double dx, dy;
};

std::vector<Offset> randomOffsets(double extent) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> d(-extent, extent);
    std::vector<Offset> offsets(4096);
    for (auto& o : offsets)
        o = {d(rng), d(rng)};
    return offsets;
}

void BM_RingHit(benchmark::State& state) {
    const auto offsets = randomOffsets(220);
    std::size_t i = 0;
    for (auto _ : state) {
        const Offset& o = offsets[i++ & 4095];
        benchmark::DoNotOptimize(RingGeometry::hit(o.dx, o.dy, 8));
    }
}
BENCHMARK(BM_RingHit);

void BM_FanHit(benchmark::State& state) {
    const auto offsets = randomOffsets(450);
    FanGeometry g;
    g.count = 50;
    g.visibleSlots = 12;
    g.centerAngle = -0.1;
    std::size_t i = 0;
    for (auto _ : state) {
        const Offset& o = offsets[i & 4095];
        benchmark::DoNotOptimize(fanHit(g, static_cast<double>(i & 31) * 0.37, o.dx, o.dy));
        ++i;
    }
}
BENCHMARK(BM_FanHit);

// The longest search: both ends overflow, so all fourteen steps are tried.
void BM_FanFittedCenterAngleWorstCase(benchmark::State& state) {
    FanGeometry g;
    g.visibleSlots = 12;
    double above = 200;
    for (auto _ : state) {
        benchmark::DoNotOptimize(above);
        benchmark::DoNotOptimize(g.fittedCenterAngle(above, 200));
    }
}
BENCHMARK(BM_FanFittedCenterAngleWorstCase);

void BM_FanFittedCenterAngleFits(benchmark::State& state) {
    FanGeometry g;
    double above = 1000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(above);
        benchmark::DoNotOptimize(g.fittedCenterAngle(above, 300));
    }
}
BENCHMARK(BM_FanFittedCenterAngleFits);

void BM_PanelPlacementThreeScreens(benchmark::State& state) {
    const std::vector<RectD> frames{
        {0, 0, 1920, 1080}, {1920, 0, 2560, 1440}, {-1280, 0, 1280, 1024}};
    PointD p{5000, 2000};
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(PanelPlacement::screenIndex(p, frames));
    }
}
BENCHMARK(BM_PanelPlacementThreeScreens);

} // namespace

BENCHMARK_MAIN();
