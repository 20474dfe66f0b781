#include "update/SUUpdater.h"

#include <cmath>
#include <map>

#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/StringFormat.h"
#include "kit/foundation/UserDefaults.h"
#include "update/SUUpdateAlert.h"
#include "update/SUVersionComparison.h"

namespace {

constexpr const char* automaticChecksKey = "SUEnableAutomaticChecks";
constexpr double defaultCheckInterval = 86400.0;

using Updaters = std::map<std::filesystem::path, std::unique_ptr<SUUpdater>>;

Updaters& updaters() {
    static auto* updaters = new kit::ProcessLocal<Updaters>;  // never destroyed, like the bundles
    return updaters->get();
}

// Whole seconds as people write them: "30".
std::string secondsText(double seconds) {
    return std::to_string(static_cast<long long>(seconds));
}

}  // namespace

SUUpdater& SUUpdater::updaterForBundle(const kit::Bundle& bundle) {
    std::unique_ptr<SUUpdater>& updater = updaters()[bundle.directory()];
    if (!updater) {
        updater.reset(new SUUpdater(bundle));
    }
    return *updater;
}

SUUpdater::SUUpdater(const kit::Bundle& bundle) : _bundle(bundle) {}

SUUpdater::~SUUpdater() = default;

const kit::DispatchTable& SUUpdater::classDispatchTable() {
    static const kit::DispatchTable table(&Object::classDispatchTable(),
                                          {kit::action<&SUUpdater::checkForUpdates>("checkForUpdates:"),
                                           kit::action<&SUUpdater::checkInBackground>("checkInBackground"),
                                           kit::action<&SUUpdater::checkDidTimeOut>("checkDidTimeOut")});
    return table;
}

bool SUUpdater::automaticallyChecksForUpdates() const {
    if (const auto stored = kit::UserDefaults::standard().objectForKey(automaticChecksKey)) {
        return stored->boolValue().value_or(true);
    }
    const auto configured = _bundle.objectForInfoDictionaryKey(automaticChecksKey);
    return configured ? configured->boolValue().value_or(true) : true;
}

void SUUpdater::setAutomaticallyChecksForUpdates(bool checks) {
    kit::UserDefaults::standard().setBool(checks, automaticChecksKey);
    resetUpdateCycle();
}

double SUUpdater::updateCheckInterval() const {
    const auto configured = _bundle.objectForInfoDictionaryKey("SUScheduledCheckInterval");
    const double interval = configured ? configured->doubleValue().value_or(0.0) : 0.0;
    return std::isfinite(interval) && interval > 0.0 ? interval : defaultCheckInterval;
}

void SUUpdater::resetUpdateCycle() {
    const kit::Selector check = kit::sel("checkInBackground");
    kit::cancelPreviousPerformRequests(*this, check, nullptr);
    if (automaticallyChecksForUpdates()) {
        kit::performSelector(*this, check, nullptr, updateCheckInterval());
    }
}

void SUUpdater::checkForUpdates(kit::Object* /*sender*/) {
    startCheck(true);
}

void SUUpdater::checkInBackground() {
    resetUpdateCycle();
    startCheck(false);
}

void SUUpdater::startCheck(bool userInitiated) {
    if (_inProgress) {
        _userInitiated = _userInitiated || userInitiated;
        return;
    }
    _userInitiated = userInitiated;
    const std::optional<std::string> feed = _bundle.infoString("SUFeedURL");
    if (!feed || feed->empty()) {
        failCheck("no update feed: the Info property list names none (SUFeedURL)",
                  failureSentence("%@ could not check for updates: no update address is set."));
        return;
    }
    _inProgress = true;
    const std::uint64_t check = ++_checkNumber;
    // A port that never answers must not keep the updater busy for the rest of the run.
    kit::performSelector(*this, kit::sel("checkDidTimeOut"), nullptr, SUFeedTimeout);
    kit::loadContentsOfURL({*feed, SUMaximumFeedLength, SUFeedTimeout},
                           [this, check](const kit::URLLoadResult& result) {
                               if (_inProgress && check == _checkNumber) {
                                   finishCheck(result);
                               }
                           });
}

