#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Operations.h"
#include "support/AllocationCounter.h"

namespace {

void measure(benchmark::State& state, const std::string& name) {
    const std::unique_ptr<Operation> operation = Operation::make(name);
    operation->run();  // the first run may fill caches that later runs reuse
    AllocationCounter::start();
    for (auto _ : state) {
        operation->run();
    }
    const std::size_t allocations = AllocationCounter::stop();
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
