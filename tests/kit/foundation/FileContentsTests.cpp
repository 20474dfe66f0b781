#include <gtest/gtest.h>

#include <cerrno>
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
