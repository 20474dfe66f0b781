#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <filesystem>
#include <optional>
#include <vector>

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

    const auto file = _folder.write("file", "x");
    EXPECT_EQ(makePrivateFolder(file, _me), file.string() + " is not a folder");
    std::filesystem::create_directory_symlink(fresh, _scratch / "link");
    EXPECT_EQ(makePrivateFolder(_scratch / "link", _me), (_scratch / "link").string() + " is not a folder")
        << "a link planted in the shared folder is not followed";
}

TEST_F(PrivateFolderTest, OnlyTheUsersOwnSocketIsTrusted) {
    const auto path = _scratch / "awning.socket";
    EXPECT_EQ(untrustedSocketReason(path, _me), "") << "nothing there yet";
    QLocalServer socket;
    ASSERT_TRUE(socket.listen(QString::fromStdString(path.string())));
    EXPECT_EQ(untrustedSocketReason(path, _me), "");
    EXPECT_EQ(untrustedSocketReason(path, _stranger), path.string() + " belongs to another account");
    const auto plain = _folder.write("plain", "x");
    EXPECT_EQ(untrustedSocketReason(plain, _me), plain.string() + " is not a socket");
}

TEST_F(PrivateFolderTest, TheDesktopsRuntimeFolderIsTakenOnlyAsTheUsersPrivateFolder) {
    const auto runtime = _scratch / "runtime";
    std::filesystem::create_directory(runtime);
    chmod(runtime.c_str(), 0700);
    EXPECT_EQ(qthost::privateFolderProblem(runtime, _me), "");
    EXPECT_EQ(qthost::privateFolderProblem(runtime, _stranger),
              runtime.string() + " belongs to another account");
    chmod(runtime.c_str(), 0750);
    EXPECT_EQ(qthost::privateFolderProblem(runtime, _me), runtime.string() + " is open to other accounts");
    EXPECT_EQ(mode(runtime), 0750u) << "the desktop's folder is never narrowed";
    EXPECT_EQ(qthost::privateFolderProblem(_scratch / "missing", _me),
              "cannot use " + (_scratch / "missing").string() + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(_scratch / "missing")) << "nor made";
    const auto file = _folder.write("file", "x");
    EXPECT_EQ(qthost::privateFolderProblem(file, _me), file.string() + " is not a folder");
}

// Each row: the folders offered, best first, and where the socket goes; a launch that finds none must
// not run a second tint.
TEST_F(PrivateFolderTest, TheSocketGoesIntoTheFirstFolderThatIsTheUsersAlone) {
    using qthost::SocketFolder;
    const auto runtime = _scratch / "runtime";
    std::filesystem::create_directory(runtime);
    chmod(runtime.c_str(), 0700);
    const auto shared = _scratch / "tmp" / "awning-1";
    std::filesystem::create_directories(shared);  // taken first by another account (in the rows that say so)
    const auto cache = _scratch / "home" / ".cache" / "awning";  // no .cache yet: a fresh account
    const auto gone = _scratch / "gone";
    const auto tooLong = _scratch / std::string(120, 'x');
    const struct {
        const char* what;
        std::vector<SocketFolder> folders;
        unsigned owner;  // of `shared`
        std::optional<std::filesystem::path> socket;
        std::string problems;
    } rows[] = {
        {"the runtime folder", {{runtime, false}, {shared, true}}, _me, runtime / "s", ""},
        {"a missing runtime folder", {{gone, false}, {shared, true}}, _me, shared / "s", ""},
        {"another's folder in the shared one: the cache",
         {{shared, true}, {cache, true}},
         _stranger,
         cache / "s",
         ""},
        {"a path too long for a socket", {{tooLong, true}, {shared, true}}, _me, shared / "s", ""},
        {"nothing fits",
         {{gone, false}, {tooLong, true}},
         _me,
         std::nullopt,
         "cannot use " + gone.string() + ": No such file or directory; " + (tooLong / "s").string() +
             " is too long for a socket"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.owner != _me && geteuid() != 0) {
            continue;  // planting another account's folder needs the superuser
        }
        ASSERT_EQ(chown(shared.c_str(), row.owner, static_cast<gid_t>(-1)), 0);
        std::string problems;
        EXPECT_EQ(qthost::instanceSocketPath(row.folders, "s", _me, problems), row.socket);
        if (!row.socket) {
            EXPECT_EQ(problems, row.problems);
        }
    }
    if (std::filesystem::exists(cache)) {
        EXPECT_EQ(mode(cache), 0700u);
    }
}
