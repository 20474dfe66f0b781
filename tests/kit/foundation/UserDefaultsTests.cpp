#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "kit/core/Host.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/UserDefaults.h"
#include "support/HeadlessTest.h"
#include "support/TemporaryFolder.h"

using kit::PropertyList;
using kit::UserDefaults;

namespace {

// Files may not grow beyond `bytes` while it lives: a write that would fails part-way, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &_previous);
        const rlimit limit{bytes, _previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        _previousHandler = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &_previous);
        signal(SIGXFSZ, _previousHandler);
    }

private:
    rlimit _previous{};
    sighandler_t _previousHandler;
};

}  // namespace

class UserDefaultsTest : public HeadlessTest {
protected:
    std::filesystem::path folder() const { return kit::host().defaultsDirectory(); }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder()), {}));
    }
};

TEST_F(UserDefaultsTest, SettingsSurviveARestart) {
    UserDefaults& defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.path(), folder() / "com.larkspur.Awning.plist");
    EXPECT_FALSE(defaults.objectForKey("Shown Settings"));
    EXPECT_FALSE(defaults.boolForKey("Shown Settings"));
    EXPECT_EQ(defaults.integerForKey("KRStatusItemWidth"), 0);
    EXPECT_EQ(defaults.doubleForKey("Idle Alpha"), 0.0);

    defaults.setBool(true, "Shown Settings");
    defaults.setInteger(24, "KRStatusItemWidth");
    defaults.setDouble(0.35, "Idle Alpha");
    defaults.setObject(PropertyList::Data{1, 2, 3}, "Color");
    defaults.setObject(" 12abc", "Text");
    defaults.setObject(PropertyList::Date{5.0}, "Date");
    restart();

    UserDefaults& again = UserDefaults::standard();
    EXPECT_TRUE(again.boolForKey("Shown Settings"));
    EXPECT_EQ(again.integerForKey("KRStatusItemWidth"), 24);
    EXPECT_EQ(again.doubleForKey("Idle Alpha"), 0.35);
    EXPECT_EQ(again.objectForKey("Color"), PropertyList(PropertyList::Data{1, 2, 3}));
    EXPECT_EQ(again.dictionaryRepresentation().size(), 6u);
    EXPECT_EQ(again.integerForKey("Text"), 12);
    EXPECT_TRUE(again.boolForKey("Text"));
    EXPECT_EQ(again.doubleForKey("Date"), 0.0);
    EXPECT_FALSE(again.boolForKey("Date"));

    // A removal is a change of its own, saved without a later write.
    again.removeObject("Color");
    restart();
    EXPECT_FALSE(UserDefaults::standard().objectForKey("Color"));
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), 5u);
    EXPECT_TRUE(world().logMessages().empty());
}

TEST_F(UserDefaultsTest, AFailedWriteKeepsThePreviousFile) {
    UserDefaults defaults(folder(), "com.example.Test");
    defaults.setDouble(0.25, "Idle Alpha");
    {
        const FileSizeLimit fullDisk(64);
        defaults.setDouble(0.25, "Idle Alpha");
        EXPECT_TRUE(world().logMessages().empty()) << "an unchanged value is not written again";
        defaults.setObject(std::string(4096, 'x'), "Big");
        defaults.setDouble(0.75, "Idle Alpha");
    }
    EXPECT_EQ(defaults.doubleForKey("Idle Alpha"), 0.75);
    ASSERT_EQ(world().logMessages().size(), 1u) << "one line for a run of failures";
    EXPECT_NE(world().logMessages()[0].find("Cannot save"), std::string::npos);
    EXPECT_EQ(entriesInFolder(), 1u) << "the half-written temporary file is removed";
    {
        const UserDefaults reader(folder(), "com.example.Test");
        EXPECT_EQ(reader.doubleForKey("Idle Alpha"), 0.25);
        EXPECT_FALSE(reader.objectForKey("Big"));
    }

    defaults.setBool(true, "Pills");
    const UserDefaults reader(folder(), "com.example.Test");
    EXPECT_EQ(reader.doubleForKey("Idle Alpha"), 0.75);
    EXPECT_TRUE(reader.objectForKey("Big"));
    EXPECT_EQ(world().logMessages().size(), 1u);

    {
        const FileSizeLimit fullAgain(64);
        defaults.setBool(false, "Pills");
    }
    EXPECT_EQ(world().logMessages().size(), 2u) << "a new run of failures is logged again";
}

