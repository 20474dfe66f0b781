#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "hosts/qt/desktop/SingleInstance.h"
#include "support/TemporaryFolder.h"

using qthost::SingleInstance;
using Launch = SingleInstance::Launch;

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    // Lets the running instance read what was sent; bounded, in case nothing ever comes.
    static void deliverUntil(const std::function<bool()>& done) {
        for (int turn = 0; turn < 200 && !done(); ++turn) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
    }

    TemporaryFolder _folder;
    const std::filesystem::path _socket = _folder.path() / "awning.socket";
};

}  // namespace

// The first launch replaces a socket a crashed instance left; a relaunch replaces the instance quitting.
TEST_F(SingleInstanceTest, ALaterLaunchHandsAReopenToTheInstanceListening) {
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, _socket.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);

    int firstReopened = 0;
    SingleInstance first(_socket, [&] { ++firstReopened; });
    ASSERT_EQ(first.handOffToRunningInstance(), Launch::Running);
    EXPECT_TRUE(first.isListening());
    SingleInstance later(_socket, [] { FAIL() << "the later launch must not reopen"; });
    EXPECT_EQ(later.handOffToRunningInstance(), Launch::HandedOff);
    EXPECT_FALSE(later.isListening());
    deliverUntil([&] { return firstReopened == 1; });
    EXPECT_EQ(firstReopened, 1);

    int relaunchReopened = 0;
    SingleInstance relaunched(_socket, [&] { ++relaunchReopened; });
    ASSERT_EQ(relaunched.handOffToRunningInstance(true), Launch::Running);
    EXPECT_TRUE(relaunched.isListening());
    EXPECT_EQ(SingleInstance(_socket, [] {}).handOffToRunningInstance(), Launch::HandedOff);
    deliverUntil([&] { return relaunchReopened == 1; });
    EXPECT_EQ(relaunchReopened, 1);
    EXPECT_EQ(firstReopened, 1);
}

TEST_F(SingleInstanceTest, ASocketOfAnotherAccountIsNeverTalkedTo) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "planting a socket of another owner needs the superuser";
    }
    int reopened = 0;
    SingleInstance stranger(_socket, [&] { ++reopened; });
    ASSERT_EQ(stranger.handOffToRunningInstance(), Launch::Running);
    ASSERT_EQ(chown(_socket.c_str(), 4242, 4242), 0);

    SingleInstance later(_socket, [] {});
    EXPECT_EQ(later.handOffToRunningInstance(), Launch::Unchecked)
        << "the launch is not handed to a stranger";
    EXPECT_EQ(later.problem(), _socket.string() + " belongs to another account");
    EXPECT_FALSE(later.isListening()) << "nor is the stranger's socket removed";
    EXPECT_FALSE(later.askStatus().running);
    deliverUntil([&] { return reopened > 0; });
    EXPECT_EQ(reopened, 0);
    EXPECT_TRUE(std::filesystem::exists(_socket));
}

// Another instance may then run unseen: the launch must not become a second one.
TEST_F(SingleInstanceTest, ALaunchThatCannotListenIsUnchecked) {
    SingleInstance alone({}, [] {});
    EXPECT_EQ(alone.handOffToRunningInstance(), Launch::Unchecked);
    EXPECT_EQ(alone.problem(), "no folder of the user's own can hold its socket");
    EXPECT_FALSE(alone.send("reopen\n"));

    const auto nowhere = _folder.path() / "missing" / "awning.socket";
    SingleInstance homeless(nowhere, [] {});
    EXPECT_EQ(homeless.handOffRequestToRunningInstance("about\n"), Launch::Unchecked);
    EXPECT_TRUE(homeless.problem().starts_with("cannot listen on " + nowhere.string() + ": "))
        << homeless.problem();
}

TEST_F(SingleInstanceTest, StatusIsTheWholeReportOrNoneWhenTheInstanceDoesNotAnswerInTime) {
    EXPECT_FALSE(SingleInstance(_socket, [] {}).askStatus().running) << "none runs";
    {
        SingleInstance running(_socket, [] {});
        running.setStatusReporter([] { return std::string("Panel: none\nTint: not shown\n"); });
        ASSERT_EQ(running.handOffToRunningInstance(), Launch::Running);
        // The asking side blocks, as `awning --status` does; the instance answers from this thread's events.
        SingleInstance::StatusAnswer answer;
        std::atomic<bool> asked = false;
        std::thread asking([&] {
            answer = SingleInstance(_socket, [] {}).askStatus();
            asked = true;
        });
        // Bounded only so that a broken build cannot hang here; the asking side gives up after 3 s by itself.
        for (const QDeadlineTimer bound(30000); !asked && !bound.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        asking.join();
        EXPECT_TRUE(answer.running);
        EXPECT_EQ(answer.report, "Panel: none\nTint: not shown\n");
    }
    // Listening, but never served: the system accepts the connection as it does for a stopped process.
    QLocalServer stopped;
    ASSERT_TRUE(stopped.listen(QString::fromStdString(_socket.string())));
    const SingleInstance::StatusAnswer answer = SingleInstance(_socket, [] {}).askStatus(200);
    EXPECT_TRUE(answer.running) << "a stopped instance";
    EXPECT_FALSE(answer.report);
}

// A later launch hands its launcher's activation token over before its reopen, so that the window the reopen
// shows may come forward; what is no token is not handed over.
TEST_F(SingleInstanceTest, ALaterLaunchHandsItsActivationTokenOverBeforeItsReopen) {
    std::vector<std::string> events;
    SingleInstance running(_socket, [&] { events.push_back("reopen"); });
    running.onActivationToken([&](const std::string& token) { events.push_back("token " + token); });
    ASSERT_EQ(running.handOffToRunningInstance(), Launch::Running);

    const struct {
        const char* what;  // and the fault it catches
        QByteArray token;
        std::vector<std::string> received;
    } cases[] = {
        {"a token, before the reopen", "6899897964a0305", {"token 6899897964a0305", "reopen"}},
        {"no token", "", {"reopen"}},
        {"a token with a space (a second request smuggled in)", "abc reopen", {"reopen"}},
        {"a token with a line break", "abc\nrelaunch", {"reopen"}},
        {"a token of 512 characters (< for <=)",
         QByteArray(512, 'a'),
         {"token " + std::string(512, 'a'), "reopen"}},
        {"a token too long to be one", QByteArray(513, 'a'), {"reopen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        events.clear();
        SingleInstance later(_socket, [] {});
        later.handOverActivationToken(c.token);
        EXPECT_EQ(later.handOffToRunningInstance(), Launch::HandedOff);
        deliverUntil([&] { return events.size() >= c.received.size(); });
        EXPECT_EQ(events, c.received);
    }
}
