// The session bus check against a bus daemon of the test's own, a registry of accessibility
// served from here, and listeners that take connections and never answer.

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

#include "platform/session_bus.h"
#include "tests/support/silent_listener.h"

namespace {

using tremira::platform::BusAddresses;
using tremira::platform::DisplayEndpoint;
using tremira::platform::FindSilentBuses;
using tremira::platform::SilentBuses;
using tremira::platform::testing::SilentListener;

constexpr std::chrono::milliseconds kLimit{500};

// Gives the address of the accessibility bus, as the desktop's registry does.
class Registry : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")
public:
    explicit Registry(QString address) : m_address(std::move(address)) {}

public slots:
    QString GetAddress() const { return m_address; }

private:
    QString m_address;
};

class SessionBus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--address=unix:path=") + m_folder.filePath(QStringLiteral("bus"))});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead()) GTEST_SKIP() << "dbus-daemon is not available";
        m_address = m_daemon.readLine().trimmed();
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("registry"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    void serveRegistry(Registry &registry) {
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(m_address), QStringLiteral("registry"));
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/a11y/bus"), &registry, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.a11y.Bus")));
    }

    // The registry is served from this thread's event loop while the check waits for it.
    static SilentBuses find(const BusAddresses &buses) {
        std::future<SilentBuses> found =
            std::async(std::launch::async, [buses] { return FindSilentBuses(buses, kLimit); });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return found.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20'000));
        return found.get();
    }

    QByteArray silentAddress() const { return "unix:path=" + QFile::encodeName(m_silentPath); }

    QTemporaryDir m_folder;
    QProcess m_daemon;
    QByteArray m_address;
    QString m_silentPath = m_folder.filePath(QStringLiteral("silent"));
};

TEST_F(SessionBus, OnlyABusThatTakesTheConnectionAndSaysNothingIsSilent) {
    const SilentListener silent({DisplayEndpoint::Kind::File, m_silentPath});
    ASSERT_TRUE(silent.listening());
    const QByteArray absent = "unix:path=" + QFile::encodeName(m_folder.filePath(QStringLiteral("none")));
    const struct {
        const char *name;
        BusAddresses buses;
        bool sessionSilent;
        bool accessibilitySilent;
    } cases[] = {
        {"no bus at all", {}, false, false},
        {"nothing listening", {absent, absent}, false, false},
        {"a bus that answers, no registry", {m_address, {}}, false, false},
        {"session bus silent", {silentAddress(), {}}, true, false},
        {"accessibility bus named and silent", {m_address, silentAddress()}, false, true},
        {"both silent", {silentAddress(), silentAddress()}, true, true},
        {"accessibility bus named and answering", {silentAddress(), m_address}, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const SilentBuses found = find(c.buses);
        EXPECT_EQ(found.session, c.sessionSilent);
        EXPECT_EQ(found.accessibility, c.accessibilitySilent);
    }
}

TEST_F(SessionBus, TheAccessibilityBusTheRegistryGivesIsTriedAsQtWouldTryIt) {
    const SilentListener silent({DisplayEndpoint::Kind::File, m_silentPath});
    ASSERT_TRUE(silent.listening());
    for (const QByteArray &address : {silentAddress(), m_address}) {
        SCOPED_TRACE(address.toStdString());
        Registry registry{QString::fromLatin1(address)};
        serveRegistry(registry);
        const SilentBuses found = find({m_address, {}});
        EXPECT_FALSE(found.session);
        EXPECT_EQ(found.accessibility, address == silentAddress());
        QDBusConnection::disconnectFromBus(QStringLiteral("registry"));
    }
}

}  // namespace

#include "session_bus_test.moc"
