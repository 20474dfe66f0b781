#pragma once

#include <span>
#include <string>
#include <vector>

// What `awning` is asked to do by its arguments. The options, the help that explains them and their
// reading live here and nowhere else.
class CommandLine {
public:
    enum class Action { Launch, Help, Version, About, Status, Relaunch, Headless, Invalid };

    struct Option {
        const char* shortName;  // "-h", or "" for none
        const char* name;       // "--help"
        const char* arguments;  // what follows it, as the help writes it; "" for nothing
        const char* help;       // what it does, in a line or two ("\n" between)
        Action action;
    };
    // Every option, in the order the help lists them.
    static std::span<const Option> options();

    struct ExitStatus {
        int status;
        const char* meaning;  // when `awning` ends with it, in a line or two ("\n" between)
    };
    // Every status `awning` ends with, in the order the help lists them.
    static std::span<const ExitStatus> exitStatuses();

    // The request `arguments` (those after the program's name) spell. The first argument names the
    // action; only --headless takes more, which it reads itself.
    static CommandLine parse(const std::vector<std::string>& arguments);

    Action action() const { return _action; }
    // For Headless: the arguments after "--headless".
    const std::vector<std::string>& headlessArguments() const { return _headlessArguments; }
    // For Invalid: what is wrong, as "unknown option '--frob'".
    const std::string& problem() const { return _problem; }

    // The whole help: the usage, every option with a line on what it does, and the exit statuses.
    static std::string helpText();
    // What a command line that cannot be read gets on standard error: `problem` named, and where help is.
    static std::string complaint(const std::string& problem);

private:
    Action _action = Action::Launch;
    std::vector<std::string> _headlessArguments;
    std::string _problem;
};