void SUUpdater::checkDidTimeOut() {
    finishCheck(kit::URLLoadResult::failed(kit::URLLoadFailure::TimedOut,
                                           "no answer within " + secondsText(SUFeedTimeout) + " s"));
}

void SUUpdater::finishCheck(const kit::URLLoadResult& result) {
    _inProgress = false;
    kit::cancelPreviousPerformRequests(*this, kit::sel("checkDidTimeOut"), nullptr);
    if (!result.contents) {
        failCheck("cannot load the update feed: " + result.error, failureSentence(result.failure));
        return;
    }
    std::string error;
    const std::optional<SUAppcast> appcast = SUAppcast::parse(*result.contents, error);
    if (!appcast) {
        failCheck("cannot read the update feed: " + error,
                  failureSentence("%@ could not check for updates: the update information is damaged."));
        return;
    }
    if (appcast->overlongVersionItemCount() > 0) {
        kit::log("[SUUpdater] left out " + std::to_string(appcast->overlongVersionItemCount()) +
                 " feed item(s) whose version is longer than " + std::to_string(SUMaximumVersionLength) +
                 " bytes");
    }
    reportFeed(*appcast);
}

// A failed check says nothing about updates: the delegate hears nothing, so nothing is recorded.
void SUUpdater::failCheck(const std::string& logMessage, const std::string& reason) {
    kit::log("[SUUpdater] " + logMessage);
    if (_userInitiated) {
        _alert = SUUpdateAlert::failureAlert(reason);
        _alert->show();
    }
}

std::string SUUpdater::failureSentence(const char* format) const {
    return kit::stringWithFormat(kit::localized(format), {_bundle.infoString("CFBundleName")});
}

std::string SUUpdater::failureSentence(kit::URLLoadFailure failure) const {
    using Failure = kit::URLLoadFailure;
    switch (failure) {
        case Failure::TooLarge:
            return kit::stringWithFormat(
                kit::localized(
                    "%@ could not check for updates: the update information is larger than %@ MB."),
                {_bundle.infoString("CFBundleName"), std::to_string(SUMaximumFeedLength / (1024 * 1024))});
        case Failure::TimedOut:
            return kit::stringWithFormat(
                kit::localized(
                    "%@ could not check for updates: the update server did not answer within %@ seconds."),
                {_bundle.infoString("CFBundleName"), secondsText(SUFeedTimeout)});
        case Failure::NotFound:
            return failureSentence("%@ could not check for updates: the update information was not found.");
        case Failure::CannotConnect:
            return failureSentence("%@ could not check for updates: the update server could not be reached.");
        case Failure::ServerError:
            return failureSentence("%@ could not check for updates: the update server reported an error.");
        case Failure::UnsupportedAddress:
            return failureSentence(
                "%@ could not check for updates: its update address is not one it can use.");
        case Failure::NotARegularFile:
        case Failure::Unreadable:
        case Failure::None:
            break;
    }
    return failureSentence("%@ could not check for updates: the update information could not be read.");
}

void SUUpdater::reportFeed(const SUAppcast& appcast) {
    if (_delegate) {
        _delegate->updaterDidFinishLoadingAppcast(*this, appcast);
    }
    const SUAppcastItem* newest = appcast.newestSupportedItem();
    if (!newest || !isNewerThanRunningVersion(*newest)) {
        if (_delegate) {
            _delegate->updaterDidNotFindUpdate(*this);
        }
        if (_userInitiated) {
            _alert = SUUpdateAlert::upToDateAlert(_bundle);
            _alert->show();
        }
        return;
    }
    SUAppcastItem update = *newest;
    update.newestSupportedUpdate = true;
    _alert = SUUpdateAlert::updateAlert(_bundle, update);
    if (_delegate) {
        _delegate->updaterDidFindValidUpdate(*this, update, &_alert->window());
    }
    _alert->show();
}

bool SUUpdater::isNewerThanRunningVersion(const SUAppcastItem& item) const {
    const std::optional<std::string> running = _bundle.infoString("CFBundleVersion");
    return !running || SUCompareVersions(item.versionString, *running) > 0;
}

kit::Window* SUUpdater::alertWindow() const {
    return _alert && _alert->isShown() ? &_alert->window() : nullptr;
}
