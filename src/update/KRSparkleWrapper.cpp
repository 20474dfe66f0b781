#include "update/KRSparkleWrapper.h"

#include <cmath>

#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/TextField.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Date.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/StringFormat.h"
#include "kit/foundation/UserDefaults.h"

namespace {

constexpr const char* statusKey = "KRSparkleWrapperStatus";
constexpr const char* olderStatusKey = "KRSparkleWrapper Status";
constexpr const char* currentVersionKey = "Current Version";
constexpr const char* updateVersionKey = "Update Version";
constexpr const char* checkDateKey = "Check Date";
constexpr double reArmSpacing = 3600.0;
constexpr double reArmDelay = 1.0;

// A record value that should be a string; another kind counts as absent, since only this code writes
// the record and a damaged one must not pass for a version.
std::optional<std::string> recordString(const kit::PropertyList::Dictionary& record, const char* key) {
    const auto found = record.find(key);
    if (found == record.end() || !found->second.string()) {
        return std::nullopt;
    }
    return *found->second.string();
}

// Whole seconds of Unix time, the fraction cut off; never below 0.
std::int64_t checkDateNow() {
    const double seconds = std::trunc(kit::timeIntervalSince1970());
    return seconds > 0.0 ? static_cast<std::int64_t>(seconds) : 0;
}

}  // namespace

std::unique_ptr<KRSparkleWrapper> makeSparkleWrapper() {
    std::unique_ptr<KRSparkleWrapper> wrapper(new KRSparkleWrapper);
    kit::performSelector(*wrapper, kit::sel("becomeSparkleDelegate"), nullptr, 0.0);
    return wrapper;
}

KRSparkleWrapper& KRSparkleWrapper::sharedSparkleWrapper() {
    static auto* wrapper = new kit::ProcessLocal<KRSparkleWrapper>(&makeSparkleWrapper);  // never destroyed
    return wrapper->get();
}

KRSparkleWrapper::~KRSparkleWrapper() = default;

const kit::DispatchTable& KRSparkleWrapper::classDispatchTable() {
    static const kit::DispatchTable table(
        &Object::classDispatchTable(),
        {kit::action<&KRSparkleWrapper::becomeSparkleDelegate>("becomeSparkleDelegate"),
         kit::action<&KRSparkleWrapper::resetUpdateCycle>("resetUpdateCycle:"),
         kit::action<&KRSparkleWrapper::updaterDidNotFindUpdateFallback>("updaterDidNotFindUpdateFallback"),
         kit::action<&KRSparkleWrapper::checkForUpdates>("checkForUpdates:"),
         kit::action<&KRSparkleWrapper::toggleAutomaticChecking>("toggleAutomaticChecking:"),
         kit::action<&KRSparkleWrapper::visitProductPage>("visitProductPage:")});
    return table;
}

const kit::Bundle& KRSparkleWrapper::relevantBundle() {
    return kit::Bundle::main();  // the bundle that holds this code
}

std::optional<std::string> KRSparkleWrapper::currentShortVersionString() {
    return relevantBundle().infoString("CFBundleShortVersionString");
}

SUUpdater& KRSparkleWrapper::updater() {
    if (!_updater) {
        _updater = &SUUpdater::updaterForBundle(relevantBundle());
    }
    return *_updater;
}

void KRSparkleWrapper::becomeSparkleDelegate() {
    updater().setDelegate(this);
    updater().resetUpdateCycle();
    _resetUpdateCycleTimestamp = kit::timeIntervalSinceReferenceDate();
    kit::NotificationCenter::defaultCenter().addObserver(*this, kit::sel("resetUpdateCycle:"),
                                                         kit::WindowDidUpdateNotification);
}

void KRSparkleWrapper::resetUpdateCycle(kit::Object* notification) {
    const kit::Selector reArm = kit::sel("resetUpdateCycle:");
    if (notification) {
        kit::cancelPreviousPerformRequests(*this, reArm, nullptr);
        if (kit::timeIntervalSinceReferenceDate() - _resetUpdateCycleTimestamp > reArmSpacing) {
            kit::performSelector(*this, reArm, nullptr, reArmDelay);
        }
        return;
    }
    _resetUpdateCycleTimestamp = kit::timeIntervalSinceReferenceDate();
    if (updater().automaticallyChecksForUpdates()) {
        updater().resetUpdateCycle();
    }
}

