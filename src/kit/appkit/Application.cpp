#include "kit/appkit/Application.h"

#include <algorithm>

#include "kit/appkit/ApplicationPort.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/StandardAboutPanel.h"
#include "kit/appkit/Window.h"
#include "kit/core/Host.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/graphics/Image.h"

namespace kit {

Application& Application::shared() {
    static auto* application = new ProcessLocal<Application>;  // never destroyed, like the run loop's
    return application->get();
}

void Application::activateIgnoringOtherApps(bool /*ignoring*/) {
    host().activateIgnoringOtherApps();
}

ActivationPolicy Application::activationPolicy() const {
    return static_cast<ActivationPolicy>(host().applicationPort().activationPolicy());
}

bool Application::setActivationPolicy(ActivationPolicy policy) {
    return host().applicationPort().setActivationPolicy(static_cast<int>(policy));
}

const DispatchTable& Application::classDispatchTable() {
    static const DispatchTable table(&Object::classDispatchTable(),
                                     {action<&Application::terminate>("terminate:")});
    return table;
}

void Application::terminate(Object* /*sender*/) {
    if (auto* deciding = dynamic_cast<ApplicationTerminationDelegate*>(_delegate);
        deciding && deciding->applicationShouldTerminate(*this) != TerminateReply::Now) {
        return;
    }
    host().applicationPort().terminate();
}

bool Application::launchesAtLogin() const {
    return host().launchesAtLogin();
}

bool Application::setLaunchesAtLogin(bool launches, std::string& error) {
    return host().setLaunchesAtLogin(launches, error);
}

void Application::finishLaunching() {
    Notification notification("NSApplicationDidFinishLaunchingNotification", this);
    if (_delegate) {
        _delegate->applicationDidFinishLaunching(&notification);
    }
}

void Application::reopen() {
    if (_delegate) {
        _delegate->applicationShouldHandleReopen(*this, hasVisibleWindows());
    }
}

void Application::screenParametersDidChange() {
    Notification notification("NSApplicationDidChangeScreenParametersNotification", this);
    if (_delegate) {
        _delegate->applicationDidChangeScreenParameters(&notification);
    }
}

void Application::keepTopLevelObjects(std::vector<std::shared_ptr<Object>> objects) {
    for (auto& object : objects) {
        _topLevelObjects.push_back(std::move(object));
    }
}

void Application::orderFrontStandardAboutPanelWithOptions(const AboutPanelOptions& options) {
    StandardAboutPanel::orderFront(options);
}

void Application::windowWasCreated(Window& window) {
    _windows.push_back(&window);
}

void Application::windowWillBeDestroyed(Window& window) {
    std::erase(_windows, &window);
}

Window* Application::keyWindow() const {
    // Closing a window resigns its key status: the key window is a visible one.
    const auto key =
        std::find_if(_windows.begin(), _windows.end(), [](const Window* window) { return window->isKeyWindow(); });
    return key == _windows.end() ? nullptr : *key;
}

std::shared_ptr<Image> Application::applicationIconImage() const {
    const std::optional<std::string> name = Bundle::main().infoString("CFBundleIconFile");
    return name ? Image::imageNamed(*name) : nullptr;
}

bool Application::hasVisibleWindows() const {
    return std::any_of(_windows.begin(), _windows.end(),
                       [](const Window* window) { return window->isVisible(); });
}

int applicationMain(int /*argc*/, char** /*argv*/) {
    Application& application = Application::shared();
    const std::string mainFile = Bundle::main()
                                     .infoString("NSMainNibFile")
                                     .value_or(std::string(InterfaceFile::mainInterfaceFileName));
    std::vector<std::shared_ptr<Object>> topLevelObjects;
    const std::unique_ptr<InterfaceFile> file = InterfaceFile::initWithNibNamed(mainFile);
    if (file && file->instantiateWithOwner(&application, topLevelObjects)) {
        application.keepTopLevelObjects(std::move(topLevelObjects));
    }
    application.finishLaunching();
    return host().run();
}

}  // namespace kit
