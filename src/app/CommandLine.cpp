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

constexpr std::size_t helpColumn = 24;

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
    const std::string indent(helpColumn, ' ');
    line += line.size() < helpColumn ? std::string(helpColumn - line.size(), ' ') : "\n" + indent;
    // A help of two lines breaks where it says.
    for (const char* c = option.help; *c; ++c) {
        line += *c == '\n' ? "\n" + indent : std::string(1, *c);
    }
    return line + "\n";
}

}  // namespace

std::span<const CommandLine::Option> CommandLine::options() {
    return allOptions;
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
    text +=
        "\n"
        "Exit status: 0 when done; 1 when it could not be done (no Awning running or\n"
        "answering, no bundle, a scenario step that failed); 2 when the arguments, or the\n"
        "scenario, cannot be read.\n";
    return text;
}

std::string CommandLine::complaint(const std::string& problem) {
    return "awning: " + problem + "\nTry 'awning --help' for more information.\n";
}