kit::PropertyList::Dictionary& KRSparkleWrapper::status() {
    if (!_status) {
        const kit::UserDefaults& defaults = kit::UserDefaults::standard();
        std::optional<kit::PropertyList> stored = defaults.objectForKey(statusKey);
        if (!stored) {
            stored = defaults.objectForKey(olderStatusKey);
        }
        _status = stored && stored->dictionary() ? *stored->dictionary() : kit::PropertyList::Dictionary{};
    }
    return *_status;
}

void KRSparkleWrapper::setUpdateVersion(const std::optional<std::string>& version) {
    kit::PropertyList::Dictionary& record = status();
    if (const std::optional<std::string> current = currentShortVersionString()) {
        record[currentVersionKey] = *current;
        if (version) {
            record[updateVersionKey] = *version;
            record[checkDateKey] = checkDateNow();
        } else {
            record.erase(updateVersionKey);
        }
    } else {
        record.erase(currentVersionKey);
    }
    kit::UserDefaults::standard().setObject(record, statusKey);
    updateControls();
}

void KRSparkleWrapper::updaterDidNotFindUpdateFallback() {
    setUpdateVersion("");
}

std::optional<std::string> KRSparkleWrapper::statusDescriptionWithUpdateVersion(std::string* updateVersion) {
    const std::optional<std::string> current = currentShortVersionString();
    if (!current || recordString(status(), currentVersionKey) != current) {
        return std::nullopt;
    }
    const std::optional<std::string> update = recordString(status(), updateVersionKey);
    if (!update) {
        return std::nullopt;
    }
    const std::optional<std::string> name = relevantBundle().infoString("CFBundleName");
    if (update->empty()) {
        return kit::stringWithFormat(kit::localized("%@ %@ is up to date."), {name, current});
    }
    if (updateVersion) {
        *updateVersion = *update;
    }
    return kit::stringWithFormat(kit::localized("%@ %@ is now available! You are currently using %@ %@."),
                                 {name, update, name, current});
}

std::optional<std::string> KRSparkleWrapper::statusDateDescription() {
    const auto found = status().find(checkDateKey);
    const std::optional<std::int64_t> seconds =
        found == status().end() ? std::nullopt : found->second.integerValue();
    if (!seconds) {
        return std::nullopt;
    }
    const auto date = kit::dateWithTimeIntervalSince1970(static_cast<double>(*seconds));
    return kit::stringWithFormat(kit::localized("Last check: %@"), {kit::localizedLongDate(date)});
}

void KRSparkleWrapper::updateControls() {
    if (!autoUpdateCheckingSwitch) {
        return;
    }
    autoUpdateCheckingSwitch->setState(
        updater().automaticallyChecksForUpdates() ? kit::ControlStateValue::On : kit::ControlStateValue::Off);
    const std::optional<std::string> sentence = statusDescriptionWithUpdateVersion(nullptr);
    const bool hasSentence = sentence && !sentence->empty();
    const std::optional<std::string> date = hasSentence ? statusDateDescription() : std::nullopt;
    if (statusDateTextField) {
        statusDateTextField->setStringValue(date.value_or(""));
    }
    if (statusTextField) {
        statusTextField->setStringValue(sentence.value_or(""));
        statusTextField->setSelectable(hasSentence);
    }
    if (auto* delegate =
            dynamic_cast<KRPreferencesWindowFrameUpdating*>(kit::Application::shared().delegate())) {
        delegate->updatePreferencesWindowFrame();
    }
}

void KRSparkleWrapper::awakeFromNib() {
    Object::awakeFromNib();
    updateControls();
}

void KRSparkleWrapper::updaterDidFinishLoadingAppcast(SUUpdater& updater, const SUAppcast& /*appcast*/) {
    if (updater.currentCheckType() == 0) {
        kit::performSelector(*this, kit::sel("updaterDidNotFindUpdateFallback"), nullptr, 0.0);
    }
}

void KRSparkleWrapper::updaterDidFindValidUpdate(SUUpdater& updater, const SUAppcastItem& item,
                                                 kit::Window* /*alertWindow*/) {
    if (updater.currentCheckType() == 0) {
        kit::cancelPreviousPerformRequests(*this, kit::sel("updaterDidNotFindUpdateFallback"), nullptr);
    }
    if (item.newestSupportedUpdate) {
        setUpdateVersion(item.displayVersionString);
    }
}

void KRSparkleWrapper::updaterDidNotFindUpdate(SUUpdater& updater) {
    if (updater.currentCheckType() != 0) {
        return;
    }
    kit::cancelPreviousPerformRequests(*this, kit::sel("updaterDidNotFindUpdateFallback"), nullptr);
    setUpdateVersion("");
}
