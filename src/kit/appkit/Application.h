#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/core/Object.h"

namespace kit {

class Application;
struct AboutPanelOptions;
class Image;
class Notification;
class Window;

// What the application tells its delegate. Every callback has a default, as the platform's are optional.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(Notification* /*notification*/) {}
    // The user opened the running application again; false means the delegate handled it.
    virtual bool applicationShouldHandleReopen(Application& /*application*/, bool /*hasVisibleWindows*/) {
        return true;
    }
    virtual void applicationDidChangeScreenParameters(Notification* /*notification*/) {}
};

// The replies to applicationShouldTerminate: (NSApplicationTerminateReply).
enum class TerminateReply { Cancel = 0, Now = 1, Later = 2 };

// A delegate that takes part in quitting; asked only when the delegate is one.
class ApplicationTerminationDelegate {
public:
    virtual ~ApplicationTerminationDelegate() = default;
    virtual TerminateReply applicationShouldTerminate(Application& application) = 0;
};

// NSApplicationActivationPolicy: regular (task bar and menus) or accessory (neither).
enum class ActivationPolicy { Regular = 0, Accessory = 1 };

// The shared application object (NSApp).
class Application : public Object {
public:
    static Application& shared();

    ApplicationDelegate* delegate() const { return _delegate; }
    void setDelegate(ApplicationDelegate* delegate) { _delegate = delegate; }

    void activateIgnoringOtherApps(bool ignoring);
    ActivationPolicy activationPolicy() const;
    // False, with the policy unchanged, when the desktop refuses it.
    bool setActivationPolicy(ActivationPolicy policy);
    // Quits, unless a terminating delegate answers other than Now; returns only when the process goes on.
    void terminate(Object* sender);
    // Whether the desktop starts this application at login, and asking it to (or not); false, with
    // `error` set, when the desktop refuses.
    bool launchesAtLogin() const;
    bool setLaunchesAtLogin(bool launches, std::string& error);
    // Every window of the application, shown or not, in the order they were made.
    const std::vector<Window*>& windows() const { return _windows; }
    // The visible window that takes key presses, or nullptr.
    Window* keyWindow() const;
    // The application's icon: the image the bundle's "CFBundleIconFile" names; nullptr without one.
    std::shared_ptr<Image> applicationIconImage() const;

    // Posted by the host or the entry point; each reaches the delegate.
    void finishLaunching();
    void reopen();
    void screenParametersDidChange();

    // Objects the main interface file made; the application holds them for the life of the process.
    void keepTopLevelObjects(std::vector<std::shared_ptr<Object>> objects);

    // --- The standard About panel
    // Shows the platform's About panel with `options` (see StandardAboutPanel).
    void orderFrontStandardAboutPanelWithOptions(const AboutPanelOptions& options);

    void windowWasCreated(Window& window);
    void windowWillBeDestroyed(Window& window);

    // Answers `terminate:`, so a Quit item without a target reaches the application.
    static const DispatchTable& classDispatchTable();

protected:
    const DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    bool hasVisibleWindows() const;

    ApplicationDelegate* _delegate = nullptr;
    std::vector<Window*> _windows;
    std::vector<std::shared_ptr<Object>> _topLevelObjects;
};

// NSApplicationMain: loads the main interface file named by the Info property list's "NSMainNibFile"
// ("MainMenu" when absent), finishes launching and runs the host's event loop; returns its exit status.
int applicationMain(int argc, char** argv);

}  // namespace kit
