#include "update/UpdateTest.h"

#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"

void UpdateTest::start(const kit::PropertyList::Dictionary& changes) {
    _host.reset();
    kit::PropertyList::Dictionary info{
        {"CFBundleIdentifier", "com.example.Example"}, {"CFBundleName", "Example"},
        {"CFBundleShortVersionString", "1.5"},         {"CFBundleVersion", "150"},
        {"KRMakerSiteURL", "https://maker.example/"},  {"SUFeedURL", "file://" + feedPath()}};
    for (const auto& [key, value] : changes) {
        if (value == kit::PropertyList()) {
            info.erase(key);
        } else {
            info[key] = value;
        }
    }
    _folder.write("defaults/.keep", "");
    _folder.write("bundle/Info.plist", kit::PropertyListSerialization::write(info));
    headless::HeadlessHost::Options options;
    options.defaultsDirectory = _folder.path() / "defaults";
    options.bundleDirectory = _folder.path() / "bundle";
    _host = std::make_unique<headless::HeadlessHost>(options);
}

void UpdateTest::writeFeed(const std::string& items) const {
    _folder.write("feed.xml",
                  "<?xml version=\"1.0\"?>\n<rss version=\"2.0\" "
                  "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n<channel>\n" +
                      items + "</channel>\n</rss>\n");
}

std::string UpdateTest::item(const std::string& version, const std::string& display,
                             const std::string& minimumSystem) {
    std::string item = "<item><title>Version " + display + "</title><link>https://maker.example/example/" +
                       display + "</link>";
    if (!minimumSystem.empty()) {
        item += "<sparkle:minimumSystemVersion>" + minimumSystem + "</sparkle:minimumSystemVersion>";
    }
    return item + "<enclosure url=\"https://maker.example/example-" + display + ".zip\" sparkle:version=\"" +
           version + "\" sparkle:shortVersionString=\"" + display + "\"/></item>\n";
}

KRSparkleWrapper& UpdateTest::wrapper() {
    return KRSparkleWrapper::sharedSparkleWrapper();
}

void UpdateTest::storeRecord(const kit::PropertyList::Dictionary& record, const char* key) {
    kit::UserDefaults::standard().setObject(record, key);
}

std::string UpdateTest::sentenceIn(const kit::Window& window) {
    for (const auto& view : window.contentView()->subviews()) {
        if (const auto* field = dynamic_cast<const kit::TextField*>(view.get())) {
            return field->stringValue();
        }
    }
    return {};
}

std::vector<kit::Button*> UpdateTest::buttonsIn(const kit::Window& window) {
    std::vector<kit::Button*> buttons;
    for (const auto& view : window.contentView()->subviews()) {
        if (auto* button = dynamic_cast<kit::Button*>(view.get())) {
            buttons.push_back(button);
        }
    }
    return buttons;
}
