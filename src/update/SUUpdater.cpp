#include "update/SUUpdater.h"

#include <cmath>
#include <map>

#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/RunLoop.h"
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
                                           kit::action<&SUUpdater::checkInBackground>("checkInBackground")});
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
        return;
    }
    const std::optional<std::string> feed = _bundle.infoString("SUFeedURL");
    if (!feed || feed->empty()) {
        kit::log("[SUUpdater] no update feed: the Info property list names none (SUFeedURL)");
        return;
    }
    _inProgress = true;
    kit::loadContentsOfURL(
        *feed, [this, userInitiated](kit::URLLoadResult result) { finishCheck(result, userInitiated); });
}

void SUUpdater::finishCheck(const kit::URLLoadResult& result, bool userInitiated) {
    _inProgress = false;
    // An unreachable feed says nothing about updates, so nothing is reported as found or missing.
    if (!result.contents) {
        kit::log("[SUUpdater] cannot load the update feed: " + result.error);
        return;
    }
    std::string error;
    const std::optional<SUAppcast> appcast = SUAppcast::parse(*result.contents, error);
    if (!appcast) {
        kit::log("[SUUpdater] cannot read the update feed: " + error);
        if (_delegate) {
            _delegate->updaterDidNotFindUpdate(*this);
        }
        return;
    }
    reportFeed(*appcast, userInitiated);
}

void SUUpdater::reportFeed(const SUAppcast& appcast, bool userInitiated) {
    if (_delegate) {
        _delegate->updaterDidFinishLoadingAppcast(*this, appcast);
    }
    const SUAppcastItem* newest = appcast.newestSupportedItem();
    if (!newest || !isNewerThanRunningVersion(*newest)) {
        if (_delegate) {
            _delegate->updaterDidNotFindUpdate(*this);
        }
        if (userInitiated) {
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
