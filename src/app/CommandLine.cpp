#include "app/CommandLine.h"

#include <array>

namespace {

using Action = CommandLine::Action;

constexpr std::array<CommandLine::Option, 6> allOptions = {{
    {"-h", "--help", "", "print this help and exit", Action::Help},
    {"", "--version", "", "print the name and version, then exit", Action::Version},
    {"", "--about", "", "show the About panel of the running Awning", Action::About},
    {"", "--status", "", "ask the running Awning which panel it tints", Action::Status},
    {"", "--relaunch", "", "make the running Awning quit and start again", Action::Relaunch},
    {"", "--headless", "SCENARIO [--output DIR]",
     "play SCENARIO without a desktop, print its trace and\nwrite its snapshots into DIR", Action::Headless},
}};

constexpr std::array<CommandLine::ExitStatus, 3> allExitStatuses = {{
    {0, "done"},
    {1, "it could not be done: no Awning running or answering, no bundle,\na scenario step that failed"},
    {2, "the arguments, or the scenario, cannot be read"},
}};

constexpr std::size_t helpColumn = 24;
constexpr std::size_t statusColumn = 5;

// `text` from `column` on, each of its lines (a "\n" in it) indented to that column.
std::string indentedFrom(std::size_t column, const char* text) {
    const std::string indent(column, ' ');
    std::string indented;
    for (const char* c = text; *c; ++c) {
        indented += *c == '\n' ? "\n" + indent : std::string(1, *c);
    }
    return indented + "\n";
}

const CommandLine::Option* findOption(const std::string& argument) {
    for (const CommandLine::Option& option : allOptions) {
        if (argument == option.name || argument == option.shortName) {
            return &option;
        }
    }
    return nullptr;
}

std::string unreadable(const std::string& argument) {
    return argument.starts_with("-") && !findOption(argument) ? "unknown option '" + argument + "'"
                                                              : "unexpected argument '" + argument + "'";
}

std::string optionLine(const CommandLine::Option& option) {
    std::string line = "  ";
    line += *option.shortName ? std::string(option.shortName) + ", " : "    ";
    line += option.name;
    if (*option.arguments) {
        line += std::string(" ") + option.arguments;
    }
    // A long option takes a line of its own, and its help the next.
    line += line.size() < helpColumn ? std::string(helpColumn - line.size(), ' ')
                                     : "\n" + std::string(helpColumn, ' ');
    return line + indentedFrom(helpColumn, option.help);
}

std::string exitStatusLine(const CommandLine::ExitStatus& exitStatus) {
    std::string line = "  " + std::to_string(exitStatus.status);
    line += std::string(statusColumn - line.size(), ' ');
    return line + indentedFrom(statusColumn, exitStatus.meaning);
}

}  // namespace

std::span<const CommandLine::Option> CommandLine::options() {
    return allOptions;
}

std::span<const CommandLine::ExitStatus> CommandLine::exitStatuses() {
    return allExitStatuses;
}

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine commandLine;
    if (arguments.empty()) {
        return commandLine;
    }
    const Option* option = findOption(arguments.front());
    if (!option) {
        commandLine._action = Action::Invalid;
        commandLine._problem = unreadable(arguments.front());
        return commandLine;
    }
    commandLine._action = option->action;
    if (option->action == Action::Headless) {
        commandLine._headlessArguments.assign(arguments.begin() + 1, arguments.end());
    } else if (arguments.size() > 1 && option->action != Action::Help) {
        commandLine._action = Action::Invalid;
        commandLine._problem = unreadable(arguments[1]);
    }
    return commandLine;
}

std::string CommandLine::helpText() {
    std::string text =
        "Usage: awning [OPTION]\n"
        "Tints the desktop's top panel with a gradient of three colours.\n"
        "With no option, starts Awning, or opens the running Awning's settings window.\n"
        "\n"
        "Options:\n";
    for (const Option& option : allOptions) {
        text += optionLine(option);
    }
    text += "\nExit status:\n";
    for (const ExitStatus& exitStatus : allExitStatuses) {
        text += exitStatusLine(exitStatus);
    }
    return text;
}

std::string CommandLine::complaint(const std::string& problem) {
    return "awning: " + problem + "\nTry 'awning --help' for more information.\n";
}
