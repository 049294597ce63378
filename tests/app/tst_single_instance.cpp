#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/InstanceServer.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Runs a blocking call off the GUI thread so the server side can answer.
template <typename F>
auto inBackground(F f)
{
    return std::async(std::launch::async, f);
}

template <typename T>
bool finish(std::future<T> &future)
{
    QElapsedTimer timer;
    timer.start();
    while (future.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        if (timer.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// In-process stand-in for the platform rendezvous.
class FakeRendezvous : public InstanceRendezvous
{
public:
    explicit FakeRendezvous(bool free) : m_free(free) {}
    bool claim() override { return m_free; }
    QByteArray deliver(const QByteArray &request, int) override
    {
        m_requests << request;
        return QByteArray();
    }
    qintptr takeListeningSocket() override { return -1; }

    bool m_free;
    QList<QByteArray> m_requests;
};

// A running copy: the claim, its server and its minimised main window.
struct RunningCopy {
    QTemporaryDir dir;
    LocalRendezvous rendezvous{QStringLiteral("korvelMavu"), dir.path()};
    InstanceServer server;
    QSignalSpy files{&server, &InstanceServer::filesRequested};
    QQuickWindow window;

    bool start()
    {
        if (!rendezvous.claim() || !server.listen(rendezvous.takeListeningSocket()))
            return false;
        window.setTitle(QStringLiteral("korvelMavuwidonw"));
        window.showMinimized();
        return bool(window.windowStates() & Qt::WindowMinimized);
    }
};

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software); }

    void requestsRoundTrip()
    {
        const QStringList files{QStringLiteral("/home/u/my set.stm"), QStringLiteral("/tmp/预设\nnew line.syx")};
        const QByteArray line = instancerequest::encode(files);
        QVERIFY(line.endsWith('\n'));
        QCOMPARE(line.count('\n'), 1); // one line, whatever the names hold
        QStringList back;
        QVERIFY(instancerequest::decode(line, &back));
        QCOMPARE(back, files);
        QVERIFY(instancerequest::decode(instancerequest::encode({}), &back));
        QVERIFY(back.isEmpty());
    }

    void malformedRequestsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("empty") << QByteArray("\n");
        QTest::newRow("not json") << QByteArray("raise please\n");
        QTest::newRow("array") << QByteArray("[\"a\"]\n");
        QTest::newRow("other request") << QByteArray("{\"request\":\"shutdown\",\"files\":[]}\n");
        QTest::newRow("no files") << QByteArray("{\"request\":\"korvelMavu.open\"}\n");
        QTest::newRow("file not text") << QByteArray("{\"request\":\"korvelMavu.open\",\"files\":[3]}\n");
        QTest::newRow("empty name") << QByteArray("{\"request\":\"korvelMavu.open\",\"files\":[\"\"]}\n");
        QTest::newRow("too long") << instancerequest::encode({QString(instancerequest::kMaxSize, QLatin1Char('a'))});
    }

    void malformedRequestsAreRefused()
    {
        QFETCH(QByteArray, line);
        QStringList files{QStringLiteral("untouched")};
        QString error;
        QVERIFY(!instancerequest::decode(line, &files, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(files, QStringList{QStringLiteral("untouched")});
    }

    void decisionHandsAbsoluteFilesToTheRunningCopy()
    {
        FakeRendezvous free(true);
        QVERIFY(!isAppRunning(free, {QStringLiteral("a.stm")}));
        QVERIFY(free.m_requests.isEmpty());

        FakeRendezvous taken(false);
        QVERIFY(isAppRunning(taken, {QStringLiteral("a.stm"), QStringLiteral("/abs/b.syx")}));
        QCOMPARE(taken.m_requests.size(), 1);
        QStringList files;
        QVERIFY(instancerequest::decode(taken.m_requests.first(), &files));
        QCOMPARE(files, QStringList({QDir::current().absoluteFilePath(QStringLiteral("a.stm")),
                                     QStringLiteral("/abs/b.syx")}));
    }

    void claimIsExclusiveAndEndsWithItsHolder()
    {
        QTemporaryDir dir;
        auto first = std::make_unique<LocalRendezvous>(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(first->claim());
        QVERIFY(QFileInfo(first->socketPath()).exists());
        LocalRendezvous second(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(!second.claim());
        LocalRendezvous otherKey(QStringLiteral("somethingElse"), dir.path());
        QVERIFY(otherKey.claim());

        first.reset();
        QVERIFY(!QFileInfo(dir.filePath(QStringLiteral("korvelMavu.socket"))).exists());
        LocalRendezvous third(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(third.claim());
    }

    // A copy that was killed leaves its lock file and socket behind; neither
    // may look like a running copy.
    void leftoversOfAKilledCopyDoNotBlock()
    {
        QTemporaryDir dir;
        const QString socketPath = dir.filePath(QStringLiteral("korvelMavu.socket"));
        QFile lock(dir.filePath(QStringLiteral("korvelMavu.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray native = QFile::encodeName(socketPath);
            std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
            QCOMPARE(::listen(fd, 1), 0);
            ::close(fd); // the file stays, nobody listens
        }
        QVERIFY(QFileInfo(socketPath).exists());

        LocalRendezvous next(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(next.claim());
        InstanceServer server;
        QVERIFY(server.listen(next.takeListeningSocket()));

        LocalRendezvous later(QStringLiteral("korvelMavu"), dir.path());
        auto answer = inBackground([&later] { return later.deliver(instancerequest::encode({}), 5000); });
        QVERIFY(finish(answer));
        QCOMPARE(answer.get(), instancerequest::acceptedReply());
    }

    void runningCopyComesToFrontAndTakesFiles()
    {
        RunningCopy running;
        QVERIFY(running.start());
        QQuickWindow &window = running.window;
        QSignalSpy &files = running.files;
        QQuickWindow other;
        other.setTitle(QStringLiteral("something else"));
        other.showMinimized();

        LocalRendezvous second(QStringLiteral("korvelMavu"), running.dir.path());
        auto result = inBackground([&second] { return isAppRunning(second, {QStringLiteral("preset one.stm")}); });
        QVERIFY(finish(result));
        QVERIFY(result.get());

        QTRY_COMPARE(files.count(), 1);
        QCOMPARE(files.first().first().toStringList(),
                 QStringList{QDir::current().absoluteFilePath(QStringLiteral("preset one.stm"))});
        QVERIFY(window.isVisible());
        QVERIFY(!(window.windowStates() & Qt::WindowMinimized));
        QVERIFY(other.windowStates() & Qt::WindowMinimized);

        // Without files the window still comes up, and nothing is offered.
        window.showMinimized();
        auto plain = inBackground([&second] { return second.deliver(instancerequest::encode({}), 5000); });
        QVERIFY(finish(plain));
        QCOMPARE(plain.get(), instancerequest::acceptedReply());
        QTRY_VERIFY(!(window.windowStates() & Qt::WindowMinimized));
        QCOMPARE(files.count(), 1);
    }

    void nonsenseOnTheSocketChangesNothing()
    {
        RunningCopy running;
        QVERIFY(running.start());

        LocalRendezvous stranger(QStringLiteral("korvelMavu"), running.dir.path());
        auto answer = inBackground([&stranger] { return stranger.deliver("{\"request\":\"shutdown\"}\n", 5000); });
        QVERIFY(finish(answer));
        QCOMPARE(answer.get(), instancerequest::rejectedReply());
        QVERIFY(running.window.windowStates() & Qt::WindowMinimized);
        QCOMPARE(running.files.count(), 0);
    }

    // A running copy that never answers (hung, or stopped) must not hold the
    // second one: it gives up and ends all the same.
    void silentRunningCopyDoesNotHoldUpTheSecond()
    {
        QTemporaryDir dir;
        LocalRendezvous running(QStringLiteral("korvelMavu"), dir.path());
        QVERIFY(running.claim()); // listening, but nobody serves the socket
        LocalRendezvous second(QStringLiteral("korvelMavu"), dir.path());
        auto result = inBackground([&second] { return isAppRunning(second, {}); });
        QVERIFY(finish(result));
        QVERIFY(result.get());
    }

    // Without a usable runtime folder no lock can be had: the editor starts
    // rather than never starting.
    void missingRuntimeFolderStillStarts()
    {
        QTemporaryDir dir;
        LocalRendezvous rendezvous(QStringLiteral("korvelMavu"), dir.filePath(QStringLiteral("gone")));
        QVERIFY(rendezvous.claim());
        QCOMPARE(rendezvous.takeListeningSocket(), qintptr(-1));
        QVERIFY(rendezvous.deliver(instancerequest::encode({}), 100).isEmpty());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
