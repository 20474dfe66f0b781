#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "kit/foundation/FileContents.h"
#include "support/TemporaryFolder.h"

namespace {

using Steps = std::vector<std::string>;

// The real calls, each noted as it is made; the step named `failing` fails with an I/O error instead.
class WatchedCalls : public kit::FileSystemCalls {
public:
    explicit WatchedCalls(std::string failing = "") : _failing(std::move(failing)) {}

    bool writeAll(int descriptor, const std::string& bytes) override {
        return allow("write") && FileSystemCalls::writeAll(descriptor, bytes);
    }
    bool sync(int descriptor) override { return allow("sync") && FileSystemCalls::sync(descriptor); }
    bool close(int descriptor) override {
        const bool closed = FileSystemCalls::close(descriptor);
        return allow("close") && closed;
    }
    bool rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        renamedFrom = from;
        return allow("rename") && FileSystemCalls::rename(from, to);
    }
    void syncFolder(const std::filesystem::path& folder) override {
        syncedFolder = folder;
        allow("sync folder");
        FileSystemCalls::syncFolder(folder);
    }

    Steps steps;
    std::filesystem::path renamedFrom;
    std::filesystem::path syncedFolder;

private:
    bool allow(const std::string& step) {
        steps.push_back(step);
        if (step == _failing) {
            errno = EIO;
            return false;
        }
        return true;
    }

    std::string _failing;
};

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(FileContentsTest, TheDataReachesTheDiskBeforeTheRenameAndTheRenameBeforeItReturns) {
    TemporaryFolder folder;
    const auto file = folder.write("settings.plist", "old");
    WatchedCalls calls;
    ASSERT_TRUE(kit::writeWholeFileAtomically(file, "new", nullptr, calls));
    EXPECT_EQ(calls.steps, (Steps{"write", "sync", "close", "rename", "sync folder"}));
    EXPECT_EQ(calls.renamedFrom.parent_path(), folder.path()) << "a rename within one folder is atomic";
    EXPECT_EQ(calls.syncedFolder, folder.path());
    EXPECT_EQ(TemporaryFolder::read(file), "new");
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    // The temporary file names its writer, so a later start can tell a killed writer's from a live one's.
    const std::string name = calls.renamedFrom.filename().string();
    const std::string prefix = "settings.plist.tmp-" + std::to_string(getpid()) + "-";
    EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
    EXPECT_EQ(name.size(), prefix.size() + 6) << name;
}

TEST(FileContentsTest, AFailingStepLeavesThePreviousFileAndNoTemporaryFile) {
    for (const std::string failing : {"write", "sync", "close", "rename"}) {
        TemporaryFolder folder;
        const auto file = folder.write("settings.plist", "old");
        WatchedCalls calls(failing);
        std::string error;
        EXPECT_FALSE(kit::writeWholeFileAtomically(file, "new", &error, calls)) << failing;
        EXPECT_EQ(calls.steps.back(), failing) << "nothing after a failed step";
        EXPECT_NE(error.find("Input/output error"), std::string::npos) << error;
        EXPECT_EQ(TemporaryFolder::read(file), "old") << failing;
        EXPECT_EQ(entriesIn(folder.path()), 1u) << failing;
    }
}

// Files the user controls are read only when they are regular files within the reader's limit; anything else
// is refused at once, without waiting for a FIFO's writer or reading an endless device.
TEST(FileContentsTest, OnlyARegularFileWithinTheLimitIsRead) {
    TemporaryFolder folder;
    const auto atLimit = folder.write("at-limit", std::string(64, 'a'));
    const auto overLimit = folder.write("over-limit", std::string(65, 'a'));
    const auto fifo = folder.path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero");
    std::filesystem::create_symlink(atLimit, folder.path() / "link");
    const struct {
        std::filesystem::path path;
        std::optional<std::string> contents;
        std::string error;
    } rows[] = {
        {atLimit, std::string(64, 'a'), ""},
        {folder.path() / "link", std::string(64, 'a'), ""},
        {folder.write("empty", ""), "", ""},
        {overLimit, std::nullopt, overLimit.string() + " is larger than 64 bytes"},
        {fifo, std::nullopt, fifo.string() + " is not a regular file"},
        {folder.path() / "zero", std::nullopt, (folder.path() / "zero").string() + " is not a regular file"},
        {folder.path(), std::nullopt, folder.path().string() + " is not a regular file"},
        {folder.path() / "missing", std::nullopt,
         "cannot read " + (folder.path() / "missing").string() + ": No such file or directory"},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_EQ(kit::readWholeFile(row.path, 64, &error), row.contents) << row.path;
        EXPECT_EQ(error, row.error) << row.path;
    }
    std::string error;
    EXPECT_FALSE(kit::readWholeFile(folder.write("big", std::string(3u << 20, 'b')), 1u << 20, &error));
    EXPECT_NE(error.find(" is larger than 1 MiB"), std::string::npos) << error;
    EXPECT_FALSE(kit::readUTF8File(folder.write("latin1", "caf\xE9"), 64, &error));
    EXPECT_NE(error.find(" is not UTF-8 text"), std::string::npos) << error;
    EXPECT_EQ(kit::readUTF8File(folder.write("utf8", "caf\xC3\xA9"), 64), "caf\xC3\xA9");
}

// A write killed between making its temporary file and renaming it leaves the file behind; the next start
// removes those whose writer is gone, and never a live writer's.
TEST(FileContentsTest, StrayTemporaryFilesOfGoneWritersAreRemoved) {
    TemporaryFolder folder;
    const auto settings = folder.write("a.plist", "settings");
    const std::string me = std::to_string(getpid());
    const std::string gone = "2147483646";  // above any process identifier the system hands out
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(2);
    const struct {
        std::string name;
        bool removed;
        bool old = false;
    } rows[] = {
        {"a.plist.tmp-" + gone + "-Ab12Cd", true},
        {"a.plist.tmp-" + me + "-Ab12Cd", false},
        {"a.plist.tmp-1-Ab12Cd", false},  // alive (init), though not ours: left alone
        {"a.plist.tmp-Xy12Ab", true, true},
        {"a.plist.tmp-Xy12Ac", false},  // an older writer's, from the last hour
        {"a.plist.tmp-" + gone + "-Ab12C", false},
        {"a.plist.tmp-" + gone + "-Ab12C!", false},
        {"a.plist.tmp-" + gone + "x-Ab12Cd", false},
        {"a.plist.tmp--5-Ab12Cd", false, true},  // names no process: never ours, however old
        {"a.plist.tmp-0-Ab12Cd", false, true},
        {"b.plist.tmp-" + gone + "-Ab12Cd", false},  // another file's
        {"a.plist.damaged-1", false, true},
    };
    for (const auto& row : rows) {
        const auto file = folder.write(row.name, "half");
        if (row.old) {
            std::filesystem::last_write_time(file, old);
        }
    }
    std::filesystem::create_directory(folder.path() / ("a.plist.tmp-" + gone + "-Ef34Gh"));
    EXPECT_EQ(kit::removeStrayTemporaryFiles(settings), 2u);
    for (const auto& row : rows) {
        EXPECT_EQ(std::filesystem::exists(folder.path() / row.name), !row.removed) << row.name;
    }
    EXPECT_EQ(TemporaryFolder::read(settings), "settings");
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / ("a.plist.tmp-" + gone + "-Ef34Gh")))
        << "only files are ours";
}
