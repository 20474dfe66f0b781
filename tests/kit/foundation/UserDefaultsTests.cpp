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
using kit::PropertyListSerialization;
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
    std::filesystem::path file() const { return folder() / "com.larkspur.Awning.plist"; }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder()), {}));
    }
    // The one line logged so far must hold `text`.
    void expectOneLogLine(const std::string& text) {
        ASSERT_EQ(world().logMessages().size(), 1u);
        EXPECT_NE(world().logMessages()[0].find(text), std::string::npos) << world().logMessages()[0];
    }
};

TEST_F(UserDefaultsTest, SettingsSurviveARestart) {
    UserDefaults& defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.path(), file());
    EXPECT_FALSE(defaults.objectForKey("Shown Settings"));
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
    EXPECT_EQ(again.integerForKey("Text"), 12);
    EXPECT_FALSE(again.boolForKey("Date"));
    EXPECT_EQ(again.dictionaryRepresentation().size(), 6u);

    again.removeObject("Color");  // saved without a later write
    restart();
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), 5u);
    EXPECT_TRUE(world().logMessages().empty());
}

TEST_F(UserDefaultsTest, AFailedWriteKeepsThePreviousFileAndARunOfFailuresIsLoggedOnce) {
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
    expectOneLogLine("Cannot save");
    EXPECT_EQ(entriesInFolder(), 1u) << "the half-written temporary file is removed";
    EXPECT_EQ(UserDefaults(folder(), "com.example.Test").doubleForKey("Idle Alpha"), 0.25);

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

// "<domain>.plist" fits a file name, but not with the temporary file's suffix: no file can be made beside it.
TEST_F(UserDefaultsTest, NoRoomForATemporaryFileKeepsThePreviousFileAndSaysSo) {
    const std::string domain(243, 'd');
    const std::string previous =
        PropertyListSerialization::write(PropertyList::Dictionary{{"Idle Alpha", 0.25}});
    std::ofstream(folder() / (domain + ".plist")) << previous;
    UserDefaults defaults(folder(), domain);
    defaults.setDouble(0.5, "Idle Alpha");
    defaults.setDouble(0.75, "Idle Alpha");
    EXPECT_EQ(defaults.doubleForKey("Idle Alpha"), 0.75);
    EXPECT_EQ(TemporaryFolder::read(folder() / (domain + ".plist")), previous);
    expectOneLogLine("Cannot save the settings: cannot create a file beside");
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
                                                      PropertyListSerialization::largestFile)) {
                const auto contents = PropertyListSerialization::read(*bytes);
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
    EXPECT_EQ(UserDefaults(folder(), "com.example.Test").dictionaryRepresentation(),
              second.dictionaryRepresentation());
    EXPECT_EQ(entriesInFolder(), 1u) << "no temporary file is left behind";
}

TEST_F(UserDefaultsTest, ADamagedFileIsMovedAsideAndNeverOverwritten) {
    std::ofstream(file()) << "garbage";
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    expectOneLogLine("damaged-1");
    EXPECT_FALSE(std::filesystem::exists(file()));
    UserDefaults::standard().setBool(true, "Pills");
    restart();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("Pills"));

    const std::string notADictionary = "<plist version=\"1.0\"><array/></plist>";
    std::ofstream(file()) << notADictionary;
    restart();
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    EXPECT_EQ(TemporaryFolder::read(folder() / "com.larkspur.Awning.plist.damaged-1"), "garbage");
    EXPECT_EQ(TemporaryFolder::read(folder() / "com.larkspur.Awning.plist.damaged-2"), notADictionary);
}

// "<domain>.plist" fills a whole file name, so no ".damaged-<n>" name fits beside it.
TEST_F(UserDefaultsTest, ADamagedFileThatCannotBeMovedAsideIsNeverWritten) {
    const std::string domain(249, 'd');
    std::ofstream(folder() / (domain + ".plist")) << "garbage";
    UserDefaults defaults(folder(), domain);
    defaults.setBool(true, "Pills");
    EXPECT_TRUE(defaults.boolForKey("Pills")) << "changes stay in memory";
    EXPECT_EQ(TemporaryFolder::read(folder() / (domain + ".plist")), "garbage");
    expectOneLogLine("cannot be moved aside");
}

TEST_F(UserDefaultsTest, OtherDomainsAreOnlyReadAndOnlyFromTheSameFolder) {
    const PropertyList dock = PropertyList::Dictionary{{"persistent-apps", PropertyList::Array{1}}};
    ASSERT_TRUE(PropertyListSerialization::writeFile(dock, folder() / "com.apple.dock.plist"));
    std::ofstream(folder() / "com.example.Damaged.plist") << "garbage";
    ASSERT_EQ(mkfifo((folder() / "com.example.Pipe.plist").c_str(), 0600), 0);

    const UserDefaults& defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.persistentDomainForName("com.apple.dock"), *dock.dictionary());
    EXPECT_FALSE(defaults.persistentDomainForName("com.example.Missing"));
    EXPECT_FALSE(defaults.persistentDomainForName("com.example.Damaged"));
    EXPECT_FALSE(defaults.persistentDomainForName("com.example.Pipe"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "com.example.Damaged.plist")) << "never moved aside";
    EXPECT_FALSE(defaults.persistentDomainForName("../" + folder().filename().string() + "/com.apple.dock"))
        << "a domain names a file in the folder, never a path";

    UserDefaults(folder() / "made" / "later", "com.example.Test").setBool(true, "Pills");
    EXPECT_TRUE(std::filesystem::exists(folder() / "made" / "later" / "com.example.Test.plist"))
        << "a missing folder is made on the first change";
}

// Start-up never waits for a FIFO's writer: such a file, or one far larger than settings ever are, is set
// aside like a damaged one.
TEST_F(UserDefaultsTest, ASettingsFileThatIsNoRegularFileOrTooLargeIsSetAside) {
    const std::string largest = PropertyListSerialization::write(
        PropertyList::Dictionary{{"Big", std::string(PropertyListSerialization::largestFile - 300, 'x')}});
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* reason;
    } rows[] = {
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(file().c_str(), 0600), 0); }, "is not a regular file"},
        {"larger than the limit", [&] { std::ofstream(file()) << largest << std::string(300, ' '); },
         "is larger than 1 MiB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(folder());
        std::filesystem::create_directories(folder());
        restart();
        row.plant();
        EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
        expectOneLogLine(row.reason);
        EXPECT_NE(world().logMessages()[0].find("moved to"), std::string::npos);
        UserDefaults::standard().setBool(true, "Pills");
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file())))
            << "the next change writes a new file";
    }

    restart();
    std::ofstream(file()) << largest;
    EXPECT_TRUE(UserDefaults::standard().objectForKey("Big")) << "a file within the limit is read";
}

// A crash mid-write leaves the previous settings; the next start removes the half file of a writer that is
// gone, never a live one's.
TEST_F(UserDefaultsTest, AStartKeepsThePreviousSettingsAndRemovesTheTemporaryFilesOfKilledWriters) {
    UserDefaults::standard().setBool(true, "Pills");
    const auto stray = folder() / "com.larkspur.Awning.plist.tmp-2147483646-Ab12Cd";
    const auto live = folder() / ("com.larkspur.Awning.plist.tmp-" + std::to_string(getpid()) + "-Ab12Cd");
    std::ofstream(stray) << "<plist";
    std::ofstream(live) << "half";
    restart();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("Pills"));
    EXPECT_FALSE(std::filesystem::exists(stray));
    EXPECT_TRUE(std::filesystem::exists(live)) << "a live writer's file is left alone";
}
