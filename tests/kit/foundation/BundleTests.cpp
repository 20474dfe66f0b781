#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "hosts/headless/HeadlessHost.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/StringsTable.h"
#include "kit/foundation/UserDefaults.h"
#include "support/HeadlessTest.h"
#include "support/TemporaryFolder.h"

using kit::Bundle;
using kit::PropertyList;

// A bundle folder made by each test, and a headless process started on it.
class BundleTest : public ::testing::Test {
protected:
    ~BundleTest() override { _host.reset(); }

    void start(std::vector<std::string> languages = {"en"}) {
        _host.reset();
        headless::HeadlessHost::Options options;
        options.bundleDirectory = _bundle.path();
        options.preferredLanguages = std::move(languages);
        _host = std::make_unique<headless::HeadlessHost>(options);
    }
    void writeInfo(const PropertyList::Dictionary& info) {
        _bundle.write("Info.plist", kit::PropertyListSerialization::write(info));
    }

    TemporaryFolder _bundle;
    std::unique_ptr<headless::HeadlessHost> _host;
};

TEST_F(BundleTest, TextsFollowTheUsersLanguagesThenEnglishThenTheKey) {
    _bundle.write("en.lproj/Localizable.strings",
                  "\"Quit\" = \"Quit Test\";\n\"About\" = \"About Test\";\n\"Help\" = \"Help Test\";");
    _bundle.write("de.lproj/Localizable.strings", "\"Quit\" = \"Beenden\";");
    _bundle.write("fr.lproj/Localizable.strings", "\"About\" = \"À propos\";");
    _bundle.write("de.lproj/Menu.strings", "\"Quit\" = \"Ende\";");
    // Each language falls back to its base language, whichever separator it is written with.
    start({"de_CH", "fr-CA"});
    const Bundle& bundle = Bundle::main();
    EXPECT_EQ(kit::localized("Quit"), "Beenden");
    EXPECT_EQ(bundle.localizedString("About"), "À propos");
    EXPECT_EQ(bundle.localizedString("Help"), "Help Test");
    EXPECT_EQ(bundle.localizedString("Quit", "", "Menu"), "Ende");
    EXPECT_EQ(bundle.localizedString("Missing", "Fallback"), "Fallback");
    EXPECT_EQ(bundle.localizedString("Missing"), "Missing");
    EXPECT_TRUE(_host->logMessages().empty()) << "no Info property list and missing tables are normal";

    _bundle.write("de.lproj/Localizable.strings", "\"Quit\" = \"Schließen\";");
    EXPECT_EQ(kit::localized("Quit"), "Beenden") << "tables are read once per process";
    start({"de"});
    EXPECT_EQ(kit::localized("Quit"), "Schließen");
}

TEST_F(BundleTest, InfoValuesAndResources) {
    writeInfo({{"CFBundleIdentifier", "com.example.Test"}, {"Build", 42}});
    _bundle.write("Credits.txt", "root");
    _bundle.write("de.lproj/Credits.txt", "de");
    _bundle.write("de.lproj/Notes.txt", "de");
    _bundle.write("en.lproj/Notes.txt", "en");
    _bundle.write("en.lproj/Help", "en");
    start({"de"});
    const Bundle& bundle = Bundle::main();
    EXPECT_EQ(bundle.bundleIdentifier(), "com.example.Test");
    EXPECT_FALSE(bundle.infoString("Build"));
    EXPECT_EQ(bundle.objectForInfoDictionaryKey("Build"), PropertyList(42));

    EXPECT_EQ(bundle.pathForResource("Credits", "txt"), _bundle.path() / "Credits.txt");
    EXPECT_EQ(bundle.pathForResource("Notes", "txt"), _bundle.path() / "de.lproj" / "Notes.txt");
    EXPECT_EQ(bundle.pathForResource("Help", ""), _bundle.path() / "en.lproj" / "Help");
    EXPECT_FALSE(bundle.pathForResource("Missing", "txt"));
    EXPECT_FALSE(bundle.pathForResource("", "")) << "no name names no resource, not the folder";
}

TEST_F(BundleTest, TheStandardDefaultsTakeTheIdentifierOnlyWhenItIsAFileName) {
    const std::pair<std::string, std::string> identifierAndFile[] = {
        {"com.example.Test", "com.example.Test.plist"},
        {"../Test", "com.larkspur.Awning.plist"},
        {"", "com.larkspur.Awning.plist"},
    };
    for (const auto& [identifier, file] : identifierAndFile) {
        writeInfo({{"CFBundleIdentifier", identifier}});
        start();
        EXPECT_EQ(kit::UserDefaults::standard().path(), _host->defaultsDirectory() / file) << identifier;
    }
}

TEST_F(BundleTest, DamagedFilesAreLoggedOnceAndIgnored) {
    _bundle.write("Info.plist", "<plist><dict><key>CFBundleName</key></dict></plist>");
    _bundle.write("en.lproj/Localizable.strings", "\"Quit\" = ");
    start();
    EXPECT_TRUE(Bundle::main().infoDictionary().empty());
    EXPECT_EQ(kit::localized("Quit"), "Quit");
    EXPECT_EQ(kit::localized("Quit"), "Quit");
    EXPECT_EQ(_host->logMessages().size(), 2u);
}

// The bundle's files may be anything the user put there: a FIFO or a device is refused at once, not waited
// for or read without end, and so is a file larger than any real one.
TEST_F(BundleTest, FilesThatAreNoRegularFilesOrTooLargeAreLoggedAndIgnored) {
    ASSERT_EQ(mkfifo((_bundle.path() / "Info.plist").c_str(), 0600), 0);
    std::filesystem::create_directories(_bundle.path() / "en.lproj");
    std::filesystem::create_symlink("/dev/zero", _bundle.path() / "en.lproj" / "Localizable.strings");
    _bundle.write("en.lproj/Large.strings", std::string(kit::StringsTable::largestFile + 1, ' '));
    start();
    EXPECT_TRUE(Bundle::main().infoDictionary().empty());
    EXPECT_EQ(kit::localized("Quit"), "Quit");
    EXPECT_EQ(Bundle::main().localizedString("Quit", "", "Large"), "Quit");
    ASSERT_EQ(_host->logMessages().size(), 3u);
    EXPECT_NE(_host->logMessages()[0].find("Info.plist is not a regular file"), std::string::npos);
    EXPECT_NE(_host->logMessages()[1].find("Localizable.strings is not a regular file"), std::string::npos);
    EXPECT_NE(_host->logMessages()[2].find("Large.strings is larger than 1 MiB"), std::string::npos);
}

class ShippedBundleTest : public HeadlessTest {};

// The shipped files load cleanly; the identifier names the settings file.
TEST_F(ShippedBundleTest, InfoAndTextsLoadCleanly) {
    const Bundle& bundle = Bundle::main();
    EXPECT_EQ(bundle.bundleIdentifier(), "com.larkspur.Awning");
    EXPECT_TRUE(kit::StringsTable::readFile(bundle.directory() / "en.lproj" / "Localizable.strings"));
    EXPECT_TRUE(world().logMessages().empty());
}
