#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <functional>
#include <memory>

#include "hosts/qt/gnome/GnomeOverlaySurface.h"
#include "hosts/qt/gnome/GnomeShellPeer.h"

using namespace qthost;

namespace {

const QString service = QStringLiteral("com.larkspur.Awning.Shell");
const QString path = QStringLiteral("/com/larkspur/Awning/Shell");
const QString interface = QStringLiteral("com.larkspur.Awning.Shell");

QVariant encode(const GnomeShellState& state) {
    QDBusArgument argument;
    argument.beginStructure();
    argument << state.panel.x << state.panel.y << state.panel.width << state.panel.height << state.panelShows
             << state.pointerOnPanel << state.primaryMonitor.x << state.primaryMonitor.y
             << state.primaryMonitor.width << state.primaryMonitor.height;
    argument.endStructure();
    return QVariant::fromValue(argument);
}

// The extension as Awning meets it on the bus: it records what it is asked and answers with its state.
class StandInExtension final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.larkspur.Awning.Shell")

public:
    unsigned version = 1;
    GnomeShellState state{{3, 7, 1280, 32}, true, false, {0, 0, 1280, 800}};  // no field equals another
    QStringList calls;
    QByteArray pixels;
    QList<unsigned> size;  // width, height, stride
    double opacity = -1;
    unsigned duration = 0;

    void announce(QDBusConnection& bus) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, QStringLiteral("StateChanged"));
        signal << encode(state);
        bus.send(signal);
    }

public slots:
    unsigned Connect(unsigned theirs) {
        calls << QStringLiteral("Connect");
        if (theirs != version) {
            sendErrorReply(QStringLiteral("com.larkspur.Awning.Shell.Error.VersionMismatch"),
                           QStringLiteral("Awning speaks version %1 and this extension version %2.")
                               .arg(theirs)
                               .arg(version));
        }
        return version;
    }
    void GetState() {
        calls << QStringLiteral("GetState");
        setDelayedReply(true);
        connection().send(message().createReply(QVariantList{encode(state)}));
    }
    void SetTint(const QByteArray& picture, unsigned width, unsigned height, unsigned stride) {
        calls << QStringLiteral("SetTint");
        pixels = picture;
        size = {width, height, stride};
    }
    void SetOpacity(double value, unsigned milliseconds) {
        calls << QStringLiteral("SetOpacity");
        opacity = value;
        duration = milliseconds;
    }
    void HideTint() { calls << QStringLiteral("HideTint"); }
};

