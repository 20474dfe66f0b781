#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "about/KRAboutPanelManager.h"
#include "app/CommandLine.h"
#include "app/MainInterfaceFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/DesktopApplication.h"
#include "kit/foundation/Bundle.h"
#include "scenario/HeadlessCommand.h"
#include "update/KRSparkleWrapper.h"

namespace {

int complain(const std::string& problem) {
    std::fputs(CommandLine::complaint(problem).c_str(), stderr);
    return 2;
}

// An executable copied away from its bundle has no name or version to tell: it says where it looked.
int printNameAndVersion() {
    if (const std::string missing = qthost::missingBundleReason(); !missing.empty()) {
        std::fprintf(stderr, "awning: cannot tell the version: %s\n", missing.c_str());
        return 1;
    }
    headless::HeadlessHost::Options options;
    options.bundleDirectory = qthost::desktopBundleDirectory();
    headless::HeadlessHost host(options);
    const kit::Bundle& bundle = kit::Bundle::main();
    const std::optional<std::string> version = bundle.infoString("CFBundleShortVersionString");
    if (!version) {
        std::fprintf(stderr, "awning: %s/Info.plist names no version\n", options.bundleDirectory.c_str());
        return 1;
    }
    std::printf("%s %s\n", bundle.infoString("CFBundleName").value_or("Awning").c_str(), version->c_str());
    return 0;
}

int runHeadless(const std::vector<std::string>& arguments) {
    const std::optional<HeadlessCommand> command = HeadlessCommand::parse(arguments);
    return command ? command->run(std::cout, std::cerr)
                   : complain("usage: awning --headless SCENARIO [--output DIR]");
}

int relaunchRunningInstance(int argc, char** argv) {
    if (qthost::requestRelaunchOfRunningInstance(argc, argv)) {
        return 0;
    }
    std::fputs("Awning is not running: there is none to relaunch.\n", stderr);
    return 1;
}

}  // namespace

// The entry point picks the host; after that nothing knows which one runs.
int main(int argc, char** argv) {
    registerInterfaceFiles();
    const CommandLine commandLine = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action()) {
        case CommandLine::Action::Invalid:
            return complain(commandLine.problem());
        case CommandLine::Action::Help:
            std::fputs(CommandLine::helpText().c_str(), stdout);
            return 0;
        case CommandLine::Action::Headless:
            return runHeadless(commandLine.headlessArguments());
        case CommandLine::Action::Version:
            return printNameAndVersion();
        // The running instance quits and starts again as a new one.
        case CommandLine::Action::Relaunch:
            return relaunchRunningInstance(argc, argv);
        // The running instance says why the bar looks as it does.
        case CommandLine::Action::Status:
            return qthost::printDesktopStatus(argc, argv);
        case CommandLine::Action::About:
        case CommandLine::Action::Launch:
            break;
    }
    qthost::DesktopCommands commands;
    commands.relaunch = [] { KRSparkleWrapper::relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(true); };
    commands.showAbout = [] {
        KRAboutPanelManager::aboutPanelManager().orderFrontStandardAboutPanel(nullptr);
    };
    commands.aboutRequested = commandLine.action() == CommandLine::Action::About;
    return qthost::runDesktopApplication(argc, argv, commands);
}