// No temporary file can be made beside the settings: the file stays as it was, the change is kept in memory
// and the log says so once.
TEST_F(UserDefaultsTest, AnUnwritableFolderKeepsThePreviousFileAndSaysSo) {
    struct Case {
        const char* what;
        std::string domain;
        std::filesystem::perms folderMode;
    };
    const Case cases[] = {
        // "<domain>.plist" fits a file name, but not with the temporary file's suffix.
        {"no room for a temporary name", std::string(243, 'd'), std::filesystem::perms::all},
        {"a read-only folder", "com.example.Test",
         std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec},
    };
    for (const Case& c : cases) {
        if (c.folderMode != std::filesystem::perms::all && geteuid() == 0) {
            continue;  // permissions do not bind the superuser
        }
        restart();
        const std::string previous =
            kit::PropertyListSerialization::write(PropertyList::Dictionary{{"Idle Alpha", 0.25}});
        std::ofstream(folder() / (c.domain + ".plist")) << previous;
        std::filesystem::permissions(folder(), c.folderMode);
        UserDefaults defaults(folder(), c.domain);
        defaults.setDouble(0.5, "Idle Alpha");
        defaults.setDouble(0.75, "Idle Alpha");
        std::filesystem::permissions(folder(), std::filesystem::perms::owner_all);
        EXPECT_EQ(defaults.doubleForKey("Idle Alpha"), 0.75) << c.what;
        EXPECT_EQ(TemporaryFolder::read(folder() / (c.domain + ".plist")), previous) << c.what;
        EXPECT_EQ(entriesInFolder(), 1u) << c.what;
        ASSERT_EQ(world().logMessages().size(), 1u) << c.what;
        EXPECT_NE(world().logMessages()[0].find("Cannot save the settings: cannot create a file beside"),
                  std::string::npos)
            << world().logMessages()[0];
    }
}

// Two processes with the same settings (the old one still saving as the relaunched one starts): whoever
// writes last wins, whole, and a reader never sees a torn or half-written file.
TEST_F(UserDefaultsTest, TwoWritersAtOnceLeaveOneWholeFileAndTheLastWins) {
    UserDefaults first(folder(), "com.example.Test");
    UserDefaults second(folder(), "com.example.Test");
    std::atomic<bool> writing = true;
    std::atomic<int> tornReads = 0;
    std::thread reader([&] {
        while (writing) {
            // Until the first write there is no file, which is not a torn one.
            if (const auto bytes = kit::readWholeFile(folder() / "com.example.Test.plist",
                                                      kit::PropertyListSerialization::largestFile)) {
                const auto contents = kit::PropertyListSerialization::read(*bytes);
                tornReads += !contents || !contents->dictionary();
            }
        }
    });
    auto write = [](UserDefaults& defaults, const std::string& writer) {
        for (int n = 0; n < 20; ++n) {
            defaults.setObject(writer + std::string(1000, 'x') + std::to_string(n), "Writer");
        }
    };
    std::thread other([&] { write(second, "second"); });
    write(first, "first");
    other.join();
    writing = false;
    reader.join();
    EXPECT_EQ(tornReads, 0);
    second.setBool(true, "Pills");

    const UserDefaults after(folder(), "com.example.Test");
    EXPECT_EQ(after.dictionaryRepresentation(), second.dictionaryRepresentation());
    EXPECT_EQ(entriesInFolder(), 1u) << "no temporary file is left behind";
    EXPECT_TRUE(world().logMessages().empty());
}

TEST_F(UserDefaultsTest, ADamagedFileIsMovedAsideAndNeverOverwritten) {
    const auto file = folder() / "com.larkspur.Awning.plist";
    std::ofstream(file) << "garbage";
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    ASSERT_EQ(world().logMessages().size(), 1u);
    EXPECT_NE(world().logMessages()[0].find("damaged-1"), std::string::npos);
    EXPECT_EQ(TemporaryFolder::read(folder() / "com.larkspur.Awning.plist.damaged-1"), "garbage");
    EXPECT_FALSE(std::filesystem::exists(file));

    UserDefaults::standard().setBool(true, "Pills");
    restart();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("Pills"));
    EXPECT_TRUE(world().logMessages().empty());

    const std::string notADictionary = "<plist version=\"1.0\"><array/></plist>";
    std::ofstream(file) << notADictionary;
    restart();
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    EXPECT_EQ(world().logMessages().size(), 1u);
    EXPECT_EQ(TemporaryFolder::read(folder() / "com.larkspur.Awning.plist.damaged-1"), "garbage");
    EXPECT_EQ(TemporaryFolder::read(folder() / "com.larkspur.Awning.plist.damaged-2"), notADictionary);
}

TEST_F(UserDefaultsTest, ADamagedFileThatCannotBeMovedAsideIsNeverWritten) {
    // "<domain>.plist" fills a whole file name, so no ".damaged-<n>" name fits beside it.
    const std::string domain(249, 'd');
    const auto file = folder() / (domain + ".plist");
    std::ofstream(file) << "garbage";
    UserDefaults defaults(folder(), domain);
    defaults.setBool(true, "Pills");
    EXPECT_TRUE(defaults.boolForKey("Pills")) << "changes stay in memory";
    EXPECT_EQ(TemporaryFolder::read(file), "garbage");
    EXPECT_EQ(entriesInFolder(), 1u);
    ASSERT_EQ(world().logMessages().size(), 1u);
    EXPECT_NE(world().logMessages()[0].find("cannot be moved aside"), std::string::npos);
}

