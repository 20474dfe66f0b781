#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/appkit/Color.h"
#include "kit/appkit/Menu.h"
#include "kit/core/Object.h"
#include "kit/foundation/PropertyList.h"
#include "update/SUUpdater.h"

namespace kit {
class Bundle;
class Button;
class Image;
class MenuItem;
class TextField;
}  // namespace kit

// An application delegate that wants to hear when the update texts changed, so it can refit its
// settings window.
class KRPreferencesWindowFrameUpdating {
public:
    virtual ~KRPreferencesWindowFrameUpdating() = default;
    virtual void updatePreferencesWindowFrame() = 0;
};

// The application's one contact with the updater: it keeps a record of the last ordinary check in the
// user defaults, says what it found in two sentences, re-arms the automatic checks while the
// application is in use, and offers the "Updates" submenu and the update actions. There is one per
// process: every way to obtain one (an interface file's included) yields it.
class KRSparkleWrapper : public kit::Object,
                         public SUUpdaterDelegate,
                         public kit::MenuDelegate,
                         public kit::MenuItemValidation {
public:
    static KRSparkleWrapper& sharedSparkleWrapper();
    ~KRSparkleWrapper() override;

    // --- The record and its sentences
    static const kit::Bundle& relevantBundle();
    static std::optional<std::string> currentShortVersionString();
    SUUpdater& updater();
    // The delayed start: delegate of the updater, a fresh update cycle, and window updates observed.
    void becomeSparkleDelegate();
    // With a notification (a window updated): re-arms once, a second after a stream of updates ends, and
    // at most once an hour. With nullptr (that delayed call): re-arms now.
    void resetUpdateCycle(kit::Object* notification);
    // Read once from the defaults ("KRSparkleWrapperStatus", else the older "KRSparkleWrapper Status").
    kit::PropertyList::Dictionary& status();
    // Records an outcome: the running version, and the update version ("" for none) with the check date;
    // nullopt drops the update version and keeps the date.
    void setUpdateVersion(const std::optional<std::string>& version);
    void updaterDidNotFindUpdateFallback();
    // What the record says about the running version, or nullopt; an available update's version goes
    // into `updateVersion` when given.
    std::optional<std::string> statusDescriptionWithUpdateVersion(std::string* updateVersion);
    std::optional<std::string> statusDateDescription();
    void updateControls();
    void awakeFromNib() override;

    // --- SUUpdaterDelegate
    void updaterDidFinishLoadingAppcast(SUUpdater& updater, const SUAppcast& appcast) override;
    void updaterDidFindValidUpdate(SUUpdater& updater, const SUAppcastItem& item,
                                   kit::Window* alertWindow) override;
    void updaterDidNotFindUpdate(SUUpdater& updater) override;

    // --- The update menu and its actions
    // A new "Updates" item whose submenu this wrapper fills each time it opens.
    std::unique_ptr<kit::MenuItem> controlsSubmenuItem();
    void menuNeedsUpdate(kit::Menu& menu) override;
    // Gives update items their symbols and, for tag 0, the available update's badge; always true.
    bool validateMenuItem(kit::MenuItem& item) override;
    bool canCheck();
    void checkForUpdates(kit::Object* sender);
    void toggleAutomaticChecking(kit::Object* sender);
    void visitProductPage(kit::Object* sender);

    // Outlets (borrowed, may stay unconnected).
    kit::Button* autoUpdateCheckingSwitch = nullptr;
    kit::TextField* statusTextField = nullptr;
    kit::TextField* statusDateTextField = nullptr;

    // When the automatic checks were last re-armed, in seconds since the reference date.
    double resetUpdateCycleTimestamp() const { return _resetUpdateCycleTimestamp; }

    // --- Relaunch with instance check
    // The variable through which an instance tells the one it starts which relaunch this is.
    static constexpr const char* instanceCheckVariable = "com.larkspur.MultipleApplicationInstanceCheck";
    // Starts a new instance with the variable set to `parameter` and quits; returns (NO) only when the
    // delegate refused or the application did not quit.
    static bool relaunchWithInstanceCheckParameter(const std::string& parameter, bool notifyDelegate);
    static bool relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(bool notifyDelegate);
    // For an instance started by a first relaunch: when the Dock keeps the application, waits for the old
    // instance to go and relaunches once more; NO when it does not relaunch.
    static bool relaunchAgainIfAppropriate();

    // --- Update icons
    // A size × size image, drawn on demand: the named glyph in the background colour, with a soft shadow and
    // shading, over a disk in the highlight colour, optionally edged in the border colour.
    static std::shared_ptr<kit::Image> diskIconNamed(const std::string& name, double size, double inset,
                                                     std::optional<kit::Color> highlightColor,
                                                     std::optional<kit::Color> borderColor,
                                                     std::optional<kit::Color> backgroundColor);
    // The update icon: the system's refresh glyph on the default disk.
    static std::shared_ptr<kit::Image> updateIconWithSize(double size);

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    KRSparkleWrapper() = default;
    friend std::unique_ptr<KRSparkleWrapper> makeSparkleWrapper();

    void appendStatusLines(kit::Menu& menu);

    SUUpdater* _updater = nullptr;  // the framework's, kept for the process
    std::optional<kit::PropertyList::Dictionary> _status;
    double _resetUpdateCycleTimestamp = 0.0;
};
