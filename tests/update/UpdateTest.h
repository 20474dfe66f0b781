#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "kit/foundation/PropertyList.h"
#include "support/TemporaryFolder.h"

namespace kit {
class Button;
class Window;
}  // namespace kit
class KRSparkleWrapper;

// A headless world whose bundle is "Example" 1.5 (build 150) of a maker at https://maker.example/, with
// its update feed in "feed.xml" beside the bundle.
class UpdateTest : public ::testing::Test {
protected:
    UpdateTest() { start(); }

    // Starts a new process with these info values over the defaults; a null value removes the key.
    void start(const kit::PropertyList::Dictionary& info = {});
    headless::HeadlessHost& world() { return *_host; }
    std::string feedPath() const { return (_folder.path() / "feed.xml").string(); }
    void writeFeed(const std::string& items) const;

    // The feed item of build `version` shown as `display`, for systems from `minimumSystem` on.
    static std::string item(const std::string& version, const std::string& display,
                            const std::string& minimumSystem = "");
    static KRSparkleWrapper& wrapper();
    // Stores the wrapper's record of the last check under `key`.
    static void storeRecord(const kit::PropertyList::Dictionary& record,
                            const char* key = "KRSparkleWrapperStatus");
    // An alert's sentence (its first text) and its buttons.
    static std::string sentenceIn(const kit::Window& window);
    static std::vector<kit::Button*> buttonsIn(const kit::Window& window);

private:
    TemporaryFolder _folder;
    std::unique_ptr<headless::HeadlessHost> _host;
};
