// Speed of the calculation behind the calculate button and of the suggestion behind each
// keystroke in Text2, with the heap allocations each call makes.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "calc/design_calculation.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Every allocation of the process is counted; the benchmarks report those of their loop.
// Not inlined, neither this nor the deletes: the compiler must not pair malloc and free
// across them and warn about a mismatch.
[[gnu::noinline]] void *operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void *p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

using tremira::calc::CalculateDesign;
using tremira::calc::DesignInput;

void reportAllocations(benchmark::State &state, long before) {
    state.counters["allocs_per_call"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before), benchmark::Counter::kAvgIterations);
}

void calculate(benchmark::State &state, const DesignInput &input) {
    const long before = g_allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(CalculateDesign(input));
    reportAllocations(state, before);
}

void BM_CalculateDesign_RunA(benchmark::State &state) { calculate(state, {"220", "65", "160", "", "1,42", 0, 0, 0}); }

// Refused after the core section is substituted: the longest road to a refusal.
void BM_CalculateDesign_RefusedCoreSection(benchmark::State &state) {
    calculate(state, {"220", "65", "25", "", "1,42", 0, 0, 1});
}

// Division by zero at the volts per turn: the longest road to an error.
void BM_CalculateDesign_DivisionByZero(benchmark::State &state) {
    calculate(state, {"220", "65", "160", "", "0,0", 0, 0, 0});
}

void BM_SuggestCoreSection_Keystroke(benchmark::State &state) {
    const long before = g_allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(tremira::calc::SuggestCoreSection("160", 0));
    reportAllocations(state, before);
}

BENCHMARK(BM_CalculateDesign_RunA);
BENCHMARK(BM_CalculateDesign_RefusedCoreSection);
BENCHMARK(BM_CalculateDesign_DivisionByZero);
BENCHMARK(BM_SuggestCoreSection_Keystroke);

}  // namespace

BENCHMARK_MAIN();
