#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "hosts/qt/desktop/PrivateFolder.h"
#include "support/TemporaryFolder.h"

using qthost::makePrivateFolder;
using qthost::untrustedSocketReason;

namespace {

class PrivateFolderTest : public testing::Test {
protected:
    static unsigned mode(const std::filesystem::path& path) {
        struct stat status {};
        lstat(path.c_str(), &status);
        return status.st_mode & 0777;
    }
    void makeSocket(const std::filesystem::path& path) const {
        const int descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(descriptor);
    }

    TemporaryFolder _folder;
    const std::filesystem::path _scratch = _folder.path();
    const unsigned _me = getuid();
    const unsigned _stranger = getuid() + 4242;
};

}  // namespace

TEST_F(PrivateFolderTest, TheFolderIsMadeOrNarrowedOnlyWhenItIsTheUsersOwn) {
    const auto fresh = _scratch / "fresh";
    EXPECT_EQ(makePrivateFolder(fresh, _me), "");
    EXPECT_EQ(mode(fresh), 0700u);

    const auto open = _scratch / "open";
    std::filesystem::create_directory(open);
    chmod(open.c_str(), 0777);
    EXPECT_EQ(makePrivateFolder(open, _me), "");
    EXPECT_EQ(mode(open), 0700u) << "a folder of the user's own that others could enter is narrowed";

    const auto theirs = _scratch / "theirs";
    std::filesystem::create_directory(theirs);
    chmod(theirs.c_str(), 0777);
    EXPECT_EQ(makePrivateFolder(theirs, _stranger), theirs.string() + " belongs to another account");
    EXPECT_EQ(mode(theirs), 0777u) << "another account's folder is left alone";

    std::ofstream(_scratch / "file") << "x";
    EXPECT_EQ(makePrivateFolder(_scratch / "file", _me), (_scratch / "file").string() + " is not a folder");
    std::filesystem::create_directory_symlink(fresh, _scratch / "link");
    EXPECT_EQ(makePrivateFolder(_scratch / "link", _me), (_scratch / "link").string() + " is not a folder")
        << "a link planted in the shared folder is not followed";
}

TEST_F(PrivateFolderTest, OnlyTheUsersOwnSocketIsTrusted) {
    const auto path = _scratch / "awning.socket";
    EXPECT_EQ(untrustedSocketReason(path, _me), "") << "nothing there yet";
    makeSocket(path);
    EXPECT_EQ(untrustedSocketReason(path, _me), "");
    EXPECT_EQ(untrustedSocketReason(path, _stranger), path.string() + " belongs to another account");
    std::ofstream(_scratch / "plain") << "x";
    EXPECT_EQ(untrustedSocketReason(_scratch / "plain", _me),
              (_scratch / "plain").string() + " is not a socket");
}
