#pragma once

#include <memory>
#include <string>
#include <vector>

// The operations Awning repeats while it runs, each made ready once and then run many times: by Google
// Benchmark for time, and under callgrind for instruction counts.
class Operation {
public:
    virtual ~Operation() = default;
    virtual void run() = 0;

    // Every operation's name, in the order the figures list them.
    static const std::vector<std::string>& names();
    // The operation called `name`, ready to run; nullptr when there is none.
    static std::unique_ptr<Operation> make(const std::string& name);
};
