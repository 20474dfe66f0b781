#include "hosts/qt/QtApplicationPort.h"

#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <charconv>
#include <cstdio>
#include <system_error>

#include "hosts/qt/widgets/QtStatusItemPeer.h"
#include "kit/foundation/Bundle.h"

extern char** environ;

namespace qthost {

namespace {

constexpr int regularPolicy = 0;
constexpr int accessoryPolicy = 1;

std::filesystem::path ownExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::optional<std::int64_t> processNumber(const std::string& name) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    return error == std::errc() && end == name.data() + name.size() ? std::optional(number) : std::nullopt;
}

// Accessory applications keep their windows out of the task bar: tool windows are skipped by it. A popover's
// window is a tool window whatever the policy.
void applyPolicyToWindows(int policy) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowHandle() && window->windowHandle()->transientParent()) {
            continue;
        }
        const bool visible = window->isVisible();
        window->setWindowFlag(Qt::Tool, policy == accessoryPolicy);
        if (visible) {
            window->show();
        }
    }
}

}  // namespace

std::vector<std::int64_t> processesRunning(const std::filesystem::path& executable,
                                           const std::filesystem::path& procDirectory) {
    std::vector<std::int64_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procDirectory, error)) {
        const std::optional<std::int64_t> number = processNumber(entry.path().filename().string());
        std::error_code unreadable;  // gone meanwhile, a zombie, or another user's
        if (number && std::filesystem::read_symlink(entry.path() / "exe", unreadable) == executable) {
            found.push_back(*number);
        }
    }
    return found;
}

std::map<std::string, std::string> QtApplicationPort::environment() const {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos) {
            variables.emplace(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    return variables;
}

std::int64_t QtApplicationPort::processIdentifier() const {
    return getpid();
}

std::string QtApplicationPort::bundlePath() const {
    return ownExecutable().string();
}

std::vector<kit::RunningApplicationDescription> QtApplicationPort::runningApplications() const {
    const std::filesystem::path executable = ownExecutable();
    const std::string identifier = kit::Bundle::main().bundleIdentifier().value_or("");
    std::vector<kit::RunningApplicationDescription> running;
    for (const std::int64_t process : processesRunning(executable)) {
        running.push_back({identifier, process, executable.string()});
    }
    return running;
}

bool QtApplicationPort::activateApplication(std::int64_t processIdentifier, std::uint64_t) {
    if (processIdentifier != getpid()) {
        return false;
    }
    _bringToFront();
    return true;
}

void QtApplicationPort::terminate() {
    // Defaults are written on every change, so nothing is left to save: end now, as the platform does,
    // even before the event loop runs.
    std::fflush(nullptr);
    _exit(0);
}

bool QtApplicationPort::setActivationPolicy(int policy) {
    if (policy != regularPolicy && policy != accessoryPolicy) {
        return false;
    }
    _policy = policy;
    applyPolicyToWindows(policy);
    return true;
}

std::unique_ptr<kit::StatusItemPeer> QtApplicationPort::createStatusItemPeer(kit::StatusItem& item) {
    return std::make_unique<QtStatusItemPeer>(item);
}

}  // namespace qthost