// A bus of the test's own, so no desktop's session bus is touched; the extension's side has a connection of
// its own on it, as it would in the shell.
class GnomeShellPeerTest : public testing::Test {
protected:
    void SetUp() override {
        _daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (!_daemon.waitForStarted() || !_daemon.waitForReadyRead(10000)) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        const QString address = QString::fromUtf8(_daemon.readLine()).trimmed();
        _shellBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, "shell"));
        _awningBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, "awning"));
        ASSERT_TRUE(_shellBus->isConnected() && _awningBus->isConnected());
    }

    void TearDown() override {
        _peer.reset();
        QDBusConnection::disconnectFromBus("shell");
        QDBusConnection::disconnectFromBus("awning");
        _daemon.kill();
        _daemon.waitForFinished();
    }

    void enableExtension() {
        ASSERT_TRUE(_shellBus->registerObject(path, &extension, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(_shellBus->registerService(service));
    }

    void disableExtension() {
        _shellBus->unregisterService(service);
        _shellBus->unregisterObject(path);
    }

    void startPeer() {
        _peer = std::make_unique<GnomeShellPeer>(*_awningBus, [this] { ++changes; });
    }

    void connectPeer() {
        enableExtension();
        startPeer();
        ASSERT_TRUE(waitFor([&] { return peer().isConnected(); }));
    }

    // Bounded, so that a fault fails the test rather than hanging it.
    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
    bool called(const char* name) {
        return waitFor([&] { return extension.calls.contains(name); });
    }

    GnomeShellPeer& peer() { return *_peer; }
    void announce() { extension.announce(*_shellBus); }

    StandInExtension extension;
    int changes = 0;

private:
    QProcess _daemon;
    std::unique_ptr<QDBusConnection> _shellBus;
    std::unique_ptr<QDBusConnection> _awningBus;
    std::unique_ptr<GnomeShellPeer> _peer;
};

// The extension eases what it is given: an opacity only once there is a tint to show, then each change
// over the fade's duration.
TEST_F(GnomeShellPeerTest, ConnectsWithItsVersionFollowsTheBarAndFadesTheTintOverTheDurationAsked) {
    connectPeer();
    EXPECT_EQ(extension.calls, QStringList({"Connect", "GetState"}));
    EXPECT_EQ(peer().state(), extension.state);
    EXPECT_TRUE(peer().problem().empty());

    extension.state.panelShows = false;
    extension.state.pointerOnPanel = true;
    const int before = changes;
    announce();
    ASSERT_TRUE(waitFor([&] { return peer().state() == extension.state; }));
    EXPECT_GT(changes, before) << "a new state must run a check";

    peer().setOpacity(0.5, 0.15);
    peer().setTint(QByteArray(16, '\1'), 2, 2);
    ASSERT_TRUE(called("SetOpacity"));
    EXPECT_EQ(extension.calls, QStringList({"Connect", "GetState", "SetTint", "SetOpacity"}))
        << "no opacity is sent before there is a tint";
    EXPECT_DOUBLE_EQ(extension.opacity, 0.5);
    EXPECT_EQ(extension.duration, 0u) << "a new tint shows at once";
    peer().setOpacity(0.6, 0.15);
    ASSERT_TRUE(waitFor([&] { return extension.opacity == 0.6; }));
    EXPECT_EQ(extension.duration, 150u);
}

TEST_F(GnomeShellPeerTest, AVersionMismatchIsOneLineAndNeverHalfWorks) {
    extension.version = 2;
    enableExtension();
    startPeer();
    ASSERT_TRUE(waitFor([&] { return !peer().problem().empty(); }));
    EXPECT_FALSE(peer().isConnected());
    EXPECT_EQ(peer().problem(),
              "Awning cannot use its GNOME Shell extension: Awning speaks version 1 and this "
              "extension version 2.");
    EXPECT_EQ(peer().problem().find('\n'), std::string::npos);

    peer().setTint(QByteArray(16, '\1'), 2, 2);
    announce();
    QTest::qWait(200);
    EXPECT_EQ(extension.calls, QStringList({"Connect"}))
        << "nothing is sent to an extension of another version";
    EXPECT_FALSE(peer().state().panelShows);
}

TEST_F(GnomeShellPeerTest, TheTintIsSentOnceConnectedAndAgainWhenTheExtensionComesBack) {
    startPeer();
    ASSERT_TRUE(waitFor([&] { return !peer().problem().empty(); }))
        << "a missing extension must be explained";
    peer().setOpacity(0.2, 0);
    peer().setTint(QByteArray(3 * 2 * 4, '\7'), 3, 2);

    enableExtension();
    ASSERT_TRUE(called("SetOpacity"));
    EXPECT_EQ(extension.pixels, QByteArray(24, '\7'));
    EXPECT_EQ(extension.size, QList<unsigned>({3, 2, 12}));
    EXPECT_DOUBLE_EQ(extension.opacity, 0.2);

    disableExtension();
    ASSERT_TRUE(waitFor([&] { return !peer().isConnected(); }));
    EXPECT_FALSE(peer().state().panelShows) << "a bar whose extension went away must not be tinted";

    extension.calls.clear();
    extension.pixels.clear();
    enableExtension();
    ASSERT_TRUE(called("SetOpacity"));
    EXPECT_EQ(extension.pixels, QByteArray(24, '\7'));

    peer().hideTint();
    ASSERT_TRUE(called("HideTint"));
}

// The overlay the host lays out: its picture goes to the extension when shown and whenever its size changes,
// and the tint goes when the overlay does.
TEST_F(GnomeShellPeerTest, TheOverlaySendsItsPictureWhenShownOrResizedAndTakesTheTintAlongWhenItGoes) {
    connectPeer();
    PixelRect geometry{0, 0, 4, 2};
    auto overlay = std::make_unique<GnomeOverlaySurface>(peer(), [] { return 1.0; });
    overlay->setPainter([&](double) { return kit::Bitmap(geometry.width, geometry.height); });
    overlay->setGeometry(geometry);
    QTest::qWait(100);
    EXPECT_FALSE(extension.calls.contains("SetTint")) << "nothing is drawn before the overlay shows";

    overlay->show();
    ASSERT_TRUE(called("SetTint"));
    EXPECT_EQ(extension.size, QList<unsigned>({4, 2, 16}));

    geometry.height = 3;
    overlay->setGeometry(geometry);
    ASSERT_TRUE(waitFor([&] { return extension.size.value(1) == 3; }))
        << "a taller bar needs a taller picture";

    overlay.reset();
    ASSERT_TRUE(called("HideTint"));
}

}  // namespace

#include "GnomeShellPeerTests.moc"
