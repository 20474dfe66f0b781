#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/core/Object.h"
#include "kit/foundation/URLLoading.h"
#include "update/SUAppcast.h"

namespace kit {
class Bundle;
class Window;
}  // namespace kit
class SUUpdateAlert;
class SUUpdater;

// What an updater tells its delegate, on the main thread. For an ordinary check the feed-loaded call
// comes first, then, in the same turn, the found or the not-found call.
class SUUpdaterDelegate {
public:
    virtual ~SUUpdaterDelegate() = default;
    virtual void updaterDidFinishLoadingAppcast(SUUpdater& /*updater*/, const SUAppcast& /*appcast*/) {}
    // `alertWindow` is the announcement about to be shown, or nullptr.
    virtual void updaterDidFindValidUpdate(SUUpdater& /*updater*/, const SUAppcastItem& /*item*/,
                                           kit::Window* /*alertWindow*/) {}
    virtual void updaterDidNotFindUpdate(SUUpdater& /*updater*/) {}
};

// The update checker of one bundle: it reads the feed named by the bundle's "SUFeedURL", finds the
// newest update the running system can take, tells its delegate and announces a found update in a
// plain window with a button to its page. Downloading and installing are not its work. Automatic checks
// (on unless the user switched them off; the setting lives in the user defaults) run every
// "SUScheduledCheckInterval" seconds of the Info property list (a day when it gives none), counted
// from the last resetUpdateCycle.
class SUUpdater : public kit::Object {
public:
    // The one updater of `bundle`, made on first use in a process.
    static SUUpdater& updaterForBundle(const kit::Bundle& bundle);
    ~SUUpdater() override;

    SUUpdaterDelegate* delegate() const { return _delegate; }
    void setDelegate(SUUpdaterDelegate* delegate) { _delegate = delegate; }

    // Starts the interval of automatic checks again from now; with automatic checks off, none is due.
    void resetUpdateCycle();
    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool checks);
    // A check the user asked for; nothing while one runs.
    void checkForUpdates(kit::Object* sender);
    bool updateInProgress() const { return _inProgress; }
    // The kind of the check being reported: this updater only makes the ordinary one, 0.
    virtual long currentCheckType() const { return 0; }
    double updateCheckInterval() const;

    // The announcement shown last, while it is open; nullptr otherwise.
    kit::Window* alertWindow() const;

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

    explicit SUUpdater(const kit::Bundle& bundle);

private:
    void checkInBackground();
    void startCheck(bool userInitiated);
    void finishCheck(const kit::URLLoadResult& result, bool userInitiated);
    void reportFeed(const SUAppcast& appcast, bool userInitiated);
    bool isNewerThanRunningVersion(const SUAppcastItem& item) const;

    const kit::Bundle& _bundle;
    SUUpdaterDelegate* _delegate = nullptr;
    bool _inProgress = false;
    std::unique_ptr<SUUpdateAlert> _alert;
};
