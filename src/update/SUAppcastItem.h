#pragma once

#include <string>

// One update in the feed: its build version (compared with the bundle's "CFBundleVersion"), the
// version shown to people, the oldest system it runs on and the pages about it.
class SUAppcastItem {
public:
    std::string versionString;
    std::string displayVersionString;  // the build version when the feed gives none
    std::string minimumSystemVersion;  // empty: any system
    std::string infoURL;               // the item's page (its <link>); may be empty
    std::string releaseNotesURL;       // sparkle:releaseNotesLink; may be empty
    bool newestSupportedUpdate = false;

    // Whether the running system is at least `minimumSystemVersion`.
    bool isSupportedBySystem() const;
};
