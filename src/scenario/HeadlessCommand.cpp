#include "scenario/HeadlessCommand.h"

#include <ostream>
#include <system_error>

#include "scenario/Scenario.h"
#include "scenario/ScenarioRunner.h"

std::optional<HeadlessCommand> HeadlessCommand::parse(const std::vector<std::string>& arguments) {
    std::optional<std::string> scenario;
    std::optional<std::string> output;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--output" && !output && index + 1 < arguments.size()) {
            output = arguments[++index];
        } else if (!scenario && !argument.starts_with("--")) {
            scenario = argument;
        } else {
            return std::nullopt;
        }
    }
    if (!scenario || scenario->empty() || (output && output->empty())) {
        return std::nullopt;
    }
    HeadlessCommand command;
    command._scenarioPath = *scenario;
    command._outputDirectory = output ? std::filesystem::path(*output) : command._scenarioPath.parent_path();
    if (command._outputDirectory.empty()) {
        command._outputDirectory = ".";
    }
    return command;
}

int HeadlessCommand::run(std::ostream& trace, std::ostream& errors) const {
    std::string error;
    const std::optional<Scenario> scenario = Scenario::load(_scenarioPath, error);
    if (!scenario) {
        errors << "awning: " << error << "\n";
        return 2;
    }
    std::error_code problem;
    std::filesystem::create_directories(_outputDirectory, problem);
    if (!std::filesystem::is_directory(_outputDirectory)) {
        errors << "awning: cannot make the output folder " << _outputDirectory.string() << "\n";
        return 2;
    }
    ScenarioRunner runner(*scenario, trace, _outputDirectory);
    if (!runner.run()) {
        errors << "awning: " << runner.error() << "\n";
        return 1;
    }
    return 0;
}
