#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// `awning --headless SCENARIO [--output DIR]`: plays a scenario on the headless host, writes its trace,
// and writes its snapshots into DIR, else into the scenario's own folder.
class HeadlessCommand {
public:
    // The command the arguments after "--headless" spell, in either order; nullopt when they spell none.
    static std::optional<HeadlessCommand> parse(const std::vector<std::string>& arguments);

    const std::filesystem::path& scenarioPath() const { return _scenarioPath; }
    const std::filesystem::path& outputDirectory() const { return _outputDirectory; }

    // Returns the process's exit status: 0 played through, 1 a step failed, 2 nothing could be played
    // (an unreadable or malformed scenario, an output folder that cannot be made).
    int run(std::ostream& trace, std::ostream& errors) const;

private:
    std::filesystem::path _scenarioPath;
    std::filesystem::path _outputDirectory;
};