TEST_F(UserDefaultsTest, OtherDomainsAreReadOnlyFromTheSameFolder) {
    const PropertyList dock = PropertyList::Dictionary{
        {"persistent-apps",
         PropertyList::Array{PropertyList::Dictionary{
             {"tile-data", PropertyList::Dictionary{{"bundle-identifier", "com.example.Editor"}}}}}}};
    ASSERT_TRUE(kit::PropertyListSerialization::writeFile(dock, folder() / "com.apple.dock.plist"));
    std::ofstream(folder() / "com.example.Damaged.plist") << "garbage";

    const UserDefaults& defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.persistentDomainForName("com.apple.dock"), *dock.dictionary());
    EXPECT_FALSE(defaults.persistentDomainForName("com.example.Missing"));
    EXPECT_FALSE(defaults.persistentDomainForName("com.example.Damaged"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "com.example.Damaged.plist"));
    EXPECT_FALSE(defaults.persistentDomainForName("../" + folder().filename().string() + "/com.apple.dock"))
        << "a domain names a file in the folder, never a path";
}

TEST_F(UserDefaultsTest, AMissingFolderIsCreatedOnTheFirstChange) {
    UserDefaults(folder() / "made" / "later", "com.example.Test").setBool(true, "Pills");
    EXPECT_TRUE(std::filesystem::exists(folder() / "made" / "later" / "com.example.Test.plist"));
}

// A settings file that is no regular file, or far larger than settings ever are, is refused like a damaged
// one: one line, moved aside, the settings start empty; start-up neither waits for a FIFO's writer nor
// reads a device without end.
TEST_F(UserDefaultsTest, ASettingsFileThatIsNoRegularFileOrTooLargeIsSetAside) {
    const auto file = folder() / "com.larkspur.Awning.plist";
    const std::string largest = kit::PropertyListSerialization::write(PropertyList::Dictionary{
        {"Big", std::string(kit::PropertyListSerialization::largestFile - 300, 'x')}});
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* reason;
    } rows[] = {
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, "is not a regular file"},
        {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", file); },
         "is not a regular file"},
        {"a folder", [&] { std::filesystem::create_directory(file); }, "is not a regular file"},
        {"larger than the limit", [&] { std::ofstream(file) << largest << std::string(300, ' '); },
         "is larger than 1 MiB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        restart();
        row.plant();
        EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
        ASSERT_EQ(world().logMessages().size(), 1u);
        EXPECT_NE(world().logMessages()[0].find(row.reason), std::string::npos) << world().logMessages()[0];
        EXPECT_NE(world().logMessages()[0].find("moved to"), std::string::npos) << world().logMessages()[0];
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(file)));
        UserDefaults::standard().setBool(true, "Pills");
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)))
            << "the next change writes a new file";
        std::filesystem::remove_all(folder());
        std::filesystem::create_directories(folder());
    }

    restart();
    ASSERT_LE(largest.size(), kit::PropertyListSerialization::largestFile);
    std::ofstream(file) << largest;
    EXPECT_TRUE(UserDefaults::standard().objectForKey("Big")) << "a file within the limit is read";
    EXPECT_TRUE(world().logMessages().empty());

    // Another application's domain is only read, and refused the same way.
    ASSERT_EQ(mkfifo((folder() / "com.apple.dock.plist").c_str(), 0600), 0);
    EXPECT_FALSE(UserDefaults::standard().persistentDomainForName("com.apple.dock"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "com.apple.dock.plist")) << "and never moved";
}

// A crash mid-write leaves the previous settings; the next start removes the half file of a writer that is
// gone, never a live one's.
TEST_F(UserDefaultsTest, AStartKeepsThePreviousSettingsAndRemovesTheTemporaryFilesOfKilledWriters) {
    UserDefaults::standard().setBool(true, "Pills");
    const std::string next =
        kit::PropertyListSerialization::write(PropertyList::Dictionary{{"Pills", false}});
    const auto stray = folder() / "com.larkspur.Awning.plist.tmp-2147483646-Ab12Cd";
    const auto live = folder() / ("com.larkspur.Awning.plist.tmp-" + std::to_string(getpid()) + "-Ab12Cd");
    std::ofstream(stray) << next.substr(0, next.size() / 2);
    std::ofstream(live) << "half";
    restart();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("Pills"));
    EXPECT_TRUE(world().logMessages().empty());
    EXPECT_FALSE(std::filesystem::exists(stray));
    EXPECT_TRUE(std::filesystem::exists(live)) << "a live writer's file is left alone";
}
