#include <cstdio>
#include <cstring>

#include "app/MainInterfaceFile.h"
#include "scenario/ScenarioRunner.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/DesktopApplication.h"
#include "kit/foundation/Bundle.h"

namespace {

int printNameAndVersion() {
    headless::HeadlessHost host;
    const kit::Bundle& bundle = kit::Bundle::main();
    std::printf("%s %s\n", bundle.infoString("CFBundleName").value_or("Awning").c_str(),
                bundle.infoString("CFBundleShortVersionString").value_or("?").c_str());
    return 0;
}

int printUsage() {
    std::fputs("usage: awning [--version | --headless SCENARIO]\n", stderr);
    return 2;
}

}  // namespace

// The entry point picks the host; after that nothing knows which one runs.
int main(int argc, char** argv) {
    registerInterfaceFiles();
    if (argc == 3 && std::strcmp(argv[1], "--headless") == 0) {
        return runHeadlessScenario(argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return printNameAndVersion();
    }
    if (argc > 1) {
        return printUsage();
    }
    return qthost::runDesktopApplication(argc, argv);
}
