#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "about/KRAboutPanelManager.h"
#include "app/MainInterfaceFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/DesktopApplication.h"
#include "kit/foundation/Bundle.h"
#include "scenario/HeadlessCommand.h"
#include "update/KRSparkleWrapper.h"

namespace {

int printNameAndVersion() {
    headless::HeadlessHost::Options options;
    options.bundleDirectory = qthost::desktopBundleDirectory();
    headless::HeadlessHost host(options);
    const kit::Bundle& bundle = kit::Bundle::main();
    std::printf("%s %s\n", bundle.infoString("CFBundleName").value_or("Awning").c_str(),
                bundle.infoString("CFBundleShortVersionString").value_or("?").c_str());
    return 0;
}

int printUsage() {
    std::fputs(
        "usage: awning [--version | --status | --relaunch | --about | --headless SCENARIO [--output DIR]]\n",
        stderr);
    return 2;
}

}  // namespace

// The entry point picks the host; after that nothing knows which one runs.
int main(int argc, char** argv) {
    registerInterfaceFiles();
    if (argc >= 2 && std::strcmp(argv[1], "--headless") == 0) {
        const std::optional<HeadlessCommand> command =
            HeadlessCommand::parse(std::vector<std::string>(argv + 2, argv + argc));
        return command ? command->run(std::cout, std::cerr) : printUsage();
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return printNameAndVersion();
    }
    // The running instance quits and starts again as a new one.
    if (argc == 2 && std::strcmp(argv[1], "--relaunch") == 0) {
        return qthost::requestRelaunchOfRunningInstance(argc, argv) ? 0 : 1;
    }
    // The running instance says why the bar looks as it does.
    if (argc == 2 && std::strcmp(argv[1], "--status") == 0) {
        return qthost::printDesktopStatus(argc, argv);
    }
    const bool aboutRequested = argc == 2 && std::strcmp(argv[1], "--about") == 0;
    if (argc > 1 && !aboutRequested) {
        return printUsage();
    }
    qthost::DesktopCommands commands;
    commands.relaunch = [] { KRSparkleWrapper::relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(true); };
    commands.showAbout = [] {
        KRAboutPanelManager::aboutPanelManager().orderFrontStandardAboutPanel(nullptr);
    };
    commands.aboutRequested = aboutRequested;
    return qthost::runDesktopApplication(argc, argv, commands);
}
