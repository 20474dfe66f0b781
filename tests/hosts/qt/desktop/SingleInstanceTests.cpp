#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "hosts/qt/desktop/SingleInstance.h"

using qthost::SingleInstance;

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    SingleInstanceTest() {
        std::string pattern = testing::TempDir() + "awning-instance-XXXXXX";
        _folder = mkdtemp(pattern.data());
        _socket = _folder / "awning.socket";
    }
    ~SingleInstanceTest() override { std::filesystem::remove_all(_folder); }

    // Lets the running instance read what was sent; bounded, in case nothing ever comes.
    static void deliverUntil(const int& count, int expected) {
        for (int turn = 0; turn < 200 && count < expected; ++turn) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
    }

    // A socket file whose listener died without removing it.
    void leaveStaleSocket() const {
        const int descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, _socket.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(descriptor);
        ASSERT_TRUE(std::filesystem::exists(_socket));
    }

    std::filesystem::path _folder;
    std::filesystem::path _socket;
};

}  // namespace

TEST_F(SingleInstanceTest, ALaterLaunchHandsAReopenToTheRunningInstance) {
    int reopened = 0;
    SingleInstance running(_socket, [&] { ++reopened; });
    ASSERT_FALSE(running.handOffToRunningInstance());
    EXPECT_TRUE(running.isListening());

    SingleInstance later(_socket, [] { FAIL() << "the later launch must not reopen"; });
    EXPECT_TRUE(later.handOffToRunningInstance());
    EXPECT_FALSE(later.isListening());
    deliverUntil(reopened, 1);
    EXPECT_EQ(reopened, 1);
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashedInstanceIsReplaced) {
    leaveStaleSocket();
    int reopened = 0;
    SingleInstance running(_socket, [&] { ++reopened; });
    ASSERT_FALSE(running.handOffToRunningInstance());
    EXPECT_TRUE(running.isListening());

    SingleInstance later(_socket, [] {});
    EXPECT_TRUE(later.handOffToRunningInstance());
    deliverUntil(reopened, 1);
    EXPECT_EQ(reopened, 1);
}

TEST_F(SingleInstanceTest, ARelaunchedInstanceReplacesTheOneQuitting) {
    int oldReopened = 0;
    int newReopened = 0;
    SingleInstance quitting(_socket, [&] { ++oldReopened; });
    ASSERT_FALSE(quitting.handOffToRunningInstance());
    SingleInstance relaunched(_socket, [&] { ++newReopened; });
    ASSERT_FALSE(relaunched.handOffToRunningInstance(true));
    EXPECT_TRUE(relaunched.isListening());

    SingleInstance later(_socket, [] {});
    EXPECT_TRUE(later.handOffToRunningInstance());
    deliverUntil(newReopened, 1);
    EXPECT_EQ(newReopened, 1);
    EXPECT_EQ(oldReopened, 0);
}

TEST_F(SingleInstanceTest, ASocketOfAnotherAccountIsNeverTalkedTo) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "planting a socket of another owner needs the superuser";
    }
    int reopened = 0;
    SingleInstance stranger(_socket, [&] { ++reopened; });
    ASSERT_FALSE(stranger.handOffToRunningInstance());
    ASSERT_EQ(chown(_socket.c_str(), 4242, 4242), 0);

    SingleInstance later(_socket, [] {});
    EXPECT_FALSE(later.handOffToRunningInstance()) << "the launch is not handed to a stranger";
    EXPECT_FALSE(later.isListening()) << "nor is the stranger's socket removed";
    EXPECT_FALSE(later.askStatus());
    deliverUntil(reopened, 1);
    EXPECT_EQ(reopened, 0);
    EXPECT_TRUE(std::filesystem::exists(_socket));
}

TEST_F(SingleInstanceTest, WithoutASocketPathALaunchRunsAlone) {
    SingleInstance alone({}, [] {});
    EXPECT_FALSE(alone.handOffToRunningInstance());
    EXPECT_FALSE(alone.isListening());
    EXPECT_FALSE(alone.send("reopen\n"));
}

// A later launch hands its launcher's activation token over before its reopen, so that the window the reopen
// shows may come forward; what is no token is not handed over.
TEST_F(SingleInstanceTest, ALaterLaunchHandsItsActivationTokenOverBeforeItsReopen) {
    std::vector<std::string> events;
    SingleInstance running(_socket, [&] { events.push_back("reopen"); });
    running.onActivationToken([&](const std::string& token) { events.push_back("token " + token); });
    ASSERT_FALSE(running.handOffToRunningInstance());

    const struct {
        const char* what;  // and the fault it catches
        QByteArray token;
        std::vector<std::string> received;
    } cases[] = {
        {"a token, before the reopen", "6899897964a0305", {"token 6899897964a0305", "reopen"}},
        {"no token", "", {"reopen"}},
        {"a token with a space (a second request smuggled in)", "abc reopen", {"reopen"}},
        {"a token with a line break", "abc\nrelaunch", {"reopen"}},
        {"a token of 512 characters (< for <=)", QByteArray(512, 'a'), {"token " + std::string(512, 'a'), "reopen"}},
        {"a token too long to be one", QByteArray(513, 'a'), {"reopen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        events.clear();
        SingleInstance later(_socket, [] {});
        later.handOverActivationToken(c.token);
        EXPECT_TRUE(later.handOffToRunningInstance());
        const int expected = static_cast<int>(c.received.size());
        int count = 0;
        for (int turn = 0; turn < 200 && count < expected; ++turn) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            count = static_cast<int>(events.size());
        }
        EXPECT_EQ(events, c.received);
    }
}
