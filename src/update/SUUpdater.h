#pragma once

#include <cstddef>
#include <cstdint>
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
//
// A check that fails (no feed address, no answer within the timeout, a feed too large or unreadable)
// tells the delegate nothing, so nothing is recorded as found or missing; it is logged, and a check the
// user asked for says why in an alert.
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
    // A check the user asked for. While one runs, none starts: the running check answers the user.
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
    void checkDidTimeOut();
    void finishCheck(const kit::URLLoadResult& result);
    void failCheck(const std::string& logMessage, const std::string& reason);
    // The alert's sentence: `format` filled with the application's name; or the one for `failure`.
    std::string failureSentence(const char* format) const;
    std::string failureSentence(kit::URLLoadFailure failure) const;
    void reportFeed(const SUAppcast& appcast);
    bool isNewerThanRunningVersion(const SUAppcastItem& item) const;

    const kit::Bundle& _bundle;
    SUUpdaterDelegate* _delegate = nullptr;
    bool _inProgress = false;
    bool _userInitiated = false;
    // Numbers the checks, so that a load answering after its check timed out is ignored.
    std::uint64_t _checkNumber = 0;
    std::unique_ptr<SUUpdateAlert> _alert;
};

// A feed longer than this is refused unread. Real feeds, even with release notes inside, stay far
// below 1 MiB; the limit bounds the memory and the main thread's time a feed can take.
inline constexpr std::size_t SUMaximumFeedLength = 2 * 1024 * 1024;
// Seconds a feed may take to arrive, from asking to its last byte.
inline constexpr double SUFeedTimeout = 30.0;
