#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "Operations.h"

// Counts the allocations made while an operation runs.
namespace {
std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (counting) {
        ++allocations;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// The replacement operator new above hands out malloc's memory, so free is its matching release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace {

void measure(benchmark::State& state, const std::string& name) {
    const std::unique_ptr<Operation> operation = Operation::make(name);
    operation->run();  // the first run may fill caches that later runs reuse
    allocations = 0;
    counting = true;
    for (auto _ : state) {
        operation->run();
    }
    counting = false;
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

// Under callgrind (scripts/measure-operations): `count` runs of one operation with only those runs
// collected, so the instruction total divided by `count` is the cost of one.
int countInstructions(const std::string& name, int count) {
    const std::unique_ptr<Operation> operation = Operation::make(name);
    if (!operation || count <= 0) {
        std::fprintf(stderr, "usage: awning_benchmarks --callgrind OPERATION COUNT\n");
        return 2;
    }
    operation->run();
    CALLGRIND_ZERO_STATS;
    CALLGRIND_TOGGLE_COLLECT;
    for (int run = 0; run < count; ++run) {
        operation->run();
    }
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(name.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--callgrind") == 0) {
        return countInstructions(argv[2], std::atoi(argv[3]));
    }
    for (const std::string& name : Operation::names()) {
        benchmark::RegisterBenchmark(name.c_str(), measure, name);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
